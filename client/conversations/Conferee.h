#pragma once
// One registered conferee: a record with no behaviour of its own.
#include <QString>

namespace parlova {

struct Conferee {
    // The display name ("Noname" when none is known).
    QString Name;
    // The telephone number or e-mail address; the registry's key.
    QString Number;
    // The theme of the conversation that holds it.
    QString Theme;
};

}  // namespace parlova
