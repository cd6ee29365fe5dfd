#pragma once
// The "Connect" chain: opens the port, checks that the phone answers, and
// sets the phone up the way the other chains expect (echo off, indications,
// storages, PDU mode, UCS2, a link kept open between messages), recording
// what it can do in the command's Bag. Its last steps are the error-mode
// steps of ConnectErrSteps.h.
#include "hub/engine/ChainRegistry.h"
#include "hub/engine/Step.h"

namespace corvane {

// The set-up registered under "Connect": presets "AT", "NMI", "NSMI",
// "PDU" False, "ShiftME" 0 and "UCS2" True, "MEEcode" -1; first step
// ConnectConnect.
StepPtr ConnectSetUp(PhoneCommand& command, const SetUpArguments& arguments);

// The parameters for "AT+CNMI=" from the answer to "AT+CNMI=?", empty when
// none can be built; statusReports tells whether they ask for ds = 2.
QString BuildNMISetting(const QString& answer, bool& statusReports);
// Up to 15 decimal digits of the answer, in order.
QString IMEIDigits(const QString& answer);
// The fields of a "+CPMS" answer: the text after the first ":" up to the
// first "OK" CR, split at ",".
QStringList CPMSFields(const QString& answer);

// A step with fixed texts; the classes below add what they keep.
class FixedStep : public Step {
public:
    FixedStep(QString command, QString answer, QString errorAnswer, qint32 timeOut)
        : command_(std::move(command)), answer_(std::move(answer)), errorAnswer_(std::move(errorAnswer)),
          timeOut_(timeOut) {}
    QString Command() const override { return command_; }
    QString Answer() const override { return answer_; }
    QString ErrorAnswer() const override { return errorAnswer_; }
    qint32 TimeOut() const override { return timeOut_; }

protected:
    QString command_;

private:
    QString answer_;
    QString errorAnswer_;
    qint32 timeOut_;
};

class ConnectConnect : public FixedStep {
public:
    ConnectConnect();
    StepPtr Advance(PhoneCommand& command) override;
};

class ConnectStart : public FixedStep {
public:
    ConnectStart();
    void setAnswer(const QString&) override { answered_ = true; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    bool answered_ = false;
    qint32 attempts_ = 0;
};

class ConnectEcho : public FixedStep {
public:
    ConnectEcho();
    StepPtr Advance(PhoneCommand& command) override;
};

class ConnectPhoneName : public FixedStep {
public:
    ConnectPhoneName();
    void setAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString name_;
};

class ConnectIMEI : public FixedStep {
public:
    ConnectIMEI();
    void setAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString digits_;
};

class ConnectNMItest : public FixedStep {
public:
    ConnectNMItest();
    void setAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString parameters_;
    bool statusReports_ = false;
};

class ConnectNMIset : public FixedStep {
public:
    ConnectNMIset();
    void setCommand(const QString& text) override { command_ = text; }
    void setAnswer(const QString&) override { accepted_ = true; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    bool accepted_ = false;
};

class ConnectPMS3 : public FixedStep {
public:
    ConnectPMS3();
    void setAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    bool found_ = false;
    qint32 total_ = 0;
};

class ConnectShiftME : public FixedStep {
public:
    ConnectShiftME();
    void setAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    qint32 totalSM_ = 0;
    qint32 totalME_ = 0;
};

class ConnectPDU : public FixedStep {
public:
    ConnectPDU();
    void setAnswer(const QString&) override { accepted_ = true; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    bool accepted_ = false;
};

class ConnectUCS2 : public FixedStep {
public:
    ConnectUCS2();
    void setAnswer(const QString&) override { accepted_ = true; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    bool accepted_ = false;
};

class ConnectMMS : public FixedStep {
public:
    ConnectMMS();
    StepPtr Advance(PhoneCommand& command) override;
};

}  // namespace corvane
