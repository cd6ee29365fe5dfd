#pragma once
// Letters a POP3 reader left on a server on purpose, by UIDL, shared by the
// reads of one account.
#include <QHash>
#include <QString>

namespace quenby {

enum class LeftLetter {
    TooBig,     // handed out with its headers; skipped from then on
    Undeleted,  // handed out whole but refused by DELE; only its DELE is sent again
};

using LeftLetters = QHash<QString, LeftLetter>;

}  // namespace quenby
