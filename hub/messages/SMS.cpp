#include "hub/messages/SMS.h"

#include "common/GsmAlphabet.h"
#include "common/SmsParts.h"
#include "hub/messages/SMSClassSequencer.h"
#include "hub/messages/SMSPdu.h"
#include "platform/Ansi.h"
#include "platform/Clock.h"
#include "platform/VbError.h"

#include <QDate>

#include <cmath>

namespace corvane {
namespace {

const QString kSource = QStringLiteral("SMS");
constexpr qint64 kPartsTimeOut = 30000;

QString twoHex(qint64 v) { return QStringLiteral("%1").arg(v & 0xFF, 2, 16, QLatin1Char('0')).toUpper(); }

int currentYear() { return platform::Now().date().year(); }

bool isDataCoding(int c) { return c == DEFAULT7BIT || c == UCS2 || c == WIN8BIT; }

QString PartMarker(int n)
{
    if (n <= 0)
        return QStringLiteral("[part ");
    return QStringLiteral("[part %1]").arg(n, 3, 10, QLatin1Char('0'));
}

QString StatusText(int status)
{
    switch (status) {
    case 0: return QStringLiteral("Delivered");
    case 1: return QStringLiteral("Delivered without comfirmation");
    case 2: return QStringLiteral("Replaced by service center");
    case 32: return QStringLiteral("Congestion, trying to transfer");
    case 33: return QStringLiteral("Busy, trying to transfer");
    case 34: return QStringLiteral("No response, trying to transfer");
    case 35: return QStringLiteral("Service rejected, trying to transfer");
    case 36: return QStringLiteral("Quality of service not available, trying to transfer");
    case 37: return QStringLiteral("Error, trying to transfer");
    case 64: return QStringLiteral("Not delivered, remote procedure error");
    case 65: return QStringLiteral("Not delivered, incompatible destination");
    case 66: return QStringLiteral("Not delivered, connection rejected by receiver");
    case 67: return QStringLiteral("Not delivered, not obtainable");
    case 68:
    case 100: return QStringLiteral("Not delivered, quality of service not available");
    case 69: return QStringLiteral("Not delivered, no interworking available");
    case 70: return QStringLiteral("Not delivered, message validity period expired");
    case 71: return QStringLiteral("Not delivered, message deleted by sender");
    case 72: return QStringLiteral("Not delivered, message deleted by service center administration");
    case 73: return QStringLiteral("Not delivered, message does not exist");
    case 96: return QStringLiteral("Not delivered, congestion");
    case 97: return QStringLiteral("Not delivered, receiver busy");
    case 98: return QStringLiteral("Not delivered, no response from receiver");
    case 99: return QStringLiteral("Not delivered, service rejected");
    case 101: return QStringLiteral("Not delivered, error in receiver");
    default: break;
    }
    if (status >= 38 && status <= 63)
        return QStringLiteral("Unknown result, trying to transfer");
    if (status >= 74 && status <= 95)
        return QStringLiteral("Not delivered, unknown cause");
    if (status >= 102 && status <= 127)
        return QStringLiteral("Not delivered, unknown result");
    return QStringLiteral("Unknown result");
}

void DecodeDCS(int octet, DATA_CODING& coding, MSG_CLASS& cls)
{
    coding = DEFAULT7BIT;
    cls = UNSPECIFIED;
    if (octet >= 0x01 && octet <= 0x7F) {
        const int bits = (octet >> 2) & 3;
        coding = bits == 1 ? WIN8BIT : bits == 2 ? UCS2 : DEFAULT7BIT;
        if (octet & 0x10)
            cls = static_cast<MSG_CLASS>(octet & 3);
    } else if (octet >= 0xE0 && octet <= 0xEF) {
        coding = UCS2;
    } else if (octet >= 0xF0) {
        coding = (octet & 4) ? WIN8BIT : DEFAULT7BIT;
        cls = static_cast<MSG_CLASS>(octet & 3);
    }
}

int EncodeDCS(int coding, int cls)
{
    int v = 0;
    if (coding == UCS2)
        v = 8;
    else if (coding == WIN8BIT)
        v = 4;
    if (cls >= 0 && cls <= 3)
        v += 16 + cls;
    else if (cls == UNSPECIFIED)
        v += 2;
    return v;
}

void EncodeUserData(QString& hex, int& count, const QString& text, int coding)
{
    hex.clear();
    count = 0;
    if (text.isEmpty())
        return;
    switch (coding) {
    case WIN8BIT:
        for (QChar c : text) {
            const int code = platform::AnsiCode(c);
            hex += twoHex(code < 0 ? '?' : code);
        }
        count = static_cast<int>(text.size());
        break;
    case UCS2:
        for (QChar c : text)
            hex += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        count = static_cast<int>(text.size()) * 2;
        break;
    case DEFAULT7BIT: {
        const QString septets = common::ToGSMSeptets(text);
        hex = SMSPdu::Pack7(septets);
        count = static_cast<int>(septets.size());
        break;
    }
    default:
        break;
    }
}

QString DecodeUserData(const QString& hex, int length, int coding)
{
    QString out;
    if (length <= 0)
        return out;
    SMSPdu cur(hex);
    switch (coding) {
    case WIN8BIT:
        // Only octets that are there: a cut PDU gives a shorter text, not NULs.
        for (qsizetype i = 0; i < length && 2 * i + 2 <= hex.size(); ++i)
            out.append(platform::AnsiChar(static_cast<unsigned char>(cur.Octet(2 * i + 1))));
        break;
    case UCS2: {
        const qsizetype units = (length + 1) / 2;
        for (qsizetype i = 0; i < units && 4 * i + 4 <= hex.size(); ++i)
            out.append(QChar(char16_t(cur.Octet(4 * i + 1) * 256 + cur.Octet(4 * i + 3))));
        break;
    }
    default:
        out = common::GSMToUnicode(SMSPdu::Unpack7(hex, length));
        break;
    }
    return out;
}

// Whether the PDU reaches its user data: every field before it, and its
// header, are there.
// The user data itself may fall short of its length; phones send such PDUs,
// and the part that is there is decoded.
bool ReachesUserData(const QString& hex)
{
    SMSPdu p(hex);
    const auto take = [&p](qsizetype digits) {
        if (p.Remaining() < digits)
            return false;
        p.Skip(digits);
        return true;
    };
    if (p.Remaining() < 2 || !take(2 * qsizetype(p.Octet(1)) + 2) || p.Remaining() < 2)
        return false;
    const int first = p.Octet(1);
    const int type = first & 3;
    if (!take(type == SUBMIT || type == STATUS_REPORT ? 4 : 2) || p.Remaining() < 4)
        return false;
    const int digits = p.Octet(1);
    if (!take(digits + digits % 2 + 4))
        return false;
    if (type == STATUS_REPORT)
        return p.Remaining() >= 30;  // time stamp, discharge time, status
    qsizetype period = 14;  // the time stamp of a DELIVER
    if (type == SUBMIT) {
        const int format = (first & 24) >> 3;
        period = format == RELATIVE ? 2 : format == NOTPRESENT ? 0 : 14;
    }
    // Protocol identifier, coding scheme, the period, the length.
    if (!take(4 + period) || p.Remaining() < 2)
        return false;
    if (!(first & 64))
        return true;
    // A header cut short leaves no text and nothing to join the parts by:
    // such a message stays on the phone rather than being read as empty.
    p.Skip(2);
    return p.Remaining() >= 2 && p.Remaining() >= 2 + 2 * qsizetype(p.Octet(1));
}

// Originator, destination or recipient: by its type of number, alphanumeric
// or semi-octet digits ("+" for an international number).
QString DecodeAddress(const SMSPdu& cur, int digits, int type)
{
    const QString field = cur.Digits(5, digits + digits % 2);
    if ((type & 0x70) == 0x50)
        return common::GSMToUnicode(SMSPdu::Unpack7(field, (4 * digits) / 7));
    const QString number = SMSPdu::UnswapDigits(field);
    return (type & 0x70) == 0x10 ? QStringLiteral("+") + number : number;
}

struct Concatenation {
    bool found = false;
    int reference = 0;
    int count = 0;
    int sequence = 0;
};

// The first valid concatenation element of a user-data header. An element
// whose length, count or sequence number is impossible is ignored, as the
// standard asks.
Concatenation FindConcatenation(const QString& header)
{
    Concatenation c;
    qsizetype p = 0;
    while (p + 1 < header.size()) {
        const QString id = header.mid(p, 2);
        const SMSPdu e(header.mid(p));
        const int length = e.Octet(3);
        if (id == QLatin1String("00") || id == QLatin1String("08")) {
            const bool wide = id == QLatin1String("08");
            const int reference = wide ? static_cast<qint16>(e.Octet(5) * 256 + e.Octet(7)) : e.Octet(5);
            const int count = e.Octet(wide ? 9 : 7);
            const int sequence = e.Octet(wide ? 11 : 9);
            const bool complete = header.size() - p >= 4 + 2 * length;
            if (length == (wide ? 4 : 3) && complete && count >= 1 && sequence >= 1 && sequence <= count) {
                c.found = true;
                c.reference = reference;
                c.count = count;
                c.sequence = sequence;
                return c;
            }
        }
        p += 4 + 2 * qsizetype(length);
    }
    return c;
}

QString EncodeServiceCentre(const QString& number)
{
    QString s;
    for (QChar c : number)
        if (c != u' ' && c != u'\t')
            s.append(c);
    if (s.isEmpty())
        return QStringLiteral("00");
    const bool international = s.startsWith(u'+');
    const QString digits = international ? s.mid(1) : s;
    bool ok = !digits.isEmpty() && digits.size() <= 20;
    for (QChar c : digits)
        ok = ok && c.unicode() >= '0' && c.unicode() <= '9';
    // Anything else would end PDU entry on the phone early.
    if (!ok)
        platform::Raise(platform::vberr::InvalidProcedureCall, kSource,
                        QStringLiteral("Invalid service center number"));
    const QString swapped = SMSPdu::SwapDigits(digits);
    return twoHex(swapped.size() / 2 + 1) + (international ? QStringLiteral("91") : QStringLiteral("81")) + swapped;
}

bool IsDateValue(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QDateTime: return v.toDateTime().isValid();
    case QMetaType::QDate: return v.toDate().isValid();
    case QMetaType::QString: {
        const QString s = v.toString().trimmed();
        return QDateTime::fromString(s, Qt::ISODate).isValid() || QDate::fromString(s, Qt::ISODate).isValid();
    }
    default: return false;
    }
}

QDateTime DateValue(const QVariant& v)
{
    QDateTime d;
    if (v.typeId() == QMetaType::QDate) {
        d = QDateTime(v.toDate(), QTime(0, 0), Qt::UTC);
    } else if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        d = QDateTime::fromString(s, Qt::ISODate);
        if (!d.isValid())
            d = QDateTime(QDate::fromString(s, Qt::ISODate), QTime(0, 0), Qt::UTC);
    } else if (v.typeId() == QMetaType::QDateTime) {
        d = v.toDateTime();
    }
    if (!d.isValid())
        platform::Raise(platform::vberr::TypeMismatch, kSource, QStringLiteral("Type mismatch"));
    return d;
}

