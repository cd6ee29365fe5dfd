#include "hub/messages/WriteBookChain.h"
#include "hub/engine/BagKeys.h"

#include "common/Utf8.h"
#include "hub/engine/PhoneCommand.h"
#include "hub/engine/PubFunctions.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/ReadBookChain.h"

namespace corvane {

namespace {

const QString kFirstLap = QStringLiteral("FirstLap");
const QString kLineOk = QStringLiteral(";OK\r");
const QString kLineError = QStringLiteral("ERROR;\r");

QString Index(PhoneCommand& command, const QString& key) { return QString::number(VariantLong(command.Bag(key))); }

QString SelectCommand(const QString& bookName) { return QStringLiteral("AT+CPBS=") + bookName + kCR; }

// The fault of the entry in the Bag, judged by how the book sends names.
QString EntryFault(PhoneCommand& command, bool nameAsUCS2)
{
    return WriteBookEntryFault(VariantText(command.Bag(bag::ContactNumber)), VariantText(command.Bag(bag::ContactName)),
                               nameAsUCS2);
}

}  // namespace

QString WriteBookEntryFault(const QString& contactNumber, const QString& contactName, bool nameAsUCS2)
{
    for (QChar c : contactNumber) {
        const bool dialable = (c >= u'0' && c <= u'9') || c == u'+' || c == u'*' || c == u'#';
        if (!dialable)
            return CMEErrorText(27);  // "Invalid characters in dial string"
    }
    if (!nameAsUCS2) {
        for (QChar c : contactName)
            if (c == u'"' || c.unicode() < 32)
                return CMEErrorText(25);  // "Invalid characters in text string"
    }
    return QString();
}

QString TextToUCS2Hex(const QString& text)
{
    QString out;
    out.reserve(text.size() * 4);
    for (QChar c : text)
        out += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return out;
}

StepPtr WriteBookSetUp(PhoneCommand& command, const SetUpArguments&)
{
    const QString location = VariantText(command.Bag(bag::LocationName));
    if (location.isEmpty())
        return std::make_shared<WriteBookMemory>(SelectCommand(VariantText(command.Bag(bag::FromLocationName))));

    command.setBag(kFirstLap, true);
    // Checked before anything reaches the phone; WriteBookMemory checks
    // again in case the Bag changes after set-up.
    const BookRecordsPtr book = command.BagObject<BookRecords>(QStringLiteral("Book"));
    const QString fault = EntryFault(command, book && book->UCS2());
    if (!fault.isEmpty())
        return std::make_shared<WriteBookRefused>(fault);
    return std::make_shared<WriteBookMemory>(SelectCommand(location));
}

WriteBookMemory::WriteBookMemory(const QString& command) : FixedStep(command, kLineOk, kLineError, 1000) {}

StepPtr WriteBookMemory::Advance(PhoneCommand& command)
{
    if (command.Result() != dorrak::OK_ANSWER)
        return nullptr;
    const QString location = VariantText(command.Bag(bag::LocationName));
    if (!location.isEmpty() && VariantBoolean(command.Bag(kFirstLap))) {
        BookRecords& book = BookOf(command);
        command.setBag(kFirstLap, false);
        const QString fault = EntryFault(command, book.UCS2());
        if (!fault.isEmpty()) {
            command.setBag(bag::ErrorAnswer, fault);
            command.SetResult(dorrak::ERROR_ANSWER);
            return nullptr;
        }
        QString name = VariantText(command.Bag(bag::ContactName));
        QString number = VariantText(command.Bag(bag::ContactNumber));
        if (book.UCS2()) {
            name = TextToUCS2Hex(name);
            if (book.UCS2_K750i())
                number = TextToUCS2Hex(number);
        } else {
            name = common::UTF8Encode(name);
        }
        if (!VariantBoolean(command.Bag(bag::Update)))
            command.setBag(bag::BookIndex, book.FirstFreeIndex(book.BookNameToIndex(location)));
        const QString write = QStringLiteral("AT+CPBW=") + Index(command, bag::BookIndex) + QStringLiteral(",\"") +
                              number + QStringLiteral("\",,\"") + name + QStringLiteral("\"") + kCR;
        command.SetProgress(20);
        return std::make_shared<WriteBookRecord>(write);
    }
    if (VariantBoolean(command.Bag(bag::Delete))) {
        command.SetProgress(50);
        return std::make_shared<WriteBookDelete>(QStringLiteral("AT+CPBW=") + Index(command, bag::FromBookIndex) + kCR);
    }
    return nullptr;
}

WriteBookRecord::WriteBookRecord(const QString& command) : FixedStep(command, kLineOk, kLineError, 10000) {}

void WriteBookRecord::setErrorAnswer(const QString& text) { errorText_ = PhoneErrorText(text, false); }

StepPtr WriteBookRecord::Advance(PhoneCommand& command)
{
    command.SetProgress(40);
    if (command.Result() == dorrak::OK_ANSWER)
        return std::make_shared<WriteBookRead>(QStringLiteral("AT+CPBR=") + Index(command, bag::BookIndex) + kCR);
    if (command.Result() == dorrak::ERROR_ANSWER)
        command.setBag(bag::ErrorAnswer, errorText_);
    return nullptr;
}

WriteBookRead::WriteBookRead(const QString& command) : FixedStep(command, kLineOk, kLineError, 10000) {}

StepPtr WriteBookRead::Advance(PhoneCommand& command)
{
    command.SetProgress(70);
    const QString location = VariantText(command.Bag(bag::LocationName));
    if (command.Result() == dorrak::OK_ANSWER) {
        BookRecords& book = BookOf(command);
        // The local copy takes what the phone stored, not what was sent.
        book.ResolvePhonebookRecords(book.BookNameToIndex(location), answer_, VariantBoolean(command.Bag(bag::Update)));
        if (VariantBoolean(command.Bag(bag::Delete)))
            return std::make_shared<WriteBookMemory>(SelectCommand(VariantText(command.Bag(bag::FromLocationName))));
        return nullptr;
    }
    if (command.Result() == dorrak::ERROR_ANSWER)
        command.setBag(bag::ErrorAnswer, QStringLiteral("Failed to read from ") + location + QStringLiteral(", ") +
                                         Index(command, bag::BookIndex));
    return nullptr;
}

WriteBookDelete::WriteBookDelete(const QString& command) : FixedStep(command, kLineOk, kLineError, 10000) {}

void WriteBookDelete::setErrorAnswer(const QString& text) { errorText_ = PhoneErrorText(text, false); }

StepPtr WriteBookDelete::Advance(PhoneCommand& command)
{
    if (command.Result() == dorrak::OK_ANSWER) {
        BookRecords& book = BookOf(command);
        book.Delete(VariantLong(command.Bag(bag::FromBookIndex)),
                    book.BookNameToIndex(VariantText(command.Bag(bag::FromLocationName))));
    } else if (command.Result() == dorrak::ERROR_ANSWER) {
        command.setBag(bag::ErrorAnswer, errorText_);
    }
    return nullptr;
}

// No command text: the gate writes nothing and the step ends at once.
WriteBookRefused::WriteBookRefused(QString reason)
    : FixedStep(QString(), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), 0), reason_(std::move(reason)) {}

StepPtr WriteBookRefused::Advance(PhoneCommand& command)
{
    command.setBag(bag::ErrorAnswer, reason_);
    command.SetResult(dorrak::ERROR_ANSWER);
    return nullptr;
}

}  // namespace corvane
