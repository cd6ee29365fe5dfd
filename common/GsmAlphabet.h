#pragma once
// Text to and from the GSM 7-bit default alphabet and its extension table.
//
// A GSM code is 0..127 for a character of the default alphabet, 128 + n for
// character n of the extension table (sent as escape 27, then n), or -1 when
// the character has none. A septet string is a text whose characters have
// the codes 0..127, one per septet.
#include <QString>

namespace common {

// code: a UTF-16 code unit, signed (U+8000 and above negative) or not.
int UnicodeToGSM(int code);
// The Unicode code of a default-alphabet code 0..127 (10, 13 and 27 give
// themselves), or -1.
int GSMCharToUnicode(int code);
// The Unicode code of an extension-table code, or -1.
int GSMExtToUnicode(int code);
// Septets to text: ESC + an unknown code gives U+00A0 and the base character;
// a trailing ESC gives nothing; a code without a character gives a space.
QString GSMToUnicode(const QString& septets);
// Text to septets: an extension character takes two (27, code), a character
// without a GSM code becomes a space.
QString ToGSMSeptets(const QString& text);
// The septets one character takes: 2 for the extension table, else 1.
int GSMSeptetCount(QChar c);
// True when every character has a GSM code (the empty text too).
bool IsGSMText(const QString& text);

}  // namespace common
