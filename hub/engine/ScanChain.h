#pragma once
// The "Scan" chain: tries every port from "MinPort" to "MaxPort", and on a
// port where something answers "AT" records the maker and the model (or the
// identification text) under keys numbered by port: "PhATs" & n,
// "PhMakers" & n, "PhNames" & n.
#include "hub/engine/ChainRegistry.h"
#include "hub/engine/ConnectChain.h"

namespace corvane {

// The set-up registered under "Scan": "MinPort" = "NextPort"; first step
// ScanConnect.
StepPtr ScanSetUp(PhoneCommand& command, const SetUpArguments& arguments);

class ScanConnect : public FixedStep {
public:
    ScanConnect();
    StepPtr Advance(PhoneCommand& command) override;
};

class ScanStart : public FixedStep {
public:
    ScanStart();
    void setAnswer(const QString&) override { answered_ = true; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    bool answered_ = false;
    qint32 attempts_ = 0;
};

class ScanGetMaker : public FixedStep {
public:
    ScanGetMaker();
    void setAnswer(const QString& text) override
    {
        text_ = text;
        answered_ = true;
    }
    StepPtr Advance(PhoneCommand& command) override;

private:
    bool answered_ = false;
    QString text_;
};

class ScanGetName : public FixedStep {
public:
    ScanGetName();
    void setAnswer(const QString& text) override;
    void setErrorAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString name_;
};

class ScanIdent : public FixedStep {
public:
    ScanIdent();
    void setAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString text_;
};

}  // namespace corvane
