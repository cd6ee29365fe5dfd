#include "email/ReadEmailCommand.h"

#include "email/CDOSYS.h"
#include "email/QuenbyGlobalObjs.h"
#include "email/SMAPI.h"
#include "platform/VbError.h"

namespace quenby {

ReadEmailCommand::ReadEmailCommand()
{
    DebugTrace(QStringLiteral("'ReadEmailCommand' instance  created"));
}

ReadEmailCommand::~ReadEmailCommand()
{
    try {
        DebugTrace(QStringLiteral("'ReadEmailCommand' instance  is terminating, msgs count=") + QString::number(count_));
    } catch (...) {
    }
}

void ReadEmailCommand::SetUp(int maxSizeOfLetter, const QString& pathToAttachmentsFolder, qint32 owner)
{
    maxSize_ = maxSizeOfLetter;
    folder_ = pathToAttachmentsFolder;
    owner_ = owner;
}

QString ReadEmailCommand::GetMessages(int& outMsgsCount, QList<EmailLetter>& outLetters) const
{
    outMsgsCount = count_;
    outLetters = letters_;
    return QString();
}

void ReadEmailCommand::Execute()
{
    try {
        QString text;
        switch (ServiceType()) {
        case CDOSYS_TYPE: {
            std::shared_ptr<CDOSYS> reader = CdoService();
            if (!reader)
                platform::RaiseObjectNotSet(QStringLiteral("ReadEmailCommand"));
            text = reader->Read(maxSize_, folder_);
            if (text.isEmpty()) {
                reader_ = std::move(reader);
                result_ = IN_PROCESS;
                return;
            }
            break;
        }
        case SIMPLE_MAPI_TYPE: {
            std::shared_ptr<SMAPI> service = SmapiService();
            if (!service)
                platform::RaiseObjectNotSet(QStringLiteral("ReadEmailCommand"));
            text = service->Read(maxSize_, folder_, count_, letters_);
            if (text.isEmpty()) {
                result_ = OK_RESULT;
                return;
            }
            break;
        }
        default:
            return;
        }
        count_ = 0;
        letters_.clear();
        result_ = ERROR_RESULT;
        error_ = text;
    } catch (const std::exception& e) {
        reader_.reset();
        count_ = 0;
        letters_.clear();
        result_ = ERROR_RESULT;
        error_ = platform::ErrorText(e);
    }
}

QString ReadEmailCommand::takeLetters()
{
    count_ = 0;
    letters_.clear();
    if (!reader_->ReadCompleted())
        return QString();
    // A session that failed after its QUIT still hands its letters out:
    // the server may have removed them.
    const QString text = reader_->GetReadMessages(count_, letters_);
    if (!text.isEmpty()) {
        count_ = 0;
        letters_.clear();
    }
    return text;
}

void ReadEmailCommand::poll()
{
    if (reader_->ReadCompleted()) {
        QString text = reader_->ReadError();
        const QString taken = takeLetters();
        if (text.isEmpty())
            text = taken;
        reader_.reset();
        if (text.isEmpty()) {
            result_ = OK_RESULT;
        } else {
            result_ = ERROR_RESULT;
            error_ = text;
        }
    } else if (reader_->Timeout()) {
        // Late replies must not go on deleting letters nobody receives.
        reader_->AbortRead();
        takeLetters();
        reader_.reset();
        result_ = TIME_OUT_RESULT;
    } else {
        MinuteCounter() = 0;
    }
}

EMC_RESULT_CODEs ReadEmailCommand::Result()
{
    if (result_ != IN_PROCESS || !reader_)
        return result_;
    try {
        poll();
    } catch (const std::exception& e) {
        if (reader_)
            reader_->AbortRead();
        reader_.reset();
        count_ = 0;
        letters_.clear();
        result_ = ERROR_RESULT;
        error_ = platform::ErrorText(e);
    }
    return result_;
}

void ReadEmailCommand::Abort()
{
    if (result_ != IN_PROCESS || !reader_)
        return;
    reader_->AbortRead();
    takeLetters();
    reader_.reset();
}

}  // namespace quenby