bool IsNumericValue(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    case QMetaType::QString: {
        bool ok = false;
        v.toString().trimmed().toDouble(&ok);
        return ok;
    }
    default:
        return false;
    }
}

// The one-octet relative code: the value rounded as the runtime does, low
// eight bits kept.
int RelativeCode(const QVariant& v)
{
    bool ok = false;
    const double d = v.typeId() == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
    const double r = std::nearbyint(d);
    if (!ok || !std::isfinite(r) || std::fabs(r) > 9.0e18)
        platform::Raise(platform::vberr::Overflow, kSource, QStringLiteral("Overflow"));
    return static_cast<int>(static_cast<qint64>(r) & 0xFF);
}

}  // namespace

int PDULength(const QString& pdu)
{
    const int v = SMSPdu(pdu).Octet(1);
    return static_cast<int>((pdu.size() - 2 * v - 2) / 2);
}

QString SMS::SetUserData(const QString& Message, DATA_CODING c, bool joined)
{
    coding_ = c;
    joined_ = joined;
    QString result;
    if (isDataCoding(c)) {
        userData_ = common::SmsText(Message, c, joined);
    } else {
        userData_.clear();
        if (joined)
            result = QStringLiteral("Unknown coding method");
    }
    numberOfParts_ = 0;
    lastPartNumber_ = 0;
    return result;
}

