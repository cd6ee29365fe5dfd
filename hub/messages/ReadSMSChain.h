#pragma once
// The "ReadSMS" chain the gate runs for an arrival line: select the storage
// (or find it with AT+CPMS?), read the PDU with AT+CMGR, decode it, join it
// to the kept parts of its message, and delete it with AT+CMGD. A complete
// message or status report leaves "Message" and "Address" (and for a report
// "StatusReport", "MR" and, when its stamp could be read, "DischargeTime") in
// the Bag; a part leaves nothing and stays among the gate's kept parts. An
// arrival line whose storage or index is not plain is logged and refused.
#include "hub/engine/ChainRegistry.h"
#include "hub/engine/PhoneCommand.h"
#include "hub/engine/Step.h"

namespace corvane {

// The set-up registered under "ReadSMS"; the arrival line is the Answer
// argument.
StepPtr ReadSMSSetUp(PhoneCommand& command, const SetUpArguments& arguments);

// The key under which a kept part waits for the rest of its message:
// reference, part count and sender name it together. Internal; the numbers
// come first so that no address and reference pair can read as another
// ("+123" with 47 against "+1234" with 7), and the address is written out so
// that letter case cannot join two senders.
QString KeptPartKey(const QString& address, int reference, int count);

// "AT+CPMS?": the storage where received messages go, from its seventh field.
class ReadSMSLocate : public Step {
public:
    QString Command() const override;
    QString Answer() const override;
    void setAnswer(const QString& text) override { answer_ = text; }
    QString ErrorAnswer() const override;
    qint32 TimeOut() const override { return 2000; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString answer_;
};

// "AT+CPMS=" & storage: selects the storage to read from.
class ReadSMSMemory : public Step {
public:
    explicit ReadSMSMemory(QString command) : command_(std::move(command)) {}
    QString Command() const override { return command_; }
    void setCommand(const QString& text) override { command_ = text; }
    QString Answer() const override;
    QString ErrorAnswer() const override;
    qint32 TimeOut() const override { return 2000; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString command_;
};

// "AT+CMGR=" & index: reads and decodes the message.
class ReadSMSMsg : public Step {
public:
    explicit ReadSMSMsg(QString command) : command_(std::move(command)) {}
    QString Command() const override { return command_; }
    void setCommand(const QString& text) override { command_ = text; }
    QString Answer() const override;
    void setAnswer(const QString& text) override { answer_ = text; }
    QString ErrorAnswer() const override;
    qint32 TimeOut() const override { return 3000; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString answer_;
    QString command_;
};

// "AT+CMGD=" & index: the message leaves the phone.
class ReadSMSDelete : public Step {
public:
    explicit ReadSMSDelete(QString command) : command_(std::move(command)) {}
    QString Command() const override { return command_; }
    void setCommand(const QString& text) override { command_ = text; }
    QString Answer() const override;
    QString ErrorAnswer() const override;
    qint32 TimeOut() const override { return 2000; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString command_;
};

}  // namespace corvane
