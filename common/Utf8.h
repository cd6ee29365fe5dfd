#pragma once
// UTF-8 carried in ordinary text values as one character per octet: the
// Windows-1252 character of that octet (see platform/Ansi.h). The encoder
// writes one-, two- and three-octet forms only: the halves of a surrogate
// pair are encoded one by one, and stored files rely on it. The decoder also
// reads four-octet forms (as phones store emoji) into a surrogate pair.
#include <QString>

namespace common {

// Decodes bytes into text. badCount counts octets that break or cannot start
// a sequence (each is dropped, with the unfinished sequence); a sequence
// unfinished at the end is dropped without being counted. Returns "" or
// "Malformed UTF-8 string"; text holds what was decoded either way.
QString UTF8Decode(QString& text, int& badCount, const QString& bytes);
// Encodes text into bytes; the result itself is always empty.
QString UTF8Encode(QString& bytes, const QString& text);
// The same, giving the bytes.
QString UTF8Encode(const QString& text);
// A signed 16-bit character code as 0..65535.
int UnsignedCharCode(int code);

}  // namespace common
