#pragma once
// The single step of a raw AT command: what it writes and waits for is what
// the command was set up with; the reply lands in the Bag as "Answer" or
// "ErrorAnswer".
#include "hub/engine/Step.h"

namespace corvane {

class OneStep : public Step {
public:
    QString SetUp(const QString& command, const QString& answer, const QString& errorAnswer, qint32 timeOut);

    QString Command() const override { return command_; }
    QString Answer() const override { return answer_; }
    void setAnswer(const QString& text) override { answer_ = text; }
    QString ErrorAnswer() const override { return errorAnswer_; }
    void setErrorAnswer(const QString& text) override { errorAnswer_ = text; }
    qint32 TimeOut() const override { return timeOut_; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString command_;
    QString answer_;
    QString errorAnswer_;
    qint32 timeOut_ = 0;
};

}  // namespace corvane
