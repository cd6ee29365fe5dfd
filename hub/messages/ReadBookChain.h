#pragma once
// The "ReadBook" chain: asks the phone for its phone books, keeps the SIM and
// handset books, and for each in turn selects it, reads its range and field
// lengths and all its entries into the BookRecords of the Bag item "Book".
//
// Bag: "Book" (in), "BookCount", "BookIndex" and "ErrorDesc" (out).
#include "hub/engine/ChainRegistry.h"
#include "hub/engine/ConnectChain.h"
#include "hub/engine/Step.h"

namespace corvane {

class BookRecords;

// Registered under "ReadBook": "BookCount" 0, first step ReadBookFind.
StepPtr ReadBookSetUp(PhoneCommand& command, const SetUpArguments& arguments);

// The "Book" object of a phone-book command; raises when the Bag lacks it.
BookRecords& BookOf(PhoneCommand& command);

// "AT+CPBS=?": the list of books.
class ReadBookFind : public FixedStep {
public:
    ReadBookFind();
    void setAnswer(const QString& text) override { answer_ = text; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString answer_;
};

// "AT+CPBS=" with the book's stored name.
class ReadBookMemory : public FixedStep {
public:
    explicit ReadBookMemory(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    StepPtr Advance(PhoneCommand& command) override;
};

// "AT+CPBR=?": the book's range and field lengths.
class ReadBookParam : public FixedStep {
public:
    ReadBookParam();
    void setAnswer(const QString& text) override { answer_ = text; }
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString answer_;
};

// "AT+CPBR=" with the book's range: all its entries.
class ReadBookRecords : public FixedStep {
public:
    explicit ReadBookRecords(const QString& command = QString());
    void setCommand(const QString& text) override { command_ = text; }
    void setAnswer(const QString& text) override { answer_ = text; }
    void setErrorAnswer(const QString& text) override;
    StepPtr Advance(PhoneCommand& command) override;

private:
    QString answer_;
    QString errorText_;
};

// "AT" after a time-out: goes on with the next book once the phone answers.
class ReadBookAT : public FixedStep {
public:
    ReadBookAT();
    StepPtr Advance(PhoneCommand& command) override;
};

}  // namespace corvane
