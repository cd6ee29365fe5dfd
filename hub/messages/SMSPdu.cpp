#include "hub/messages/SMSPdu.h"

#include "platform/VbError.h"

#include <QDate>
#include <QTime>

#include <cstdlib>

namespace corvane {
namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

[[noreturn]] void badTimeStamp()
{
    platform::Raise(platform::vberr::TypeMismatch, QStringLiteral("SMS"), QStringLiteral("Type mismatch"));
}

bool decimal(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// Digits i+1 then i, as in a swapped pair; -1 when either is not decimal.
int decimalPair(const QString& d, int i)
{
    if (!decimal(d[i]) || !decimal(d[i + 1]))
        return -1;
    return (d[i + 1].unicode() - '0') * 10 + (d[i].unicode() - '0');
}

QString twoHex(int v)
{
    return QStringLiteral("%1").arg(v & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

int SMSPdu::Octet(qsizetype p) const
{
    const qsizetype at = pos_ + p - 1;
    auto digit = [&](qsizetype i) {
        if (i < 0 || i >= hex_.size())
            return 0;
        const int v = hexValue(hex_[i]);
        return v < 0 ? 0 : v;
    };
    return digit(at) * 16 + digit(at + 1);
}

QString SMSPdu::Digits(qsizetype p, qsizetype n) const
{
    const qsizetype at = pos_ + p - 1;
    if (at >= hex_.size() || n <= 0 || at < 0)
        return QString();
    return hex_.mid(at, n);
}

void SMSPdu::Skip(qsizetype n)
{
    if (n > 0)
        pos_ = qMin(pos_ + n, hex_.size());
}

QString SMSPdu::Rest() const { return hex_.mid(pos_); }

qsizetype SMSPdu::Remaining() const { return hex_.size() - pos_; }

bool SMSPdu::HexOctets(const QString& text)
{
    for (QChar c : text)
        if (hexValue(c) < 0)
            return false;
    return text.size() % 2 == 0;
}

QString SMSPdu::Pack7(const QString& septets)
{
    QString out;
    const qsizetype n = septets.size();
    out.reserve((n * 7 / 8 + 1) * 2);
    quint32 bits = 0;
    int held = 0;
    for (qsizetype i = 0; i < n; ++i) {
        bits |= static_cast<quint32>(septets[i].unicode() & 0x7F) << held;
        held += 7;
        while (held >= 8) {
            out += twoHex(static_cast<int>(bits & 0xFF));
            bits >>= 8;
            held -= 8;
        }
    }
    if (held > 0)
        out += twoHex(static_cast<int>(bits & 0xFF));
    return out;
}

QString SMSPdu::Unpack7(const QString& hex, qsizetype count)
{
    const qsizetype octets = hex.size() / 2;
    const qsizetype available = octets * 8 / 7;
    if (count > available)
        count = available;
    QString out;
    if (count <= 0)
        return out;
    out.reserve(count);
    SMSPdu cur(hex);
    quint32 bits = 0;
    int held = 0;
    qsizetype next = 0;
    while (out.size() < count) {
        if (held < 7) {
            bits |= static_cast<quint32>(cur.Octet(next * 2 + 1)) << held;
            held += 8;
            ++next;
        }
        out.append(QChar(char16_t(bits & 0x7F)));
        bits >>= 7;
        held -= 7;
    }
    return out;
}

QString SMSPdu::SwapDigits(const QString& digits)
{
    QString d = digits;
    if (d.size() % 2)
        d.append(u'F');
    QString out;
    out.reserve(d.size());
    for (qsizetype i = 0; i + 1 < d.size(); i += 2) {
        out.append(d[i + 1]);
        out.append(d[i]);
    }
    return out;
}

QString SMSPdu::UnswapDigits(const QString& semiOctets)
{
    QString out;
    out.reserve(semiOctets.size());
    for (qsizetype i = 0; i + 1 < semiOctets.size(); i += 2) {
        out.append(semiOctets[i + 1]);
        out.append(semiOctets[i]);
    }
    if (semiOctets.size() % 2)
        out.append(semiOctets.back());
    if (out.endsWith(u'F') || out.endsWith(u'f'))
        out.chop(1);
    return out;
}

int SMSPdu::ExpandYear(int twoDigits, int currentYear)
{
    const int first = currentYear - 89;
    const int offset = ((twoDigits - first) % 100 + 100) % 100;
    return first + offset;
}

QDateTime SMSPdu::TimeStamp(const QString& digits, int& zone, int currentYear)
{
    if (digits.size() < 14)
        badTimeStamp();
    // A phone's odd digit makes the stamp unknown, not the message: the
    // report or text around it is still worth delivering.
    const int v = hexValue(digits[13]);
    const QChar uc = digits[12];
    if (v < 0 || !decimal(uc))
        zone = 0;
    else
        zone = v < 8 ? 10 * v + (uc.unicode() - '0') : -(10 * (v - 8) + (uc.unicode() - '0'));

    int fields[6];
    for (int k = 0; k < 6; ++k) {
        fields[k] = decimalPair(digits, 2 * k);
        if (fields[k] < 0)
            return QDateTime();
    }
    const int year = ExpandYear(fields[0], currentYear);
    // Out-of-range fields roll over, as calendar arithmetic does.
    const QDate date = QDate(year, 1, 1).addMonths(fields[1] - 1).addDays(fields[2] - 1);
    return QDateTime(date, QTime(0, 0), Qt::UTC).addSecs(fields[3] * 3600LL + fields[4] * 60LL + fields[5]);
}

QString SMSPdu::EncodeTimeStamp(const QDateTime& when, int zone)
{
    const QDate d = when.date();
    const QTime t = when.time();
    auto pair = [](int v) {
        v = std::abs(v) % 100;
        return QString(QChar(char16_t('0' + v % 10))) + QChar(char16_t('0' + v / 10));
    };
    QString out = pair(d.year()) + pair(d.month()) + pair(d.day()) + pair(t.hour()) + pair(t.minute())
                  + pair(t.second());
    const int a = std::abs(zone) % 80;
    int tens = a / 10;
    if (zone < 0)
        tens += 8;
    out += QChar(char16_t('0' + a % 10));
    out += QStringLiteral("%1").arg(tens, 1, 16).toUpper();
    return out;
}

}  // namespace corvane
