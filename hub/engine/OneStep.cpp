#include "hub/engine/OneStep.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/PhoneCommand.h"

namespace corvane {

QString OneStep::SetUp(const QString& command, const QString& answer, const QString& errorAnswer, qint32 timeOut)
{
    command_ = command;
    answer_ = answer;
    errorAnswer_ = errorAnswer;
    timeOut_ = timeOut;
    return QString();
}

StepPtr OneStep::Advance(PhoneCommand& command)
{
    switch (command.Result()) {
    case dorrak::OK_ANSWER:
        command.setBag(bag::Answer, answer_);
        break;
    case dorrak::ERROR_ANSWER:
        command.setBag(bag::ErrorAnswer, errorAnswer_);
        break;
    default:
        break;
    }
    return nullptr;
}

}  // namespace corvane
