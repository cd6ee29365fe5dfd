#include "hub/messages/BookRecords.h"

#include "common/Utf8.h"
#include "hub/engine/PubFunctions.h"
#include "hub/messages/RecordFields.h"
#include "platform/Val.h"
#include "platform/VbError.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvane {

namespace {

const QString kSource = QStringLiteral("BookRecords");
// What entry fields and book names are trimmed of.
const QString kFieldTrim = QStringLiteral("\r\n \t\"");
const QString kNameTrim = QStringLiteral("\"' ");

[[noreturn]] void RaiseSubscript()
{
    platform::Raise(platform::vberr::SubscriptOutOfRange, kSource, QStringLiteral("Subscript out of range"));
}

[[noreturn]] void RaiseInvalidCall()
{
    platform::Raise(platform::vberr::InvalidProcedureCall, kSource,
                    QStringLiteral("Invalid procedure call or argument"));
}

[[noreturn]] void RaiseTypeMismatch()
{
    platform::Raise(platform::vberr::TypeMismatch, kSource, QStringLiteral("Type mismatch"));
}

// A whole number as the runtime converts one: halves to the even neighbour,
// out of range an overflow.
qint64 RoundChecked(double value, double low, double high)
{
    if (!std::isfinite(value) || value < low - 0.5 || value > high + 0.5)
        platform::Raise(platform::vberr::Overflow, kSource, QStringLiteral("Overflow"));
    const double rounded = std::nearbyint(value);
    if (rounded < low || rounded > high)
        platform::Raise(platform::vberr::Overflow, kSource, QStringLiteral("Overflow"));
    return static_cast<qint64>(rounded);
}

// The leading number of a text (blanks skipped, 0 when there is none) as a
// whole 32-bit number.
qint32 LeadingNumber(const QString& text)
{
    return static_cast<qint32>(RoundChecked(platform::Val(text), std::numeric_limits<qint32>::min(),
                                            std::numeric_limits<qint32>::max()));
}

// A text that must be a number, as a 16-bit integer; anything else is a
// type mismatch.
qint32 IntegerOf(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        RaiseTypeMismatch();
    return static_cast<qint32>(RoundChecked(value, std::numeric_limits<qint16>::min(),
                                            std::numeric_limits<qint16>::max()));
}

// The text after the first occurrence of mark, or all of it without one.
QString After(const QString& text, QChar mark)
{
    const qsizetype at = text.indexOf(mark);
    return at < 0 ? text : text.mid(at + 1);
}

QString PadNumber(qint32 value, int width)
{
    const QString digits = QString::number(std::abs(static_cast<qint64>(value))).rightJustified(width, u'0');
    return value < 0 ? QStringLiteral("-") + digits : digits;
}

}  // namespace

BookRecords::BookRecords() = default;

BookRecords::~BookRecords() = default;

QString BookRecords::BookRecordKey(qint32 location, qint32 bookNumber)
{
    return PadNumber(location, 2) + u'.' + PadNumber(bookNumber, 5);
}

void BookRecords::AddRecord(qint32 bookNumber, qint32 location, const QString& contactName,
                            const QString& contactNumber)
{
    // An entry of a book the list does not hold could not be counted.
    if (!InList(location))
        RaiseSubscript();
    const QString key = BookRecordKey(location, bookNumber);
    auto record = std::make_shared<BookRecord>(contactNumber, contactName, location, bookNumber);
    if (records_.Exists(key))
        platform::detail::CollectionDuplicateKey(key);

    bool placed = false;
    bool bookHasRecords = false;
    if (records_.IsEmpty()) {
        records_.Add(record, key);
        placed = true;
    }
    for (qsizetype i = records_.Count(); i >= 1 && !placed; --i) {
        const BookRecord& other = *records_.Item(i);
        if (other.location != location)
            continue;
        bookHasRecords = true;
        if (other.bookNumber < bookNumber) {
            records_.Add(record, key, 0, i);
            placed = true;
        }
    }
    if (!placed) {
        if (bookHasRecords)
            records_.Add(record, key, 1);
        else
            records_.Add(record, key);
    }
    ++bookValues_[static_cast<size_t>(location)].occupied;
}

