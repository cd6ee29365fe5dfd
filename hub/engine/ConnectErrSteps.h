#pragma once
// The last steps of the "Connect" chain: choose how the phone reports its
// errors (AT+CMEE mode 2, else 1, else 0), set it, or read back the mode in
// force when the test or the setting failed. The result is "MEEcode".
#include "hub/engine/ConnectChain.h"

namespace corvane {

// The mode to ask for from the answer to "AT+CMEE=?".
qint32 ChooseCmeeMode(const QString& answer);

class ConnectErrTest : public FixedStep {
public:
    ConnectErrTest();
    void setAnswer(const QString& text) override { mode_ = ChooseCmeeMode(text); }
    StepPtr Advance(PhoneCommand& command) override;

private:
    qint32 mode_ = -1;
};

class ConnectErrSet : public FixedStep {
public:
    ConnectErrSet();
    void setCommand(const QString& text) override { command_ = text; }
    StepPtr Advance(PhoneCommand& command) override;
};

class ConnectErrQuery : public FixedStep {
public:
    ConnectErrQuery();
    void setAnswer(const QString& text) override { answer_ = text; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString answer_;
};

}  // namespace corvane
