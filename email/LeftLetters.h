#pragma once
// Letters a POP3 reader handed out but left, or may have left, on a server,
// by UIDL, shared by the reads of one account.
#include <QHash>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <utility>

namespace quenby {

enum class LeftLetter {
    TooBig,     // handed out with its headers; skipped from then on
    Undeleted,  // handed out whole, its deletion refused or not committed by
                // QUIT; only its DELE is sent again
};

class LeftLetters {
public:
    LeftLetters() = default;
    LeftLetters(std::initializer_list<std::pair<QString, LeftLetter>> letters);

    bool contains(const QString& uid) const { return letters_.contains(uid); }
    LeftLetter value(const QString& uid) const { return letters_.value(uid).why; }
    qsizetype size() const { return letters_.size(); }
    bool isEmpty() const { return letters_.isEmpty(); }
    void clear() { letters_.clear(); }
    // Remembered as the one listed last.
    void insert(const QString& uid, LeftLetter why);
    void remove(const QString& uid) { letters_.remove(uid); }

    // After a read that listed these UIDLs, in the server's order: they
    // become the ones listed last, and of the letters it did not list only
    // the `othersKept` listed most recently stay remembered.
    void Settle(const QStringList& listed, qsizetype othersKept);

    // The same letters for the same reasons, whenever listed.
    bool operator==(const LeftLetters& other) const;

private:
    struct Entry {
        LeftLetter why = LeftLetter::TooBig;
        quint64 listedAt = 0;
    };
    QHash<QString, Entry> letters_;
    quint64 clock_ = 0;
};

}  // namespace quenby
