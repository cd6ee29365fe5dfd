#include "hub/engine/PubFunctions.h"

#include <cmath>
#include <limits>

namespace corvane {

namespace {

struct CodeText {
    qint32 code;
    const char* text;
};

// Spellings as the phones' manuals give them; the client shows them as they are.
const CodeText kCmeTable[] = {
    {0, "Phone failure"},
    {1, "No connection to phone"},
    {2, "Phone adapter link reserved"},
    {3, "Operation not allowed"},
    {4, "Operation not supported"},
    {5, "PH_SIM PIN required"},
    {6, "PH_FSIM PIN required"},
    {7, "PH_FSIM PUK required"},
    {10, "SIM not inserted"},
    {11, "SIM PIN required"},
    {12, "SIM PUK required"},
    {13, "SIM failure"},
    {14, "SIM busy"},
    {15, "SIM wrong"},
    {16, "Incorrect password"},
    {17, "SIM PIN2 required"},
    {18, "SIM PUK2 required"},
    {20, "Memory full"},
    {21, "Invalid index"},
    {22, "Not found"},
    {23, "Memory failure"},
    {24, "Text string too long"},
    {25, "Invalid characters in text string"},
    {26, "Dial string too long"},
    {27, "Invalid characters in dial string"},
    {30, "No network service"},
    {31, "Network timeout"},
    {32, "Network not allowed, emergency calls only"},
    {40, "Network personalization PIN required"},
    {41, "Network personalization PUK required"},
    {42, "Network subset personalization PIN required"},
    {43, "Network subset personalization PUK required"},
    {44, "Service provider personalization PIN required"},
    {45, "Service provider personalization PUK required"},
    {46, "Corporate personalization PIN required"},
    {47, "Corporate personalization PUK required"},
    {48, "PH-SIM PUK required"},
    {100, "Unknown error"},
    {103, "Illegal MS"},
    {106, "Illegal ME"},
    {107, "GPRS services not allowed"},
    {111, "PLMN not allowed"},
    {112, "Location area not allowed"},
    {113, "Roaming not allowed in this location area"},
    {126, "Operation temporary not allowed"},
    {132, "Service operation not supported"},
    {133, "Requested service option not subscribed"},
    {134, "Service option temporary out of order"},
    {148, "Unspecified GPRS error"},
    {149, "PDP authentication failure"},
    {150, "Invalid mobile class"},
    {256, "Operation temporarily not allowed"},
    {257, "Call barred"},
    {258, "Phone is busy"},
    {259, "User abort"},
    {260, "Invalid dial string"},
    {261, "SS not executed"},
    {262, "SIM Blocked"},
    {263, "Invalid block"},
    {772, "SIM powered down"}
};

const CodeText kCmsTable[] = {
    {1, "Unassigned number"},
    {8, "Operator determined barring"},
    {10, "Call bared"},
    {21, "Short message transfer rejected"},
    {27, "Destination out of service"},
    {28, "Unindentified subscriber"},
    {29, "Facility rejected"},
    {30, "Unknown subscriber"},
    {38, "Network out of order"},
    {41, "Temporary failure"},
    {42, "Congestion"},
    {47, "Recources unavailable"},
    {50, "Requested facility not subscribed"},
    {69, "Requested facility not implemented"},
    {81, "Invalid short message transfer reference value"},
    {95, "Invalid message unspecified"},
    {96, "Invalid mandatory information"},
    {97, "Message type non existent or not implemented"},
    {98, "Message not compatible with short message protocol"},
    {99, "Information element non-existent or not implemented"},
    {111, "Protocol error, unspecified"},
    {127, "Internetworking , unspecified"},
    {128, "Telematic internetworking not supported"},
    {129, "Short message type 0 not supported"},
    {130, "Cannot replace short message"},
    {143, "Unspecified TP-PID error"},
    {144, "Data code scheme not supported"},
    {145, "Message class not supported"},
    {159, "Unspecified TP-DCS error"},
    {160, "Command cannot be actioned"},
    {161, "Command unsupported"},
    {175, "Unspecified TP-Command error"},
    {176, "TPDU not supported"},
    {192, "SC busy"},
    {193, "No SC subscription"},
    {194, "SC System failure"},
    {195, "Invalid SME address"},
    {196, "Destination SME barred"},
    {197, "SM Rejected-Duplicate SM"},
    {198, "TP-VPF not supported"},
    {199, "TP-VP not supported"},
    {208, "D0 SIM SMS Storage full"},
    {209, "No SMS Storage capability in SIM"},
    {210, "Error in MS"},
    {211, "Memory capacity exceeded"},
    {212, "Sim application toolkit busy"},
    {213, "SIM data download error"},
    {255, "Unspecified error cause"},
    {300, "ME Failure"},
    {301, "SMS service of ME reserved"},
    {302, "Operation not allowed"},
    {303, "Operation not supported"},
    {304, "Invalid PDU mode parameter"},
    {305, "Invalid Text mode parameter"},
    {310, "SIM not inserted"},
    {311, "SIM PIN required"},
    {312, "PH-SIM PIN required"},
    {313, "SIM failure"},
    {314, "SIM busy"},
    {315, "SIM wrong"},
    {316, "SIM PUK required"},
    {317, "SIM PIN2 required"},
    {318, "SIM PUK2 required"},
    {320, "Memory failure"},
    {321, "Invalid memory index"},
    {322, "Memory full"},
    {330, "SMSC address unknown"},
    {331, "No network service"},
    {332, "Network timeout"},
    {340, "No +CNMA expected"},
    {500, "Unknown error"},
    {512, "User abort"},
    {513, "Unable to store"},
    {514, "Invalid Status"},
    {515, "Device busy or Invalid Character in string"},
    {516, "Invalid length"},
    {517, "Invalid character in PDU"},
    {518, "Invalid parameter"},
    {519, "Invalid length or character"},
    {520, "Invalid character in text"},
    {521, "Timer expired"},
    {522, "Operation temporary not allowed"},
    {532, "SIM not ready"},
    {534, "Cell Broadcast error unknown"},
    {535, "Protocol stack busy"},
    {538, "Invalid parameter"}
};

template <size_t N>
QString LookUp(const CodeText (&table)[N], qint32 code)
{
    for (const CodeText& entry : table)
        if (entry.code == code)
            return QString::fromLatin1(entry.text);
    return QStringLiteral("Unknown error (") + QString::number(code) + QStringLiteral(")");
}

const QString kDefaultSet = QStringLiteral("\r\n \b\t");

int HexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

int DigitOrZero(QChar c) { return (c >= u'0' && c <= u'9') ? c.unicode() - '0' : 0; }

// A decimal number with blanks, tabs, CR and LF around it, nothing else.
bool ReadNumber(const QString& text, double& value)
{
    QString t = text;
    auto isSpace = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    qsizetype b = 0, e = t.size();
    while (b < e && isSpace(t[b]))
        ++b;
    while (e > b && isSpace(t[e - 1]))
        --e;
    t = t.mid(b, e - b);
    if (t.isEmpty())
        return false;
    qsizetype i = 0;
    if (t[i] == u'+' || t[i] == u'-')
        ++i;
    bool digits = false;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
        ++i;
        digits = true;
    }
    if (i < t.size() && t[i] == u'.') {
        ++i;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        bool expDigits = false;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
            ++i;
            expDigits = true;
        }
        if (!expDigits)
            return false;
    }
    if (i != t.size())
        return false;
    bool ok = false;
    value = t.toDouble(&ok);
    return ok && std::isfinite(value);
}

}  // namespace

