#pragma once
// The low-level pieces of the PDU codec: a cursor over the hex digits of a
// PDU, GSM 7-bit packing, semi-octet numbers and time stamps. Internal to
// the hub.
#include <QDateTime>
#include <QString>

namespace corvane {

class SMSPdu {
public:
    explicit SMSPdu(const QString& hex) : hex_(hex) {}

    // Positions count the remaining digits from 1. A missing or non-hex
    // digit reads 0.
    int Octet(qsizetype p) const;
    // Up to n digits from position p (fewer when the text ends).
    QString Digits(qsizetype p, qsizetype n) const;
    void Skip(qsizetype n);
    QString Rest() const;
    qsizetype Remaining() const;

    // Whether the text is hex digits in pairs, as every PDU is.
    static bool HexOctets(const QString& text);
    // Septets (codes 0..127) packed as hex, only the octets they fill.
    static QString Pack7(const QString& septets);
    // The first count septets of packed hex, never more than its octets hold.
    static QString Unpack7(const QString& hex, qsizetype count);
    // Semi-octet digits in swapped pairs (an odd count padded with "F").
    static QString SwapDigits(const QString& digits);
    // Swapped pairs back to digits; one trailing "F" removed.
    static QString UnswapDigits(const QString& semiOctets);

    // The year that ends in the two digits and lies from 89 years before to
    // 10 years after currentYear.
    static int ExpandYear(int twoDigits, int currentYear);
    // Seven octets of a time stamp (14 digits) into a wall-clock date and
    // its zone in quarter hours; raises when a digit is missing. A date or
    // time digit that is not decimal gives a null date, a zone that cannot
    // be read zone 0.
    static QDateTime TimeStamp(const QString& digits, int& zone, int currentYear);
    // The seven octets of an absolute validity period, zone included.
    static QString EncodeTimeStamp(const QDateTime& when, int zone);

private:
    QString hex_;
    qsizetype pos_ = 0;
};

}  // namespace corvane
