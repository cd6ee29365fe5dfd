#pragma once
// The "DeleteSMS" chain: selects the storage, deletes every part of one
// stored message that has a slot, in part order, and takes the message's
// record out of the store once the last part is gone.
#include "hub/engine/ConnectChain.h"
#include "hub/messages/MessageStoreChains.h"

namespace corvane {

class DeleteSMSMemory : public FixedStep {
public:
    explicit DeleteSMSMemory(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    StepPtr Advance(PhoneCommand& command) override;
};

class DeleteSMSPart : public FixedStep {
public:
    explicit DeleteSMSPart(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    void setErrorAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString error_;
};

}  // namespace corvane
