#pragma once
// The "ReadStore" chain: asks for the phone's storages, then selects each in
// turn, reads its counts and, when the phone reports messages in it, lists
// them all (AT+CMGL=4) into the store. A storage that answers an error is
// skipped; one that stays silent is followed by a bare "AT" to see whether
// the phone is still there.
#include "hub/engine/ConnectChain.h"
#include "hub/messages/MessageStoreChains.h"

namespace corvane {

class ReadStoreFind : public FixedStep {
public:
    ReadStoreFind();
    void setAnswer(const QString& text) override { answer_ = text; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString answer_;
};

class ReadStoreMemory : public FixedStep {
public:
    explicit ReadStoreMemory(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    void setAnswer(const QString& text) override { answer_ = text; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString answer_;
};

class ReadStoreMsg : public FixedStep {
public:
    ReadStoreMsg();
    void setAnswer(const QString& text) override { answer_ = text; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString answer_;
};

class ReadStoreAT : public FixedStep {
public:
    ReadStoreAT();
    StepPtr Advance(PhoneCommand& command) override;
};

}  // namespace corvane
