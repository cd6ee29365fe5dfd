#pragma once
// PDUs built by hand for the codec tests: DELIVERs in the 8-bit coding, so
// a user-data header can be anything the test needs.
#include "common/GsmAlphabet.h"
#include "hub/messages/SMSPdu.h"
#include "platform/Ansi.h"

#include <QList>
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

// PDUs as phones send them, cut short or garbled, and what the codec makes
// of each: the text that is there, or its error.
struct OddPdu {
    const char* name;
    QString pdu;
    QString text;   // when error is empty
    QString error;  // the codec's error text
};

inline QList<OddPdu> OddPdus()
{
    const QString stamp = QStringLiteral("42305131540300");
    const QString good = Deliver8(QString(), QStringLiteral("readable"));
    // A port-addressing header of seven octets (eight septets), then text;
    // 93 septets announced and 79 octets sent: 90 whole septets arrive.
    const QString words =
        QStringLiteral("Ringtone 4 of 7, sent by a phone that announced more septets than it sent in the end.");
    const QString ports = QStringLiteral("0605040B8423F0");
    const QString septets = common::ToGSMSeptets(QString(8, u' ') + words.left(85));
    const QString announced = ports + corvane::SMSPdu::Pack7(septets).mid(14);
    return {
        {"7-bit with a header, cut in its text",
         QStringLiteral("0044") + kSender + QStringLiteral("0000") + stamp + hex2(93) + announced.left(2 * 79),
         words.left(82), QString()},
        // 160 octets announced, two characters and half of a third sent.
        {"UCS2 cut in its text",
         QStringLiteral("0004") + kSender + QStringLiteral("0008") + stamp + hex2(160) + QStringLiteral("0048006900"),
         QStringLiteral("Hi"), QString()},
        // The header claims 32 octets; three are there.
        {"header longer than the data",
         QStringLiteral("0044") + kSender + QStringLiteral("0004") + stamp + hex2(40) + QStringLiteral("20000307"),
         QString(), QStringLiteral("Truncated PDU (5)")},
        {"cut in its time stamp", good.left(30), QString(), QStringLiteral("Truncated PDU (5)")},
        {"not hex", good.chopped(2) + QStringLiteral("G1"), QString(), QStringLiteral("Invalid PDU (5)")},
        {"odd number of digits", good.chopped(1), QString(), QStringLiteral("Invalid PDU (5)")},
    };
}

}  // namespace smstest

