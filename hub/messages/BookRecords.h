#pragma once
// The phone's phone books as last read: the books held (the SIM book and the
// handset book only), the index range and field lengths of each, and one
// BookRecord per entry. The client holds one instance for the life of the
// program and hands it to the "ReadBook" and "WriteBook" chains in the Bag
// item "Book"; they fill and change that very object. The client reads it
// back through the members below and the exported text.
//
// Members that can fail return "" or "description (number)"; none of them
// raises.
#include "hub/messages/BookRecord.h"
#include "platform/Collection.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>
#include <vector>

namespace corvane {

using BookRecordPtr = std::shared_ptr<BookRecord>;

class BookRecords {
public:
    BookRecords();
    ~BookRecords();
    BookRecords(const BookRecords&) = delete;
    BookRecords& operator=(const BookRecords&) = delete;

    // True once a book's entries were read (set by the read chain).
    bool Filled() const { return filled_; }
    void setFilled(bool value) { filled_ = value; }
    // Names travel as UCS2 hex, four hex digits per UTF-16 code unit.
    bool UCS2() const { return ucs2_; }
    void setUCS2(bool value) { ucs2_ = value; }
    // Numbers travel as UCS2 hex too; set when the phone lists its books in
    // hex form, and never cleared here.
    bool UCS2_K750i() const { return ucs2K750i_; }
    void setUCS2_K750i(bool value) { ucs2K750i_ = value; }

    QString Add(qint32 bookNumber, qint32 location, const QString& contactName, const QString& contactNumber);
    QString Update(qint32 bookNumber, qint32 location, const QString& contactName, const QString& contactNumber);
    QString Delete(qint32 bookNumber, qint32 location);
    qint32 Count() const;
    // The entries in collection order, as they stand now.
    std::vector<BookRecordPtr> NewEnum() const;

    // Per-book values; 0 for a position outside the book list, and setters
    // ignore such a position.
    qint32 IndexMin(qint32 bookLocation) const;
    void setIndexMin(qint32 bookLocation, qint32 value);
    qint32 IndexMax(qint32 bookLocation) const;
    void setIndexMax(qint32 bookLocation, qint32 value);
    qint32 NumberLen(qint32 bookLocation) const;
    void setNumberLen(qint32 bookLocation, qint32 value);
    qint32 NameLen(qint32 bookLocation) const;
    void setNameLen(qint32 bookLocation, qint32 value);
    qint32 Occupied(qint32 bookLocation) const;
    qint32 Total(qint32 bookLocation) const;
    // The lowest free index of the book by the local copy, -1 when full.
    qint32 FirstFreeIndex(qint32 bookLocation) const;

    // Empties the records and zeroes the per-book values; the book list and
    // the two encoding switches stay.
    QString RemoveAll();

    // The answer to "AT+CPBR=?" into the book's range and lengths; an empty
    // value on success.
    QVariant ResolvePhoneBookParameters(qint32 bookLocation, const QString& phoneAnswer);
    // "+CPBR:" entry lines into the records: added, or updated when
    // updateMode is set.
    QString ResolvePhonebookRecords(qint32 bookLocation, const QString& phoneAnswer, bool updateMode = false);

    // Exported text: columns parted by GetColumnSeparater, every row ended by
    // GetRowSeparater; "" while not Filled.
    QString GetAllRecords() const;
    QString GetRecord(qint32 bookIndex, qint32 recordIndex) const;

    // The first entry whose number equals contactNumber exactly; the outputs
    // are left alone when there is none.
    bool Find(QString& outContactName, qint32& outLocationIndex, qint32& outRecordIndex,
              const QString& contactNumber) const;

    // The answer to "AT+CPBS=?" into the book list; an empty value on
    // success, else "No phone books found" or the error text.
    QVariant ResolveBookLocations(const QString& okayString);
    // The first book whose stored name contains nm (case ignored), or -1.
    qint32 BookNameToIndex(const QString& nm) const;
    // The stored name, double quotes included; "" outside the list.
    QString BookName(qint32 Book) const;
    bool IsSafeToEdit(qint32 Book) const;
    qint32 BooksCount() const;
    qint32 GetSIMBook() const;
    qint32 GetPhoneBook() const;
    bool IsActual(qint32 Book) const;
    static QString GetColumnSeparater();
    static QString GetRowSeparater();

    // "01.00023": book position and entry index, zero-padded.
    static QString BookRecordKey(qint32 location, qint32 bookNumber);

private:
    struct BookValues {
        qint32 indexMin = 0;
        qint32 indexMax = 0;
        qint32 numberLen = 0;
        qint32 nameLen = 0;
        qint32 occupied = 0;
    };
    bool InList(qint32 book) const { return book >= 0 && book < static_cast<qint32>(bookValues_.size()); }
    void AddRecord(qint32 bookNumber, qint32 location, const QString& contactName, const QString& contactNumber);
    static QString ExportRow(const BookRecord& record);

    bool filled_ = false;
    bool ucs2_ = false;
    bool ucs2K750i_ = false;
    platform::Collection<BookRecordPtr> records_;
    // Empty until the first book list; the per-book values run parallel.
    QStringList bookNames_;
    std::vector<BookValues> bookValues_;
};

using BookRecordsPtr = std::shared_ptr<BookRecords>;

// Why the entry cannot be written as it stands ("" when it can): a number
// outside 0-9 + * #, or, unless names go as UCS2 hex, a name holding a
// double quote or a control character. Either would end the AT command
// early or smuggle a second one in.
QString WriteBookEntryFault(const QString& contactNumber, const QString& contactName, bool nameAsUCS2);

}  // namespace corvane
