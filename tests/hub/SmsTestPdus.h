#pragma once
// PDUs built by hand for the codec tests: DELIVERs in the 8-bit coding, so
// a user-data header can be anything the test needs.
#include "platform/Ansi.h"

#include <QString>

namespace smstest {

inline QString hex2(int v) { return QStringLiteral("%1").arg(v & 0xFF, 2, 16, QLatin1Char('0')).toUpper(); }

inline QString ansiHex(const QString& text) { return QString::fromLatin1(platform::TextToAnsi(text).toHex().toUpper()); }

// +15551234567
inline const QString kSender = QStringLiteral("0B915155214365F7");

// A DELIVER with an 8-bit text; header is the information elements as hex
// (no header indicator when empty).
inline QString Deliver8(const QString& header, const QString& text, const QString& sender = kSender)
{
    QString ud = header.isEmpty() ? QString() : hex2(header.size() / 2) + header;
    ud += ansiHex(text);
    return QStringLiteral("00") + (header.isEmpty() ? QStringLiteral("04") : QStringLiteral("44")) + sender +
           QStringLiteral("0004") + QStringLiteral("42305131540300") + hex2(ud.size() / 2) + ud;
}

// A concatenation element with an 8-bit reference.
inline QString Concat8(int reference, int count, int sequence)
{
    return QStringLiteral("0003") + hex2(reference) + hex2(count) + hex2(sequence);
}

// A STATUS-REPORT for reference mr from +15551234567, discharged
// 2024-03-15 13:55:30: delivered.
inline QString StatusReport(int mr)
{
    return QStringLiteral("0006") + hex2(mr) + kSender + QStringLiteral("42305131540300") +
           QStringLiteral("42305131550300") + QStringLiteral("00");
}

}  // namespace smstest

