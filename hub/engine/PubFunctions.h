#pragma once
// Text functions shared by the step chains. Pure: no state, no I/O, and no
// error ever leaves them.
#include <QString>

namespace corvane {

// The text without the leading and trailing characters of the set; an empty
// set means CR, LF, blank, backspace and tab.
QString TrimSet(const QString& text, const QString& set = QString());
// A UCS2 text written as hexadecimal digits, four per code unit. A text
// whose length is not a multiple of 4, or that holds anything but hex
// digits, comes back unchanged.
QString UCS2HexToText(const QString& text);
// The name in an identification answer that ends with CR LF "OK" CR LF: the
// text after the first ":" when there is one, without those six characters.
QString ParseModelName(const QString& answer);
// Writes out single-digit ranges: "0-3" gives "0123".
QString ExpandRanges(const QString& list);
// A readable text for an error answer of the phone; cmsTable selects the
// message-service table, else the equipment table.
QString PhoneErrorText(const QString& answer, bool cmsTable);
QString CMEErrorText(qint32 code);
QString CMSErrorText(qint32 code);

}  // namespace corvane
