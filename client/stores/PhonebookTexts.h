#pragma once
// What the phone-book window shows and what its procedures say and write,
// worked out without a widget: the grid rows of the books' export, the
// totals line, the sort of a header click, the column widths, the
// questions and refusals, and the values of each "Write Phonebook" order.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvane {
class BookRecords;
}

namespace parlova {

// The order a header click sorts by and the headers it leaves.
struct BookSort {
    qint32 order = 0;
    int firstKey = 0;
    int lastKey = 0;
    QStringList headers;
};

// The values of one "Write Phonebook" order, in the order its SetUp takes
// them; the owner is always "Menu".
struct BookWrite {
    QString location;
    qint32 index = 0;
    QString name;
    QString number;
    bool update = false;
    bool remove = false;
    QString fromLocation;
    qint32 fromIndex = 0;

    static QString Owner() { return QStringLiteral("Menu"); }
    bool operator==(const BookWrite&) const = default;
};

// Where a copied or moved contact goes.
struct CopyDestination {
    qint32 book = -1;
    QString text;   // "Phone memory", "SIM card"
    QString error;  // the refusal, empty when the copy may go on
};

// The procedures, for the lead-in of their error boxes.
enum class BookProcedure { Talk, Include, Add, Edit, Reread, Delete, Show, CopyMove };

class PhonebookTexts {
public:
    static const QStringList& DesignHeaders();
    static const QStringList& HeaderNames();
    static QString DesignLabel() { return QStringLiteral("Records in phonebooks"); }

    // The rows of an export of GetAllRecords that split into exactly four
    // columns (book number, index, name, number), in order.
    static QList<QStringList> ExportRows(const QString& exported);
    // The four columns of one exported row, or an empty list.
    static QStringList RecordFields(const QString& record);

    // "SIM: " total " total / " free " free    " for the SIM book, then
    // "Phone: " total " total / " free " free" for the handset book, each
    // only when the phone has that book.
    static QString Totals(const corvane::BookRecords& books, qint32 simBook, qint32 phoneBook);
    // The book a grid's column 0 names: "Phone", "SIM", else its leading
    // digits (0 when none).
    static qint32 BookNumberFromName(const QString& name, qint32 phoneBook, qint32 simBook);

    // A click on header col after the order current: Book and Index sort
    // together (generic), Name and Telephone alone (text).
    static BookSort HeaderClick(qint32 current, int col);

    // The widths of Name and Telephone at load (twips): half of what Book
    // and Index leave each, the telephone 290 less for the scroll bar.
    static QList<double> LoadWidths(double gridWidth, double bookWidth, double indexWidth);
    // The telephone column's width after a resize, none when it would be
    // negative.
    static std::optional<double> TelephoneWidth(double gridWidth, double w0, double w1, double w2);

    // "Contact " name " <" number "> is taking part in conference " theme.
    static QString TakingPart(const QString& name, const QString& number, const QString& theme);
    static QString DeleteQuestion(const QString& bookName, const QString& name, const QString& number);
    static QString RereadQuestion();
    static QString ShowQuestion();
    static QString EditQuestion();
    static QString NotRead();
    // The first line of the box an unexpected error ends a procedure with;
    // Talk and Include name the contact (and Include the conference).
    static QString LeadIn(BookProcedure procedure, const QString& name = QString(),
                          const QString& conference = QString());
    // "The " book " book location is not supported", or "The destination
    // book location is unknown".
    static CopyDestination Destination(const corvane::BookRecords& books, qint32 book);
    // A box's maximum length and the text cut to it; 0 is no limit.
    static QString Cut(const QString& text, qint32 limit);

    static BookWrite Add(const corvane::BookRecords& books, qint32 book, const QString& name,
                         const QString& number);
    static BookWrite Edit(const corvane::BookRecords& books, qint32 book, qint32 index, const QString& name,
                          const QString& number);
    static BookWrite Delete(const corvane::BookRecords& books, qint32 book, qint32 index);
    static BookWrite CopyMove(const corvane::BookRecords& books, qint32 destination, qint32 book, qint32 index,
                              const QString& name, const QString& number, bool move);
};

}  // namespace parlova