QString SMS::UserData() const
{
    QString t = userData_;
    t.replace(u'\n', QStringLiteral("\r\n"));
    return t;
}

void SMS::Address(const QString& tel)
{
    QString s;
    for (QChar c : tel)
        if (c != u' ' && c != u'\t' && c != u'-' && c != u'(' && c != u')' && c != u'.')
            s.append(c);
    const QString digits = s.startsWith(u'+') ? s.mid(1) : s;
    bool numeric = !digits.isEmpty();
    for (QChar c : digits)
        numeric = numeric && c.unicode() >= '0' && c.unicode() <= '9';
    if (numeric) {
        address_ = s;
        addressType_ = s.startsWith(u'+') ? INTERNATIONAL : NATIONAL;
    } else {
        address_ = tel.left(11);
        addressType_ = ALPHANUM;
    }
}

void SMS::VP(const QVariant& v)
{
    if (IsDateValue(v)) {
        vpf_ = ABSOLUTE;
        vp_ = v;
    } else if (IsNumericValue(v)) {
        vpf_ = RELATIVE;
        vp_ = v;
    } else {
        vpf_ = NOTPRESENT;
        vp_ = 0;
    }
}

bool SMS::TimeOut() const { return platform::TickCount() - lastOffer_ > kPartsTimeOut; }