QString BookRecords::Add(qint32 bookNumber, qint32 location, const QString& contactName, const QString& contactNumber)
{
    try {
        AddRecord(bookNumber, location, contactName, contactNumber);
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

QString BookRecords::Update(qint32 bookNumber, qint32 location, const QString& contactName,
                            const QString& contactNumber)
{
    try {
        BookRecord& record = *records_.Item(BookRecordKey(location, bookNumber));
        record.contactName = contactName;
        record.contactNumber = contactNumber;
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

QString BookRecords::Delete(qint32 bookNumber, qint32 location)
{
    try {
        const QString key = BookRecordKey(location, bookNumber);
        records_.Item(key);  // raises when there is no such entry
        if (!InList(location))
            RaiseSubscript();
        records_.Remove(key);
        --bookValues_[static_cast<size_t>(location)].occupied;
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

qint32 BookRecords::Count() const { return static_cast<qint32>(records_.Count()); }

std::vector<BookRecordPtr> BookRecords::NewEnum() const
{
    std::vector<BookRecordPtr> out;
    out.reserve(static_cast<size_t>(records_.Count()));
    for (const BookRecordPtr& record : records_)
        out.push_back(record);
    return out;
}

qint32 BookRecords::IndexMin(qint32 b) const { return InList(b) ? bookValues_[static_cast<size_t>(b)].indexMin : 0; }
qint32 BookRecords::IndexMax(qint32 b) const { return InList(b) ? bookValues_[static_cast<size_t>(b)].indexMax : 0; }
qint32 BookRecords::NumberLen(qint32 b) const
{
    return InList(b) ? bookValues_[static_cast<size_t>(b)].numberLen : 0;
}
qint32 BookRecords::NameLen(qint32 b) const { return InList(b) ? bookValues_[static_cast<size_t>(b)].nameLen : 0; }
qint32 BookRecords::Occupied(qint32 b) const
{
    return InList(b) ? bookValues_[static_cast<size_t>(b)].occupied : 0;
}

void BookRecords::setIndexMin(qint32 b, qint32 value)
{
    if (InList(b))
        bookValues_[static_cast<size_t>(b)].indexMin = value;
}
void BookRecords::setIndexMax(qint32 b, qint32 value)
{
    if (InList(b))
        bookValues_[static_cast<size_t>(b)].indexMax = value;
}
void BookRecords::setNumberLen(qint32 b, qint32 value)
{
    if (InList(b))
        bookValues_[static_cast<size_t>(b)].numberLen = value;
}
void BookRecords::setNameLen(qint32 b, qint32 value)
{
    if (InList(b))
        bookValues_[static_cast<size_t>(b)].nameLen = value;
}

qint32 BookRecords::Total(qint32 b) const
{
    if (!InList(b))
        return 0;
    const qint64 total = static_cast<qint64>(IndexMax(b)) - IndexMin(b) + 1;
    return static_cast<qint32>(std::clamp<qint64>(total, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

qint32 BookRecords::FirstFreeIndex(qint32 b) const
{
    if (Occupied(b) >= Total(b))
        return -1;
    qint64 j = IndexMin(b);
    for (const BookRecordPtr& record : records_) {
        if (record->location != b)
            continue;
        if (j < record->bookNumber)
            break;
        ++j;
    }
    if (j > std::numeric_limits<qint32>::max())
        return -1;
    return static_cast<qint32>(j);
}

QString BookRecords::RemoveAll()
{
    records_.Clear();
    for (BookValues& values : bookValues_)
        values = BookValues();
    filled_ = false;
    return QString();
}

QVariant BookRecords::ResolvePhoneBookParameters(qint32 bookLocation, const QString& phoneAnswer)
{
    try {
        if (!InList(bookLocation))
            RaiseSubscript();
        const qsizetype colon = phoneAnswer.indexOf(u':');
        const qsizetype cr = phoneAnswer.indexOf(u'\r', colon + 1);
        if (cr < 0)
            RaiseInvalidCall();
        const QStringList fields = phoneAnswer.mid(colon + 1, cr - colon - 1).split(u',');
        if (fields.size() < 3)
            RaiseSubscript();
        const qint32 indexMin = LeadingNumber(After(fields[0], u'('));
        const qint32 indexMax = LeadingNumber(After(fields[0], u'-'));
        const qint32 numberLen = LeadingNumber(fields[1]);
        const qint32 nameLen = LeadingNumber(fields[2]);
        setIndexMin(bookLocation, indexMin);
        setIndexMax(bookLocation, indexMax);
        setNumberLen(bookLocation, numberLen);
        setNameLen(bookLocation, nameLen);
        return QVariant();
    } catch (const std::exception& e) {
        setIndexMin(bookLocation, 0);
        setIndexMax(bookLocation, 0);
        setNumberLen(bookLocation, 0);
        setNameLen(bookLocation, 0);
        return platform::ErrorText(e);
    }
}

QString BookRecords::ResolvePhonebookRecords(qint32 bookLocation, const QString& phoneAnswer, bool updateMode)
{
    try {
        const QStringList lines = phoneAnswer.split(u'\r');
        for (const QString& line : lines) {
            const QStringList fields = SplitFields(line);
            if (fields.size() < 4)
                continue;
            QString number = TrimSet(fields[1], kFieldTrim);
            if (ucs2K750i_)
                number = UCS2HexToText(number);
            if (IntegerOf(fields[2]) == 145 && !number.startsWith(u'+'))
                number.prepend(u'+');
            QString name = TrimSet(fields[3], kFieldTrim);
            if (ucs2_) {
                name = UCS2HexToText(name);
            } else {
                QString decoded;
                int bad = 0;
                common::UTF8Decode(decoded, bad, name);
                name = decoded;
            }
            const qint32 index = LeadingNumber(After(fields[0], u':'));
            if (updateMode)
                Update(index, bookLocation, name, number);
            else
                Add(index, bookLocation, name, number);
        }
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

QString BookRecords::ExportRow(const BookRecord& record)
{
    const QString column = GetColumnSeparater();
    return QString::number(record.location) + column + QString::number(record.bookNumber) + column +
           ExportField(record.contactName) + column + ExportField(record.contactNumber);
}

QString BookRecords::GetAllRecords() const
{
    if (!filled_)
        return QString();
    QString out;
    for (const BookRecordPtr& record : records_)
        out += ExportRow(*record) + GetRowSeparater();
    return out;
}

QString BookRecords::GetRecord(qint32 bookIndex, qint32 recordIndex) const
{
    if (!filled_)
        return QString();
    const QString key = BookRecordKey(bookIndex, recordIndex);
    if (!records_.Exists(key))
        return QString();
    return ExportRow(*records_.Item(key));
}

bool BookRecords::Find(QString& outContactName, qint32& outLocationIndex, qint32& outRecordIndex,
                       const QString& contactNumber) const
{
    for (const BookRecordPtr& record : records_) {
        if (record->contactNumber == contactNumber) {
            outContactName = record->contactName;
            outLocationIndex = record->location;
            outRecordIndex = record->bookNumber;
            return true;
        }
    }
    return false;
}

QVariant BookRecords::ResolveBookLocations(const QString& okayString)
{
    try {
        const qsizetype open = okayString.indexOf(u'(');
        const qsizetype close = okayString.indexOf(u')', open + 1);
        if (close < 0)
            RaiseInvalidCall();
        const QStringList items = okayString.mid(open + 1, close - open - 1).split(u',');

        QStringList names;
        for (qsizetype i = 0; i < items.size(); ++i)
            names.append(QString());
        bookNames_ = names;

        qsizetype taken = 0;
        for (const QString& item : items) {
            const QString candidate = TrimSet(item, kNameTrim);
            const QString stored = TrimSet(item, QStringLiteral(" "));
            if (QStringLiteral("SM,ME").contains(candidate, Qt::CaseInsensitive)) {
                bookNames_[taken++] = stored;
            } else if (QStringLiteral("0053004D,004D0045").contains(candidate, Qt::CaseInsensitive)) {
                ucs2K750i_ = true;
                bookNames_[taken++] = stored;
            }
        }
        if (taken == 0)
            return QStringLiteral("No phone books found");

        bookNames_ = bookNames_.mid(0, taken);
        bookValues_.assign(static_cast<size_t>(taken), BookValues());
        return QVariant();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

qint32 BookRecords::BookNameToIndex(const QString& nm) const
{
    for (qsizetype i = 0; i < bookNames_.size(); ++i)
        if (bookNames_[i].contains(nm, Qt::CaseInsensitive))
            return static_cast<qint32>(i);
    return -1;
}

QString BookRecords::BookName(qint32 Book) const
{
    if (Book < 0 || Book >= bookNames_.size())
        return QString();
    return bookNames_[Book];
}

bool BookRecords::IsSafeToEdit(qint32 Book) const { return Book >= 0 && Book == GetSIMBook(); }

// Before the first book list there are no books, not a failure.
qint32 BookRecords::BooksCount() const { return static_cast<qint32>(bookNames_.size()); }

qint32 BookRecords::GetSIMBook() const
{
    const qint32 book = BookNameToIndex(QStringLiteral("SM"));
    return book >= 0 ? book : BookNameToIndex(QStringLiteral("0053004D"));
}

qint32 BookRecords::GetPhoneBook() const
{
    const qint32 book = BookNameToIndex(QStringLiteral("ME"));
    return book >= 0 ? book : BookNameToIndex(QStringLiteral("004D0045"));
}

bool BookRecords::IsActual(qint32 Book) const { return Book >= 0 && Book < BooksCount(); }

QString BookRecords::GetColumnSeparater() { return QString(QChar(0)); }

QString BookRecords::GetRowSeparater() { return QString(QChar(8)); }

}  // namespace corvane
