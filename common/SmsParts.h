#pragma once
// How a message text is split into SMS parts: the one rule that the SUBMIT
// encoder sends by and that the client's part counter counts by.
//
// Codings are numbered as the codec's DATA_CODING: 0 GSM 7-bit, 1 UCS2,
// 2 8-bit. 7-bit sizes are septets (an extension character takes two and is
// never split from its escape); UCS2 sizes are UTF-16 units (a surrogate pair
// is never split); 8-bit sizes are characters.
#include <QString>
#include <QStringList>

namespace common {

struct SmsParts {
    // What is sent: CR LF as LF, cut to what the coding and joining allow.
    QString text;
    // The characters of each part, without header or "(i/n)" prefix. An
    // empty text is one empty part.
    QStringList parts;
    // Joined and more than one part: each part carries a concatenation
    // header. Separate parts (not joined) begin with "(i/n)" instead.
    bool header = false;
    // Septets (7-bit), UTF-16 units (UCS2) or characters (8-bit) of text.
    int units = 0;

    int count() const { return static_cast<int>(parts.size()); }
};

// The message text as the codec keeps it: every CR LF as LF, cut to the most
// characters of the coding (joined: 39015 / 17085 / 34170; separate: 1395 /
// 585 / 1215). An unknown coding gives an empty text.
QString SmsText(const QString& text, int coding, bool joined);

// Splits a text as the encoder does: one part up to 160 septets, 70 units or
// 140 characters; longer, joined parts of 153 / 67 / 134 with a header, or
// separate parts of 155 / 65 / 135 after the prefix; at most 255 joined or 9
// separate parts (text beyond them is dropped). An unknown coding gives one
// empty part.
SmsParts SplitSms(const QString& text, int coding, bool joined);

}  // namespace common
