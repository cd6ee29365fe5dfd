#include "email/EmailGate.h"

#include "email/CDOSYS.h"
#include "email/QuenbyGlobalObjs.h"
#include "email/ReadEmailCommand.h"
#include "email/SMAPI.h"
#include "platform/TickGuard.h"
#include "platform/Timer.h"
#include "platform/VbError.h"

#include <QFileInfo>

namespace quenby {

namespace {

const QString kNoService = QStringLiteral("No supported email service");

QString AccountKey(const ServerInfo& server)
{
    return (server.LogonName + QLatin1Char('@') + server.ServerAddress + QLatin1Char(':')
            + QString::number(server.ServerPort))
        .toCaseFolded();
}

}  // namespace

EmailGate::EmailGate()
{
    SetServiceType(DetectServiceType());
    MinuteCounter() = 0;
    mtmrTimer_ = std::make_unique<platform::Timer>([this] { CommandTick(); }, kCommandIntervalMs);
    mtmrTimer2_ = std::make_unique<platform::Timer>([this] { MinuteTick(); }, kMinuteIntervalMs);
    mtmrTimer_->setEnabled(true);
    mtmrTimer2_->setEnabled(true);
}

EmailGate::~EmailGate()
{
    mtmrTimer_.reset();
    mtmrTimer2_.reset();
    // A session still running is cut without QUIT when its last holder
    // lets it go; the local store is not logged off here.
    releaseServices();
}

void EmailGate::releaseServices()
{
    CdoService().reset();
    SmapiService().reset();
}

EmailServiceTypes EmailGate::ServiceType() const { return quenby::ServiceType(); }

void EmailGate::Push(std::shared_ptr<EmailCommand> newCommand)
{
    if (!newCommand)
        return;
    const QString name = newCommand->ClassName();
    inQueue_.append(std::move(newCommand));
    DebugTrace(QStringLiteral("Push. Count=") + QString::number(inQueue_.size()) + QStringLiteral(", command=") + name);
}

std::shared_ptr<EmailCommand> EmailGate::Pull()
{
    if (outQueue_.isEmpty())
        return nullptr;
    return outQueue_.takeFirst();
}

void EmailGate::queueRead()
{
    auto read = std::make_shared<ReadEmailCommand>();
    read->SetUp(maxSize_, attachmentsFolder_, 0);
    inQueue_.append(read);
    DebugTrace(QStringLiteral("Add command. Count=") + QString::number(inQueue_.size()) + QStringLiteral(", command=")
               + read->ClassName());
}

QString EmailGate::Connect(const QString& UserName, const QString& UserEmail, const ServerInfo& inServer,
                           const ServerInfo& outServer)
{
    QString result;
    try {
        switch (quenby::ServiceType()) {
        case CDOSYS_TYPE: {
            // Ready with neither server, the gate would fail a read at every poll.
            if (!HasServer(inServer) && !HasServer(outServer)) {
                result = NoServerText();
                break;
            }
            CdoService() = std::make_shared<CDOSYS>();
            result = CdoService()->ConnectSMTP(UserName, UserEmail, outServer);
            if (result.isEmpty()) {
                result = CdoService()->ConnectPOP3(inServer);
                std::shared_ptr<LeftLetters>& left = leftLetters_[AccountKey(inServer)];
                if (!left)
                    left = std::make_shared<LeftLetters>();
                CdoService()->SetLeftLetters(left);
            }
            break;
        }
        case SIMPLE_MAPI_TYPE:
            SmapiService() = std::make_shared<SMAPI>();
            result = SmapiService()->Connect(UserName);
            break;
        default:
            result = kNoService;
            break;
        }
    } catch (const std::exception& e) {
        result = platform::ErrorText(e);
    }
    if (result.isEmpty()) {
        ready_ = true;
        queueRead();
        pollInterval_ = inServer.Interval;
        polls_ = quenby::ServiceType() != CDOSYS_TYPE || HasServer(inServer);
    } else {
        ready_ = false;
        releaseServices();
    }
    return result;
}

QString EmailGate::Disconnect()
{
    QString result;
    try {
        if (current_) {
            // A command that has already ended keeps its result: its letters
            // may be gone from the server, or its letter sent.
            if (current_->Result() == IN_PROCESS) {
                current_->Abort();
                current_->SetResult(ABORTED_BY_USER_RESULT);
            }
            outQueue_.append(std::move(current_));
            current_.reset();
        }
        switch (quenby::ServiceType()) {
        case CDOSYS_TYPE:
            CdoService().reset();
            break;
        case SIMPLE_MAPI_TYPE:
            if (SmapiService())
                SmapiService()->Disconnect();
            SmapiService().reset();
            break;
        default:
            result = kNoService;
            break;
        }
    } catch (const std::exception& e) {
        result = platform::ErrorText(e);
    }
    ready_ = false;
    return result;
}

void EmailGate::SetAttachmentsFolder(const QString& folder)
{
    attachmentsFolder_.clear();
    if (folder.isEmpty())
        return;
    const QFileInfo info(folder);
    if (!info.exists() || !info.isDir())
        return;
    QString stored = folder;
    EnsureTrailingSlash(stored);
    attachmentsFolder_ = stored;
}

void EmailGate::CommandTick()
{
    if (inCommandTick_)
        return;
    platform::TickGuard guard(inCommandTick_);
    try {
        if (!current_) {
            if (!inQueue_.isEmpty() && ready_) {
                current_ = inQueue_.takeFirst();
                current_->Execute();
            }
        } else if (current_->Result() != IN_PROCESS) {
            outQueue_.append(std::move(current_));
            current_.reset();
        }
    } catch (const std::exception& e) {
        DebugTrace(platform::ErrorText(e));
    }
}

void EmailGate::MinuteTick()
{
    if (inMinuteTick_ || !ready_ || !polls_)
        return;
    platform::TickGuard guard(inMinuteTick_);
    try {
        ++MinuteCounter();
        if (MinuteCounter() >= pollInterval_) {
            queueRead();
            MinuteCounter() = 0;
        }
    } catch (const std::exception& e) {
        DebugTrace(platform::ErrorText(e));
    }
}

}  // namespace quenby