QString TrimSet(const QString& text, const QString& set)
{
    const QString& chars = set.isEmpty() ? kDefaultSet : set;
    qsizetype first = 0;
    while (first < text.size() && chars.contains(text[first]))
        ++first;
    if (first == text.size())
        return QString();
    qsizetype last = text.size() - 1;
    while (last > first && chars.contains(text[last]))
        --last;
    return text.mid(first, last - first + 1);
}

QString UCS2HexToText(const QString& text)
{
    if (text.size() % 4 != 0)
        return text;
    // A name that merely has a length of four (a "Mike") is no hex.
    for (QChar c : text)
        if (HexDigit(c) < 0)
            return text;
    QString out;
    out.reserve(text.size() / 4);
    for (qsizetype i = 0; i < text.size(); i += 4) {
        ushort unit = 0;
        for (qsizetype k = 0; k < 4; ++k)
            unit = static_cast<ushort>(unit * 16 + HexDigit(text[i + k]));
        out.append(QChar(unit));
    }
    return out;
}

QString ParseModelName(const QString& answer)
{
    // The answer ends with CR LF "OK" CR LF; a shorter one has nothing to cut
    // beyond itself.
    const qsizetype cut = std::max<qsizetype>(0, answer.size() - 6);
    const qsizetype colon = answer.indexOf(u':');
    QString text;
    if (colon >= 0) {
        const qsizetype start = colon + 1;
        if (start < cut)
            text = answer.mid(start, cut - start);
    } else {
        text = answer.left(cut);
    }
    return TrimSet(text);
}

QString ExpandRanges(const QString& list)
{
    QString out = list;
    for (qsizetype dash = out.indexOf(u'-'); dash >= 0; dash = out.indexOf(u'-')) {
        // A dash at either end has no bound there; it reads as 0.
        const int s = dash > 0 ? DigitOrZero(out[dash - 1]) : 0;
        const int e = dash + 1 < out.size() ? DigitOrZero(out[dash + 1]) : 0;
        QString fill;
        for (int v = s + 1; v <= e - 1; ++v)
            fill.append(QChar(u'0' + v));
        out.replace(dash, 1, fill);
    }
    return out;
}

QString PhoneErrorText(const QString& answer, bool cmsTable)
{
    const qsizetype colon = answer.indexOf(u':');
    if (colon < 0)
        return TrimSet(answer);
    const QString after = answer.mid(colon + 1);
    double value = 0;
    if (ReadNumber(after, value)) {
        const double rounded = std::nearbyint(value);
        if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
            return answer;
        const qint32 code = static_cast<qint32>(rounded);
        return cmsTable ? CMSErrorText(code) : CMEErrorText(code);
    }
    return TrimSet(after);
}

QString CMEErrorText(qint32 code) { return LookUp(kCmeTable, code); }

QString CMSErrorText(qint32 code) { return LookUp(kCmsTable, code); }

}  // namespace corvane
