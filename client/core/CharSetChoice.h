#pragma once
// What the character-set dialog offers and says. Font character sets mean
// nothing to Qt: they are kept beside a font as data, shown by name.
#include <QString>
#include <QtGlobal>

#include <span>

namespace parlova {

struct CharSetEntry {
    const char* name;
    qint32 charset;
};

class CharSetChoice {
public:
    // The list's entries in the order shown.
    static std::span<const CharSetEntry> Entries();
    // The position of the entry of that set, -1 when none has it.
    static int IndexOf(qint32 charset);

    static QString Caption();
    static QString SampleLabel();
    static QString ListLabel();
    static QString Warning();
    // The stop box of OK without an entry, titled with the caption.
    static QString NoChoicePrompt();
};

}  // namespace parlova