QVariant SMS::SCTS() const
{
    if (MTI == SUBMIT)
        return QVariant();
    return QVariant(scts_);
}

QStringList SMS::PDU()
{
    QStringList out;
    if (MTI == STATUS_REPORT)
        return out;

    const QString sc = EncodeServiceCentre(SCNumber);
    const common::SmsParts split = common::SplitSms(userData_, coding_, joined_);
    const bool header = split.header;
    const int parts = split.count();

    int first = 1;
    if (vpf_ >= Reserved && vpf_ <= ABSOLUTE)
        first += 8 * vpf_;
    if (RP == REPLYPATHISSET)
        first += 128;
    if (SRIR == STATUSREP)
        first += 32;
    if (header)
        first += 64;

    QString da;
    if (address_.isEmpty()) {
        da = QStringLiteral("00D0");
    } else if (addressType_ == ALPHANUM) {
        QString hex;
        int septets = 0;
        EncodeUserData(hex, septets, address_, DEFAULT7BIT);
        da = twoHex((septets * 7 + 3) / 4) + QStringLiteral("D0") + hex;
    } else {
        const QString digits = addressType_ == INTERNATIONAL ? address_.mid(1) : address_;
        da = twoHex(digits.size()) + twoHex(addressType_) + SMSPdu::SwapDigits(digits);
    }

    const QString dcs = twoHex(EncodeDCS(coding_, MsgClass));
    QString vp;
    if (vpf_ == RELATIVE)
        vp = twoHex(RelativeCode(vp_));
    else if (vpf_ == ABSOLUTE)
        vp = SMSPdu::EncodeTimeStamp(DateValue(vp_), timeZone_);

    const QString reference = header ? twoHex(SMSClassSequencer::NextReference()) : QString();
    const QString head = sc + twoHex(first) + QStringLiteral("00") + da + QStringLiteral("00") + dcs + vp;

    for (int i = 0; i < parts; ++i) {
        const QString& part = split.parts[i];
        QString udh, hex;
        int udl = 0;
        if (header) {
            udh = QStringLiteral("050003") + reference + twoHex(parts) + twoHex(i + 1);
            if (coding_ == DEFAULT7BIT) {
                // Seven spaces stand in for the header, so the text starts
                // on a septet boundary after one fill bit.
                const QString septets = QString(7, QChar(u' ')) + common::ToGSMSeptets(part);
                hex = SMSPdu::Pack7(septets).mid(12);
                udl = static_cast<int>(septets.size());
            } else {
                EncodeUserData(hex, udl, part, coding_);
                udl += 6;
            }
        } else if (parts == 1) {
            EncodeUserData(hex, udl, part, coding_);
        } else {
            const QString text = QStringLiteral("(%1/%2)").arg(i + 1).arg(parts) + part;
            EncodeUserData(hex, udl, text, coding_);
        }
        out << head + twoHex(udl) + udh + hex;
    }
    numberOfParts_ = parts;
    return out;
}

