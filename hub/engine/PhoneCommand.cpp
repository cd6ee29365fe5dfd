#include "hub/engine/PhoneCommand.h"

#include "hub/engine/ChainRegistry.h"
#include "hub/engine/HubRuntime.h"
#include "hub/engine/OneStep.h"
#include "platform/VbError.h"

namespace corvane {

PhoneCommand::PhoneCommand() : instanceId_(NextClassID()) {}

PhoneCommand::~PhoneCommand() = default;

QString PhoneCommand::SetUp(const QString& Command, const QString& Answer, const QString& ErrorAnswer, qint32 Owner,
                            qint32 TimeOut, bool StartTransaction, bool EndTransaction, dorrak::CommandSort sort)
{
    if (set_)
        return QStringLiteral("Already set");

    // The owner and flags are kept even when the set-up fails, so that the
    // gate can hand a failed command back to the order that made it.
    owner_ = Owner;
    startTransaction_ = StartTransaction;
    endTransaction_ = EndTransaction;
    sort_ = sort;

    try {
        StepPtr first;
        if (sort == dorrak::mbtLightCommand) {
            const ChainFactory* found = ChainRegistry::Find(Command);
            if (!found)
                return QStringLiteral("Unknown command");
            const ChainFactory factory = *found;
            const SetUpArguments arguments{Command, Answer, ErrorAnswer, Owner, TimeOut,
                                           StartTransaction, EndTransaction, sort};
            first = factory(*this, arguments);
            if (!first)
                platform::Raise(platform::vberr::InvalidProcedureCall, QStringLiteral("PhoneCommand"),
                                QStringLiteral("Invalid procedure call or argument"));
        } else {
            auto one = std::make_shared<OneStep>();
            one->SetUp(Command, Answer, ErrorAnswer, TimeOut);
            first = one;
        }
        step_ = first;
        result_ = dorrak::NOT_EXECUTED;
        set_ = true;
        return QString();
    } catch (const std::exception& e) {
        step_.reset();
        return platform::ErrorText(e);
    }
}

void PhoneCommand::Step()
{
    if (!step_) {
        Finish();
        return;
    }
    StepPtr current = step_;
    StepPtr next = current->Advance(*this);
    step_ = next;
    if (!next || sort_ != dorrak::mbtLightCommand) {
        if (sort_ != dorrak::mbtLightCommand)
            step_.reset();
        finished_ = true;
        progress_ = 100;
    }
}

void PhoneCommand::Finish()
{
    step_.reset();
    finished_ = true;
    progress_ = 100;
}

QString PhoneCommand::StepCommand() const { return step_ ? step_->Command() : QString(); }

QString PhoneCommand::StepAnswer() const { return step_ ? step_->Answer() : QString(); }

QString PhoneCommand::StepErrorAnswer() const { return step_ ? step_->ErrorAnswer() : QString(); }

qint32 PhoneCommand::StepTimeOut() const { return step_ ? step_->TimeOut() : 0; }

void PhoneCommand::PutAnswer(const QString& text)
{
    if (step_)
        step_->setAnswer(text);
}

void PhoneCommand::PutErrorAnswer(const QString& text)
{
    if (step_)
        step_->setErrorAnswer(text);
}

}  // namespace corvane
