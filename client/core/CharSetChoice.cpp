#include "client/core/CharSetChoice.h"

namespace parlova {
namespace {

constexpr CharSetEntry kEntries[] = {
    {"Default", 1},          {"Symbol", 2},       {"OEM", 255},     {"ANSI", 0},      {"Russian", 204},
    {"Eastern Europe", 238}, {"Greek", 161},      {"Turkish", 162}, {"Baltic", 186},  {"Hebrew", 177},
    {"Arabic", 178},         {"Japanese", 128},   {"Korean", 129},  {"Simplified Chinese", 134},
    {"Traditional Chinese", 136},
};

}  // namespace

std::span<const CharSetEntry> CharSetChoice::Entries() { return kEntries; }

int CharSetChoice::IndexOf(qint32 charset)
{
    for (size_t i = 0; i < std::size(kEntries); ++i)
        if (kEntries[i].charset == charset)
            return int(i);
    return -1;
}

QString CharSetChoice::Caption() { return QStringLiteral("Choose Character Set"); }
QString CharSetChoice::SampleLabel() { return QStringLiteral("Type some text to test your selection:"); }
QString CharSetChoice::ListLabel() { return QStringLiteral("Charset:"); }

QString CharSetChoice::Warning()
{
    return QStringLiteral("WARNING! If you are not sure which charset to choose, leave it as is and press Cancel.");
}

QString CharSetChoice::NoChoicePrompt()
{
    return QStringLiteral("Please choose one of the listed charsets.\r\rTry again or press Cancel!");
}

}  // namespace parlova
