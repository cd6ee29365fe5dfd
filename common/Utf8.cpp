#include "common/Utf8.h"

#include "platform/Ansi.h"

namespace common {

int UnsignedCharCode(int code) { return code < 0 ? code + 65536 : code; }

QString UTF8Decode(QString& text, int& badCount, const QString& bytes)
{
    text.clear();
    badCount = 0;
    int acc[4] = {0, 0, 0, 0};
    int length = 0;    // octets of the sequence being read
    int awaited = 0;   // continuation octets still to come
    for (QChar ch : bytes) {
        // A character outside the code page cannot be an octet.
        const int octet = platform::AnsiCode(ch);
        if (awaited > 0) {
            if (octet >= 0 && (octet & 0xC0) == 0x80) {
                acc[length++] = octet & 0x3F;
                --awaited;
            } else {
                ++badCount;
                awaited = 0;
                length = 0;
                continue;
            }
        } else if (octet >= 0 && octet < 0x80) {
            acc[0] = octet;
            length = 1;
        } else if (octet >= 0 && (octet & 0xE0) == 0xC0) {
            acc[0] = octet & 0x1F;
            length = 1;
            awaited = 1;
        } else if (octet >= 0 && (octet & 0xF0) == 0xE0) {
            acc[0] = octet & 0x0F;
            length = 1;
            awaited = 2;
        } else if (octet >= 0xF0 && octet <= 0xF4) {
            // Phones in UTF-8 mode store characters beyond U+FFFF (emoji) in
            // four octets; dropping them would cut names written back later.
            acc[0] = octet & 0x07;
            length = 1;
            awaited = 3;
        } else {
            ++badCount;
            continue;
        }
        if (awaited == 0) {
            int u = acc[0];
            if (length == 2)
                u = acc[0] * 64 + acc[1];
            else if (length == 3)
                u = acc[0] * 4096 + acc[1] * 64 + acc[2];
            else if (length == 4)
                u = acc[0] * 262144 + acc[1] * 4096 + acc[2] * 64 + acc[3];
            if (u > 0xFFFF && u <= 0x10FFFF) {
                text.append(QChar::highSurrogate(char32_t(u)));
                text.append(QChar::lowSurrogate(char32_t(u)));
            } else if (u > 0xFFFF) {
                ++badCount;  // beyond Unicode: F4 90 and above
            } else {
                text.append(QChar(char16_t(u)));
            }
            length = 0;
        }
    }
    return badCount > 0 ? QStringLiteral("Malformed UTF-8 string") : QString();
}

QString UTF8Encode(QString& bytes, const QString& text)
{
    bytes.clear();
    bytes.reserve(text.size() * 3);
    auto put = [&bytes](int octet) { bytes.append(platform::AnsiChar(static_cast<unsigned char>(octet))); };
    for (QChar ch : text) {
        const int u = UnsignedCharCode(static_cast<qint16>(ch.unicode()));
        if (u < 128) {
            put(u);
        } else if (u < 2048) {
            put(192 + u / 64);
            put(128 + (u & 63));
        } else {
            put(224 + u / 4096);
            put(128 + ((u / 64) & 63));
            put(128 + (u & 63));
        }
    }
    return QString();
}

QString UTF8Encode(const QString& text)
{
    QString bytes;
    UTF8Encode(bytes, text);
    return bytes;
}

}  // namespace common
