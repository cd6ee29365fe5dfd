#include "hub/engine/Gate.h"

#include "hub/engine/HubRuntime.h"
#include "hub/messages/SMS.h"
#include "hub/messages/SMSClassSequencer.h"
#include "platform/TickGuard.h"
#include "platform/Timer.h"
#include "platform/VbError.h"

namespace corvane {

namespace {

const QString kWriteError = QStringLiteral("Write error (");

}  // namespace

Gate::Gate()
{
    mtmrTimer_ = std::make_unique<platform::Timer>([this] { EngineTick(); }, 100);
    mtmrTimer_->setEnabled(true);
    mtmrTimerSMS_ = std::make_unique<platform::Timer>([this] { PartsTick(); }, 1000);
    mtmrTimerSMS_->setEnabled(true);
    ready_ = true;
    keptParts_ = std::make_shared<SMSCollection>();
    comm_ = std::make_unique<dorrak::CommPort>();
    comm_->CommandAnswer = [this](const QString& data, dorrak::MODEM_RESULT_CODEs result) {
        onCommandAnswer(data, result);
    };
    comm_->Connection = [this](bool isConnected, int port, int baudRate, const QString& errorDesc) {
        onConnection(isConnected, port, baudRate, errorDesc);
    };
    comm_->UnsolicitedArrival = [this](const QString& data, dorrak::CommandSort sort) {
        onUnsolicitedArrival(data, sort);
    };
    SMSClassSequencer::LoadLastNumber();
}

Gate::~Gate()
{
    SMSClassSequencer::SaveLastNumber();
    if (comm_) {
        comm_->CommandAnswer = nullptr;
        comm_->Connection = nullptr;
        comm_->UnsolicitedArrival = nullptr;
    }
    comm_.reset();
    mtmrTimer_.reset();
    mtmrTimerSMS_.reset();
    HubLog().CloseLogFile();
}

// ---------------------------------------------------------------------------
// The client's members

void Gate::Push(const PhoneCommandPtr& newCommand)
{
    if (!newCommand)
        return;
    input_.Add(newCommand);
    // A command whose set-up failed has no step: its command text is empty.
    HubLog().WriteLogLine(QStringLiteral("Push. Count=") + QString::number(input_.Count()) +
                          QStringLiteral(", command=") + newCommand->StepCommand() + QStringLiteral(", owner=") +
                          QString::number(newCommand->Owner()));
}

PhoneCommandPtr Gate::Pull()
{
    if (output_.IsEmpty())
        return nullptr;
    PhoneCommandPtr oldest = output_.Item(1);
    output_.Remove(1);
    return oldest;
}

void Gate::Disconnect()
{
    if (awaitingConnection_) {
        pendingDisconnect_ = true;
        return;
    }
    comm_->Disconnect();
    connected_ = false;
    ready_ = true;
    if (active_) {
        active_->SetResult(dorrak::INTERRUPTED);
        interrupted(*active_);
        deliver(active_);
        active_.reset();
        FailTransaction();
    }
    FlushPendingSMS();
}

QString Gate::ComPort() const { return connected_ ? QStringLiteral("COM") + QString::number(port_) : QString(); }

qint32 Gate::Speed() const { return connected_ ? speed_ : 0; }

QVariant Gate::LogToFile(const QString& folderName)
{
    QString folder;
    // A name of blanks alone names no folder (it would make "/", the root).
    if (folderName.trimmed().isEmpty()) {
        HubLog().CloseLogFile();
    } else {
        folder = EnsureTrailingSlash(folderName);
        HubLog().OpenLogFile(folder + QStringLiteral("ParlovaHubLog.txt"));
    }
    comm_->LogToFile(folder);
    return QVariant();
}

void Gate::WaitSMS()
{
    if (awaitingConnection_)
        pendingWaitSMS_ = true;
    else
        comm_->setWaitSMS(true);
}

void Gate::WaitStatusReport()
{
    if (awaitingConnection_)
        pendingWaitStatusReport_ = true;
    else
        comm_->setWaitStatusReport(true);
}

qint32 Gate::Progress() const { return active_ ? active_->GetProgress() : 0; }

// ---------------------------------------------------------------------------
// Timers

void Gate::EngineTick()
{
    if (inEngineTick_)
        return;
    platform::TickGuard guard(inEngineTick_);
    try {
        engineTick();
    } catch (const std::exception& e) {
        HubLog().WriteLogLine(QStringLiteral("Engine error: ") + platform::ErrorText(e));
    }
}

void Gate::engineTick()
{
    if (pendingDisconnect_) {
        pendingDisconnect_ = false;
        Disconnect();
    }
    if (pendingWaitSMS_) {
        pendingWaitSMS_ = false;
        WaitSMS();
    }
    if (pendingWaitStatusReport_) {
        pendingWaitStatusReport_ = false;
        WaitStatusReport();
    }
    if (!ready_)
        return;

    if (!active_) {
        if (input_.IsEmpty())
            return;
        active_ = input_.Item(1);
        input_.Remove(1);
        if (active_->StartTransaction())
            inTransaction_ = true;
        else if (active_->EndTransaction())
            inTransaction_ = false;
        if (!active_->CurrentStep()) {
            // Its set-up failed: there is nothing to run. It goes back as not
            // executed, and so does the rest of its transaction.
            PhoneCommandPtr failed = active_;
            active_.reset();
            failed->SetResult(dorrak::NOT_EXECUTED);
            failed->Finish();
            deliver(failed);
            FailTransaction();
            return;
        }
        startStep(true);
        return;
    }

    try {
        active_->Step();
    } catch (const std::exception& e) {
        // A chain that breaks ends here; it must not look like a success.
        HubLog().WriteLogLine(QStringLiteral("Step error: ") + platform::ErrorText(e));
        if (active_->Result() == dorrak::OK_ANSWER)
            active_->SetResult(dorrak::ERROR_ANSWER);
        active_->Finish();
    }
    if (active_->Finished()) {
        PhoneCommandPtr done = active_;
        active_.reset();
        deliver(done);
        if (done->Result() != dorrak::OK_ANSWER)
            FailTransaction();
        return;
    }
    startStep(false);
}

void Gate::startStep(bool justTaken)
{
    const QString command = active_->StepCommand();
    QString failure;
    if (command == kConnecting) {
        if (connected_) {
            comm_->Disconnect();
            connected_ = false;
        }
        failure = StartConnection();
        ready_ = false;
    } else if (connected_) {
        const StepPtr step = active_->CurrentStep();
        comm_->setErrorAlternative(step ? step->ErrorAlternative() : QString());
        failure = comm_->Output(command, active_->StepAnswer(), active_->StepErrorAnswer(), active_->StepTimeOut());
        ready_ = false;
    } else {
        if (justTaken) {
            PhoneCommandPtr refused = active_;
            active_.reset();
            if (refused->Owner() != 0)
                output_.Add(refused);
            FailTransaction();
        }
        return;
    }

    if (failure.isEmpty())
        return;
    HubLog().WriteLogLine(failure);
    // A refused write still arms the matchers, so its time-out follows. Any
    // other refusal raises no event at all: the step ends here as an error
    // answer, or the engine would wait for ever.
    if (!failure.startsWith(kWriteError)) {
        active_->SetResult(dorrak::ERROR_ANSWER);
        active_->PutErrorAnswer(failure);
        ready_ = true;
    }
}

void Gate::PartsTick()
{
    if (inPartsTick_)
        return;
    platform::TickGuard guard(inPartsTick_);
    try {
        for (qsizetype i = 1; i <= keptParts_->Count();) {
            const std::shared_ptr<SMS> part = keptParts_->Item(i);
            if (part && part->TimeOut()) {
                output_.Add(partCommand(part, dorrak::TIME_OUT));
                keptParts_->Remove(i);
            } else {
                ++i;
            }
        }
    } catch (const std::exception& e) {
        HubLog().WriteLogLine(QStringLiteral("Parts error: ") + platform::ErrorText(e));
    }
}

// ---------------------------------------------------------------------------
// Port events

void Gate::onCommandAnswer(const QString& data, dorrak::MODEM_RESULT_CODEs result)
{
    try {
        if (active_) {
            active_->SetResult(result);
            if (result == dorrak::OK_ANSWER)
                active_->PutAnswer(data);
            else if (result == dorrak::ERROR_ANSWER)
                active_->PutErrorAnswer(data);
        }
    } catch (const std::exception& e) {
        HubLog().WriteLogLine(QStringLiteral("CommandAnswer error: ") + platform::ErrorText(e));
    }
    // The reply is known whatever its handling did; the engine goes on.
    ready_ = true;
}

void Gate::onConnection(bool isConnected, int port, int baudRate, const QString& errorDesc)
{
    try {
        speed_ = baudRate;
        connected_ = isConnected;
        port_ = port;
        ready_ = true;
        if (awaitingConnection_ && port == awaitedPort_) {
            awaitingConnection_ = false;
            if (active_)
                active_->SetResult(isConnected ? dorrak::OK_ANSWER : dorrak::ERROR_ANSWER);
        } else if (awaitingConnection_) {
            // Another port's news; the awaited one is still to come.
        } else if (!isConnected) {
            if (active_) {
                PhoneCommandPtr lost = active_;
                active_.reset();
                lost->SetResult(dorrak::INTERRUPTED);
                interrupted(*lost);
                deliver(lost);
                FailTransaction();
            }
            FlushPendingSMS();
        }
        if (!errorDesc.isEmpty())
            HubLog().WriteLogLine(QStringLiteral("Connection error: ") + errorDesc);
    } catch (const std::exception& e) {
        HubLog().WriteLogLine(QStringLiteral("Connection error: ") + platform::ErrorText(e));
    }
}

void Gate::onUnsolicitedArrival(const QString& data, dorrak::CommandSort sort)
{
    if (sort != dorrak::mbtSMSArrived && sort != dorrak::mbtStatusReportArrived)
        return;
    try {
        auto command = std::make_shared<PhoneCommand>();
        command->setBag(QStringLiteral("ShiftME"), shiftME_);
        command->setConcatenatedSMS(keptParts_);
        // A line the read chain refuses (it logs why) sends nothing.
        const QString refused = command->SetUp(QStringLiteral("ReadSMS"), data, QStringLiteral("ERROR\r"), 0, 5000,
                                               false, false, dorrak::mbtLightCommand);
        if (!refused.isEmpty()) {
            HubLog().WriteLogLine(QStringLiteral("UnsolicitedArrival error: ") + refused);
            return;
        }
        Push(command);
    } catch (const std::exception& e) {
        HubLog().WriteLogLine(QStringLiteral("UnsolicitedArrival error: ") + platform::ErrorText(e));
    }
}

// ---------------------------------------------------------------------------
// Private operations

QString Gate::StartConnection()
{
    try {
        const QString portName = VariantText(active_->Bag(QStringLiteral("PortName")));
        awaitedPort_ = VariantLong(portName.mid(3));
        const qint32 speed = VariantLong(active_->Bag(QStringLiteral("PortBaud")));
        const QVector<qint32> timeouts = VariantLongArray(active_->Bag(QStringLiteral("PortTimeouts")));
        if (timeouts.size() < 5)
            platform::Raise(platform::vberr::SubscriptOutOfRange, QStringLiteral("Gate"),
                            QStringLiteral("Subscript out of range"));
        const QString result = comm_->Connect(awaitedPort_, speed, timeouts.mid(0, 5));
        if (result.isEmpty())
            awaitingConnection_ = true;
        return result;
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

void Gate::FailTransaction()
{
    if (!inTransaction_)
        return;
    while (!input_.IsEmpty()) {
        PhoneCommandPtr next = input_.Item(1);
        input_.Remove(1);
        next->SetResult(dorrak::TRANSACTION_FAIL);
        if (next->Owner() != 0)
            output_.Add(next);
        if (next->EndTransaction()) {
            inTransaction_ = false;
            break;
        }
    }
}

void Gate::FlushPendingSMS()
{
    while (!keptParts_->IsEmpty()) {
        const std::shared_ptr<SMS> part = keptParts_->Item(1);
        keptParts_->Remove(1);
        if (part)
            output_.Add(partCommand(part, dorrak::INTERRUPTED));
    }
}

void Gate::interrupted(PhoneCommand& command)
{
    try {
        if (const StepPtr step = command.CurrentStep())
            step->Interrupted(command);
    } catch (const std::exception& e) {
        HubLog().WriteLogLine(QStringLiteral("Step error: ") + platform::ErrorText(e));
    }
}

void Gate::deliver(const PhoneCommandPtr& command)
{
    if (command->Owner() != 0) {
        output_.Add(command);
        return;
    }
    const QVariant message = command->Bag(QStringLiteral("Message"));
    if (!VariantIsEmpty(command->Bag(QStringLiteral("ReadSMS"))) && message.typeId() == QMetaType::QString &&
        !message.toString().isEmpty())
        output_.Add(command);
}

PhoneCommandPtr Gate::partCommand(const std::shared_ptr<SMS>& part, dorrak::MODEM_RESULT_CODEs result) const
{
    auto command = std::make_shared<PhoneCommand>();
    command->setBag(QStringLiteral("ReadSMS"), true);
    command->setBag(QStringLiteral("StatusReport"), false);
    command->setBag(QStringLiteral("Message"), part->UserData());
    command->setBag(QStringLiteral("Address"), part->Address());
    if (part->MTI == STATUS_REPORT) {
        command->setBag(QStringLiteral("StatusReport"), true);
        command->setBag(QStringLiteral("MR"), static_cast<qint32>(part->mr()));
        command->setBag(QStringLiteral("DischargeTime"), part->DischargeTime());
    }
    command->SetResult(result);
    return command;
}

}  // namespace corvane
