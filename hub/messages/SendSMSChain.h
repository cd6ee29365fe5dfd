#pragma once
// The "SendSMS" chain: one message, encoded into one SUBMIT PDU per part,
// sent with AT+CMGS to each number in turn, part after part. Per number the
// Bag's "Result" gets the outcome and "ResultDesc" the message references
// the phone gave (or its error text).
//
// Bag items: "Addresses" (in), "Result" and "ResultDesc" (preset by the
// client, filled here), "SMSObject", "PDUs", "MaxPDU", "CurrentPDU",
// "CurrentAddress" and "MaxAddress" (the chain's own state).
#include "hub/engine/ChainRegistry.h"
#include "hub/engine/Step.h"

namespace corvane {

// The set-up registered under "SendSMS": builds the SMS from "SCNumber",
// "StatusReport", "MessageClass", "ValidityPeriod", "MessageBody",
// "MessageCoding", "JoinParts" and the first of "Addresses", encodes it and
// returns the first prompt step. Raises when the encoder refuses the
// request (unknown coding, a bad service-centre number, no address), so the
// command stays unset and goes back as not executed; the reason is also put
// into "ErrorAnswer".
StepPtr SendSMSSetUp(PhoneCommand& command, const SetUpArguments& arguments);

// Asks for the prompt: "AT+CMGS=" & length & CR, waiting for ">".
class SendSMSOrder : public Step {
public:
    explicit SendSMSOrder(QString command) : command_(std::move(command)) {}
    QString Command() const override { return command_; }
    void setCommand(const QString& text) override { command_ = text; }
    QString Answer() const override;
    QString ErrorAnswer() const override;
    qint32 TimeOut() const override { return 20000; }
    StepPtr Advance(PhoneCommand& command) override;
    // The number being served gets INTERRUPTED, the later ones stay as preset.
    void Interrupted(PhoneCommand& command) override { Advance(command); }

private:
    QString command_;
};

// Writes one PDU and Ctrl-Z; the "+CMGS:" line carries the reference.
class SendSMSBody : public Step {
public:
    explicit SendSMSBody(QString command) : command_(std::move(command)) {}
    QString Command() const override { return command_; }
    void setCommand(const QString& text) override { command_ = text; }
    QString Answer() const override;
    void setAnswer(const QString& text) override { answer_ = text; }
    QString ErrorAnswer() const override;
    // Keeps the phone's error in readable form.
    void setErrorAnswer(const QString& text) override;
    // A bare "ERROR" line (error mode 0, or a PDU the phone cannot parse)
    // ends the wait too, instead of the whole time-out.
    QString ErrorAlternative() const override;
    qint32 TimeOut() const override { return 40000; }
    StepPtr Advance(PhoneCommand& command) override;
    void Interrupted(PhoneCommand& command) override { Advance(command); }

    QString ReceivedAnswer() const { return answer_; }
    QString KeptError() const { return error_; }

private:
    QString command_;
    QString answer_;
    QString error_;
};

}  // namespace corvane
