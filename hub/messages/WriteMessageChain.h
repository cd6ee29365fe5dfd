#pragma once
// The "WriteSMS" chain: selects a storage for reading and writing, encodes
// the message into its SUBMIT parts and writes each with "AT+CMGW" (prompt,
// PDU, Ctrl-Z), adding every part the phone stored to the store. Parts
// written before a failure stay in the phone and in the store.
#include "hub/engine/ConnectChain.h"
#include "hub/messages/MessageStoreChains.h"

namespace corvane {

// The "AT+CMGW=" command that announces one PDU.
QString WriteOrderCommand(const QString& pdu);

class WriteSMSMemory : public FixedStep {
public:
    explicit WriteSMSMemory(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    void setErrorAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    StepPtr build(PhoneCommand& command);
    QString error_;
};

class WriteSMSOrder : public FixedStep {
public:
    explicit WriteSMSOrder(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    void setErrorAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;
    void Interrupted(PhoneCommand& command) override;

private:
    QString error_;
};

class WriteSMSBody : public FixedStep {
public:
    explicit WriteSMSBody(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    void setAnswer(const QString& text) override { answer_ = text; }
    void setErrorAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;
    void Interrupted(PhoneCommand& command) override;

private:
    QString answer_;
    QString error_;
};

}  // namespace corvane
