#pragma once
#include <QString>

namespace platform {

// The leading number of a text, as the BASIC runtime reads it: blanks, tabs
// and line feeds are skipped anywhere, "&H" and "&O" prefixes select hex and
// octal, reading stops at the first character that cannot continue the
// number, and a text with no number gives 0.
double Val(const QString& text);

}  // namespace platform
