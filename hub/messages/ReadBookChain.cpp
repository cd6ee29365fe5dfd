#include "hub/messages/ReadBookChain.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/PhoneCommand.h"
#include "hub/engine/PubFunctions.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/WriteBookChain.h"
#include "platform/Val.h"
#include "platform/VbError.h"

#include <cmath>

namespace corvane {

namespace {

const QString kBookCount = QStringLiteral("BookCount");
const QString kLineOk = QStringLiteral(";OK\r");
const QString kLineError = QStringLiteral("ERROR;\r");

qint32 CurrentBook(PhoneCommand& command) { return VariantLong(command.Bag(bag::BookIndex)); }

void AppendErrorDesc(PhoneCommand& command, const QString& text)
{
    command.setBag(bag::ErrorDesc, VariantText(command.Bag(bag::ErrorDesc)) + text);
}

// P(x) = x * 90 / "BookCount" + 10 with x = i + tenths / 10, a half going to
// the even neighbour. Worked in tenths so that no rounding error moves a
// half.
void SetBookProgress(PhoneCommand& command, qint32 tenths)
{
    const qint32 count = VariantLong(command.Bag(kBookCount));
    const double x = static_cast<double>(CurrentBook(command)) * 10 + tenths;
    const double p = count > 0 ? std::nearbyint(x * 9 / count) + 10 : 100;
    command.SetProgress(static_cast<qint32>(qBound(0.0, p, 100.0)));
}

// The next book, or the end of the chain after the last.
StepPtr NextBook(PhoneCommand& command, qint32 booksCount)
{
    BookRecords& book = BookOf(command);
    const qint32 i = CurrentBook(command);
    if (i + 1 >= booksCount)
        return nullptr;
    command.setBag(bag::BookIndex, i + 1);
    return std::make_shared<ReadBookMemory>(QStringLiteral("AT+CPBS=") + book.BookName(i + 1) + kCR);
}

}  // namespace

BookRecords& BookOf(PhoneCommand& command)
{
    return platform::Required(command.BagObject<BookRecords>(bag::Book), QStringLiteral("PhoneCommand"));
}

StepPtr ReadBookSetUp(PhoneCommand& command, const SetUpArguments&)
{
    command.setBag(kBookCount, 0);
    return std::make_shared<ReadBookFind>();
}

ReadBookFind::ReadBookFind()
    : FixedStep(QStringLiteral("AT+CPBS=?\r"), QStringLiteral("+CPBS;OK\r"), kLineError, 1000) {}

StepPtr ReadBookFind::Advance(PhoneCommand& command)
{
    command.SetProgress(10);
    if (command.Result() != dorrak::OK_ANSWER)
        return nullptr;
    BookRecords& book = BookOf(command);
    const QVariant failure = book.ResolveBookLocations(answer_);
    if (!VariantIsEmpty(failure)) {
        command.setBag(bag::ErrorDesc, VariantText(failure));
        return nullptr;
    }
    if (book.BooksCount() <= 0) {
        command.setBag(bag::ErrorDesc, QStringLiteral("No book locations found"));
        return nullptr;
    }
    command.setBag(kBookCount, book.BooksCount());
    command.setBag(bag::BookIndex, 0);
    return std::make_shared<ReadBookMemory>(QStringLiteral("AT+CPBS=") + book.BookName(0) + kCR);
}

ReadBookMemory::ReadBookMemory(const QString& command) : FixedStep(command, kLineOk, kLineError, 1000) {}

StepPtr ReadBookMemory::Advance(PhoneCommand& command)
{
    switch (command.Result()) {
    case dorrak::OK_ANSWER:
        SetBookProgress(command, 2);
        return std::make_shared<ReadBookParam>();
    case dorrak::ERROR_ANSWER:
        // A book the phone will not select is skipped without a word.
        SetBookProgress(command, 10);
        return NextBook(command, VariantLong(command.Bag(kBookCount)));
    case dorrak::TIME_OUT:
        return std::make_shared<ReadBookAT>();
    default:
        return nullptr;
    }
}

ReadBookParam::ReadBookParam() : FixedStep(QStringLiteral("AT+CPBR=?\r"), kLineOk, kLineError, 5000) {}

StepPtr ReadBookParam::Advance(PhoneCommand& command)
{
    BookRecords& book = BookOf(command);
    const qint32 i = CurrentBook(command);
    switch (command.Result()) {
    case dorrak::OK_ANSWER: {
        const QVariant failure = book.ResolvePhoneBookParameters(i, answer_);
        if (VariantIsEmpty(failure)) {
            SetBookProgress(command, 4);
            return std::make_shared<ReadBookRecords>(QStringLiteral("AT+CPBR=") + QString::number(book.IndexMin(i)) +
                                                     u',' + QString::number(book.IndexMax(i)) + kCR);
        }
        AppendErrorDesc(command, kCRLF + QStringLiteral("Book=") + book.BookName(i) + u':' + VariantText(failure));
        SetBookProgress(command, 10);
        return NextBook(command, book.BooksCount());
    }
    case dorrak::ERROR_ANSWER:
        AppendErrorDesc(command, kCRLF + QStringLiteral("Book=") + book.BookName(i) + QStringLiteral(": reading error"));
        SetBookProgress(command, 10);
        return NextBook(command, book.BooksCount());
    case dorrak::TIME_OUT:
        return std::make_shared<ReadBookAT>();
    default:
        return nullptr;
    }
}

ReadBookRecords::ReadBookRecords(const QString& command) : FixedStep(command, kLineOk, kLineError, 100000) {}

void ReadBookRecords::setErrorAnswer(const QString& text) { errorText_ = PhoneErrorText(text, false); }

StepPtr ReadBookRecords::Advance(PhoneCommand& command)
{
    BookRecords& book = BookOf(command);
    const qint32 i = CurrentBook(command);
    SetBookProgress(command, 10);
    if (command.Result() == dorrak::OK_ANSWER) {
        const QString failure = book.ResolvePhonebookRecords(i, answer_);
        if (failure.isEmpty())
            book.setFilled(true);
        else
            AppendErrorDesc(command, QStringLiteral(" Book=") + book.BookName(i) + u':' + failure);
    } else if (command.Result() == dorrak::ERROR_ANSWER) {
        const qsizetype colon = errorText_.indexOf(u':');
        const QString rest = colon < 0 ? errorText_ : errorText_.mid(colon + 1);
        // The phone's "not found" for a book without entries: read, and empty.
        if (platform::Val(rest) == 22 || rest.contains(QStringLiteral("not found"), Qt::CaseInsensitive))
            book.setFilled(true);
        else
            AppendErrorDesc(command, QStringLiteral(" Book=") + book.BookName(i) + u'-' + rest);
    }
    if (command.Result() == dorrak::TIME_OUT)
        return std::make_shared<ReadBookAT>();
    return NextBook(command, book.BooksCount());
}

ReadBookAT::ReadBookAT() : FixedStep(QStringLiteral("AT\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), 5000) {}

StepPtr ReadBookAT::Advance(PhoneCommand& command)
{
    if (command.Result() != dorrak::OK_ANSWER)
        return nullptr;
    SetBookProgress(command, 10);
    return NextBook(command, VariantLong(command.Bag(kBookCount)));
}

void registerPhoneBookChains()
{
    ChainRegistry::Register(QStringLiteral("ReadBook"), &ReadBookSetUp);
    ChainRegistry::Register(QStringLiteral("WriteBook"), &WriteBookSetUp);
}

}  // namespace corvane
