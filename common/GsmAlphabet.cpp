#include "common/GsmAlphabet.h"

#include "common/Utf8.h"

#include <array>

namespace common {
namespace {

// The default alphabet; 10, 13 and 27 stand for themselves.
constexpr std::array<char16_t, 128> kDefault = {
    0x0040, 0x00A3, 0x0024, 0x00A5, 0x00E8, 0x00E9, 0x00F9, 0x00EC,
    0x00F2, 0x00C7, 0x000A, 0x00D8, 0x00F8, 0x000D, 0x00C5, 0x00E5,
    0x0394, 0x005F, 0x03A6, 0x0393, 0x039B, 0x03A9, 0x03A0, 0x03A8,
    0x03A3, 0x0398, 0x039E, 0x001B, 0x00C6, 0x00E6, 0x00DF, 0x00C9,
    0x0020, 0x0021, 0x0022, 0x0023, 0x00A4, 0x0025, 0x0026, 0x0027,
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x00A1, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,
    0x0058, 0x0059, 0x005A, 0x00C4, 0x00D6, 0x00D1, 0x00DC, 0x00A7,
    0x00BF, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x00E4, 0x00F6, 0x00F1, 0x00FC, 0x00E0};

struct Ext {
    int code;
    char16_t unicode;
};
constexpr std::array<Ext, 9> kExtension = {{{20, 0x005E}, {40, 0x007B}, {41, 0x007D}, {47, 0x005C},
                                             {60, 0x005B}, {61, 0x007E}, {62, 0x005D}, {64, 0x007C},
                                             {101, 0x20AC}}};

constexpr int kEscape = 27;

// Every character of both tables lies below U+0400 except the euro sign, so
// a table of that many entries answers any character at once.
constexpr int kTableSize = 0x400;
constexpr char16_t kEuro = 0x20AC;

constexpr std::array<qint16, kTableSize> BuildLookup()
{
    std::array<qint16, kTableSize> table{};
    for (auto& t : table)
        t = -1;
    for (const Ext& e : kExtension)
        if (e.unicode < kTableSize)
            table[e.unicode] = static_cast<qint16>(128 + e.code);
    // The default alphabet wins where a character is in both.
    for (int i = 127; i >= 0; --i)
        table[kDefault[size_t(i)]] = static_cast<qint16>(i);
    // Control characters (escape included) have no code of their own.
    for (int c = 0; c < 32; ++c)
        table[size_t(c)] = -1;
    table[10] = 10;
    table[13] = 13;
    return table;
}

constexpr std::array<qint16, kTableSize> kLookup = BuildLookup();

constexpr int EuroCode()
{
    for (const Ext& e : kExtension)
        if (e.unicode == kEuro)
            return 128 + e.code;
    return -1;
}

}  // namespace

int UnicodeToGSM(int code)
{
    const int u = UnsignedCharCode(code);
    if (u >= 0 && u < kTableSize)
        return kLookup[size_t(u)];
    return u == kEuro ? EuroCode() : -1;
}

int GSMCharToUnicode(int code)
{
    if (code < 0 || code > 127)
        return -1;
    return kDefault[code];
}

int GSMExtToUnicode(int code)
{
    if (code == 10)
        return 10;
    for (const Ext& e : kExtension)
        if (e.code == code)
            return e.unicode;
    return -1;
}

QString GSMToUnicode(const QString& septets)
{
    QString out;
    out.reserve(septets.size());
    bool escape = false;
    for (QChar ch : septets) {
        const int code = ch.unicode();
        if (escape) {
            escape = false;
            const int ext = GSMExtToUnicode(code);
            if (ext >= 0) {
                out.append(QChar(char16_t(ext)));
                continue;
            }
            out.append(QChar(char16_t(0x00A0)));
        }
        const int u = GSMCharToUnicode(code);
        if (u < 0)
            out.append(QChar(u' '));
        else if (u == kEscape)
            escape = true;
        else
            out.append(QChar(char16_t(u)));
    }
    return out;
}

QString ToGSMSeptets(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const int g = UnicodeToGSM(static_cast<qint16>(ch.unicode()));
        if (g < 0) {
            out.append(QChar(u' '));
        } else if (g >= 128) {
            out.append(QChar(char16_t(kEscape)));
            out.append(QChar(char16_t(g - 128)));
        } else {
            out.append(QChar(char16_t(g)));
        }
    }
    return out;
}

int GSMSeptetCount(QChar c) { return UnicodeToGSM(c.unicode()) >= 128 ? 2 : 1; }

bool IsGSMText(const QString& text)
{
    for (QChar ch : text)
        if (UnicodeToGSM(ch.unicode()) < 0)
            return false;
    return true;
}

}  // namespace common
