#pragma once
// DELIVER PDUs built by hand for the message-store tests, and the answers
// a phone gives to the storage commands.
#include <QString>
#include <QStringList>

namespace storetest {

inline QString Hex2(int v) { return QStringLiteral("%1").arg(v & 0xFF, 2, 16, QLatin1Char('0')).toUpper(); }

// +15551234567 and +15559876543, as address fields.
inline const QString kAlice = QStringLiteral("0B915155214365F7");
inline const QString kBob = QStringLiteral("0B915155896745F3");
// 2024-03-15 13:45:30, zone 0.
inline const QString kStamp = QStringLiteral("42305131540300");

inline QString Ucs2Hex(const QString& text)
{
    QString out;
    for (QChar c : text)
        out += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return out;
}

// A UCS2 DELIVER; with count > 0 it is part sequence of count, reference ref.
inline QString Deliver(const QString& text, const QString& sender = kAlice, int ref = 0, int count = 0,
                       int sequence = 0)
{
    QString ud;
    if (count > 0)
        ud = QStringLiteral("050003") + Hex2(ref) + Hex2(count) + Hex2(sequence);
    ud += Ucs2Hex(text);
    return QStringLiteral("00") + (count > 0 ? QStringLiteral("44") : QStringLiteral("04")) + sender +
           QStringLiteral("0008") + kStamp + Hex2(static_cast<int>(ud.size() / 2)) + ud;
}

// The "AT+CMGL=4" answer for (slot, status, PDU) triples, alpha field empty.
struct Listed {
    int slot;
    int status;
    QString pdu;
    QString alpha = QString();
};

inline QString Listing(const QList<Listed>& messages)
{
    QString out;
    for (const Listed& m : messages) {
        const int octets = static_cast<int>((m.pdu.size() - 2) / 2);
        out += QStringLiteral("\r\n+CMGL: %1,%2,%3,%4\r\n").arg(m.slot).arg(m.status).arg(m.alpha).arg(octets) + m.pdu;
    }
    return out + QStringLiteral("\r\n\r\nOK\r\n");
}

inline const QString kLocations =
    QStringLiteral("+CPMS: (\"SM\",\"ME\",\"MT\"),(\"SM\",\"ME\",\"MT\"),(\"SM\",\"ME\")\r\n\r\nOK\r");

}  // namespace storetest
