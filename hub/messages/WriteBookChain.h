#pragma once
// The "WriteBook" chain: writes one entry into a book of the phone, reads it
// back into the BookRecords of the Bag item "Book", and deletes an entry
// afterwards when asked; so one command adds, changes, copies, moves or
// deletes an entry.
//
// Bag in: "Book", "LocationName", "BookIndex", "ContactName",
// "ContactNumber", "Update", "Delete", "FromLocationName", "FromBookIndex".
// Bag out: "FirstLap", "BookIndex" (for a new entry), "ErrorAnswer".
#include "hub/engine/ChainRegistry.h"
#include "hub/engine/ConnectChain.h"
#include "hub/engine/Step.h"
#include "hub/messages/BookRecords.h"

namespace corvane {

class BookRecords;

// Registered under "WriteBook". An entry that cannot travel safely inside
// the write command starts a chain that writes nothing and ends with
// ERROR_ANSWER.
StepPtr WriteBookSetUp(PhoneCommand& command, const SetUpArguments& arguments);

// The text as four upper-case hex digits per UTF-16 code unit.
QString TextToUCS2Hex(const QString& text);

// "AT+CPBS=" with the target (or source) book.
class WriteBookMemory : public FixedStep {
public:
    explicit WriteBookMemory(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    StepPtr Advance(PhoneCommand& command) override;
};

// "AT+CPBW=" index, number and name.
class WriteBookRecord : public FixedStep {
public:
    explicit WriteBookRecord(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    void setErrorAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString errorText_;
};

// "AT+CPBR=" the written index: what the phone stored.
class WriteBookRead : public FixedStep {
public:
    explicit WriteBookRead(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    void setAnswer(const QString& text) override { answer_ = text; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString answer_;
};

// "AT+CPBW=" the source index alone: the phone empties that entry.
class WriteBookDelete : public FixedStep {
public:
    explicit WriteBookDelete(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    void setErrorAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString errorText_;
};

// Stands first when the entry was refused at set-up: it writes nothing and
// ends the command with ERROR_ANSWER and the reason in "ErrorAnswer".
class WriteBookRefused : public FixedStep {
public:
    explicit WriteBookRefused(QString reason);
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString reason_;
};

}  // namespace corvane
