#pragma once
// What the contact picker shows: its choice of books and the contact lines
// of the chosen book(s), taken from the phone-book records' exported text,
// and the type-ahead search over those lines.
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace corvane {
class BookRecords;
}

namespace parlova {

class ContactPicker {
public:
    struct BookChoice {
        QString text;
        // The handset book's number, the SIM book's, or the sum of both
        // plus one for the two together (equal to neither when both exist).
        qint32 code;
    };

    // "Phone", "SIM" and the two joined by " & ", in that order.
    static QList<BookChoice> BookChoices(const corvane::BookRecords& books);
    // "name <number>" for every entry the code stands for, in export order.
    static QStringList Lines(const corvane::BookRecords& books, qint32 code);
    static QStringList Lines(const QString& exported, qint32 phoneBook, qint32 simBook, qint32 code);
    // The first line beginning with typed (case ignored); current when none
    // does; -1 for an empty list.
    static qint32 Search(const QStringList& lines, const QString& typed, qint32 current);
};

}  // namespace parlova