void SMS::PDU(const QString& newPDU)
{
    if (allReceived_) {
        lastPartAccepted_ = false;
        return;
    }
    const QString hex = newPDU.trimmed();
    if (!SMSPdu::HexOctets(hex))
        platform::Raise(platform::vberr::InvalidProcedureCall, kSource, QStringLiteral("Invalid PDU"));
    if (!ReachesUserData(hex))
        platform::Raise(platform::vberr::InvalidProcedureCall, kSource, QStringLiteral("Truncated PDU"));
    lastOffer_ = platform::TickCount();
    if (!anyReceived_)
        decodeFirst(hex);
    else
        decodeLater(hex);
}

void SMS::decodeFirst(const QString& hex)
{
    anyReceived_ = true;
    lastPartAccepted_ = true;
    numberOfParts_ = 1;
    lastPartNumber_ = 1;
    userData_.clear();
    SCNumber.clear();
    slots_.clear();

    SMSPdu cur(hex);
    const int scLength = cur.Octet(1);
    if (scLength >= 1) {
        if (cur.Octet(3) == 0x91)
            SCNumber = QStringLiteral("+");
        SCNumber += SMSPdu::UnswapDigits(cur.Digits(5, 2 * (scLength - 1)));
    }
    cur.Skip(2 * scLength + 2);

    const int f = cur.Octet(1);
    if ((f & 3) == 1) {
        MTI = SUBMIT;
        vpf_ = static_cast<VP_FORMAT>((f & 24) >> 3);
    } else {
        MTI = (f & 3) == 2 ? STATUS_REPORT : DELIVER;
        MMS = static_cast<MMS_TYPE>((f >> 2) & 1);
    }
    RP = static_cast<RP_TYPE>((f >> 7) & 1);
    SRIR = static_cast<SRIR_TYPE>((f >> 5) & 1);
    const bool headerIndicator = f & 64;
    cur.Skip(2);

    if (MTI == SUBMIT) {
        cur.Skip(2);
    } else if (MTI == STATUS_REPORT) {
        mr_ = cur.Octet(1);
        cur.Skip(2);
    }

    const int digits = cur.Octet(1);
    addressType_ = cur.Octet(3);
    address_ = DecodeAddress(cur, digits, addressType_);
    cur.Skip(digits + digits % 2 + 4);

    if (MTI != STATUS_REPORT) {
        pid_ = cur.Octet(1);
        cur.Skip(2);
        DecodeDCS(cur.Octet(1), coding_, MsgClass);
        cur.Skip(2);
    }

    const int year = currentYear();
    if (MTI == SUBMIT) {
        if (vpf_ == RELATIVE) {
            vp_ = cur.Octet(1);
            cur.Skip(2);
        } else if (vpf_ == ABSOLUTE) {
            vp_ = SMSPdu::TimeStamp(cur.Digits(1, 14), timeZone_, year);
            cur.Skip(14);
        } else if (vpf_ == Reserved) {
            // The enhanced format: seven octets we do not interpret.
            cur.Skip(14);
        }
    } else {
        scts_ = SMSPdu::TimeStamp(cur.Digits(1, 14), timeZone_, year);
        cur.Skip(14);
    }

    if (MTI == STATUS_REPORT) {
        dischargeTime_ = SMSPdu::TimeStamp(cur.Digits(1, 14), dischargeZone_, year);
        cur.Skip(14);
        status_ = cur.Octet(1);
        userData_ = StatusText(status_);
        allReceived_ = true;
        return;
    }

    const int udl = cur.Octet(1);
    cur.Skip(2);
    if (!headerIndicator) {
        userData_ = DecodeUserData(cur.Rest(), udl, coding_);
        allReceived_ = true;
        return;
    }

    const int udhl = cur.Octet(1);
    const Concatenation concat = FindConcatenation(cur.Digits(3, 2 * qsizetype(udhl)));
    if (concat.found) {
        cmr_ = concat.reference;
        numberOfParts_ = concat.count;
        lastPartNumber_ = concat.sequence;
    }
    slots_.assign(static_cast<size_t>(numberOfParts_), std::nullopt);
    joinPart(lastPartNumber_, decodePartText(cur.Rest(), udl, udhl));
}

void SMS::decodeLater(const QString& hex)
{
    lastPartAccepted_ = false;
    SMSPdu cur(hex);
    cur.Skip(2 * cur.Octet(1) + 2);
    const int f = cur.Octet(1);
    if (!(f & 64))
        return;
    const MTI_TYPE type = (f & 3) == 1 ? SUBMIT : DELIVER;
    if (type != MTI)
        return;
    cur.Skip(2);
    if (type == SUBMIT)
        cur.Skip(2);

    const int digits = cur.Octet(1);
    if (DecodeAddress(cur, digits, cur.Octet(3)) != address_)
        return;
    cur.Skip(digits + digits % 2 + 8);
    if (type == DELIVER) {
        cur.Skip(14);
    } else {
        const int format = (f & 24) >> 3;
        if (format == RELATIVE)
            cur.Skip(2);
        else if (format == ABSOLUTE || format == Reserved)
            cur.Skip(14);
    }

    const int udl = cur.Octet(1);
    cur.Skip(2);
    const int udhl = cur.Octet(1);
    const Concatenation concat = FindConcatenation(cur.Digits(3, 2 * qsizetype(udhl)));
    if (!concat.found)
        return;
    lastPartNumber_ = concat.sequence;
    // Reference, count and sender together name a message: an 8-bit
    // reference alone repeats every 256 long messages.
    if (concat.reference != cmr_ || concat.count != numberOfParts_)
        return;
    lastPartAccepted_ = true;
    joinPart(concat.sequence, decodePartText(cur.Rest(), udl, udhl));
}

QString SMS::decodePartText(const QString& userData, int udl, int udhl) const
{
    if (coding_ == UCS2 || coding_ == WIN8BIT)
        return DecodeUserData(userData.mid(2 * qsizetype(udhl) + 2), udl - udhl - 1, coding_);
    // The header's septets (fill bits included) go before conversion, so a
    // header that happens to read as an escape cannot eat a character.
    const qsizetype headerSeptets = ((udhl + 1) * 8 + 6) / 7;
    const QString septets = SMSPdu::Unpack7(userData, udl);
    return common::GSMToUnicode(septets.mid(headerSeptets));
}

void SMS::joinPart(int number, const QString& text)
{
    // A repeated part, or one numbered above the count, changes nothing.
    if (number < 1 || number > static_cast<int>(slots_.size()) || slots_[number - 1])
        return;
    slots_[number - 1] = text;
    rebuildText();
}

void SMS::rebuildText()
{
    QString t;
    bool complete = true;
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i]) {
            t += *slots_[i];
        } else {
            t += PartMarker(static_cast<int>(i) + 1);
            complete = false;
        }
    }
    userData_ = t;
    if (complete)
        allReceived_ = true;
}

}  // namespace corvane
