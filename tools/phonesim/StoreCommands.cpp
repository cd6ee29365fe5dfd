// The commands that list and store messages in the phone's memories:
// "AT+CPMS=?" (with UCS2-hex names when asked), a selection by hex names,
// "AT+CMGL" in PDU mode and "AT+CMGW" with its prompt, over the memories of
// MessageMemory.h. Plain selection, reading and deleting are SmsCommands'.
#include "tools/phonesim/StoreCommands.h"

#include "tools/phonesim/ConnectCommands.h"
#include "tools/phonesim/MessageCommands.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/PhoneSim.h"

#include <QRegularExpression>
#include <QStringList>

namespace phonesim {

namespace {

// 27.005 error codes.
constexpr int kOperationNotAllowed = 302;
constexpr int kInvalidPduParameter = 304;
constexpr int kInvalidMemoryIndex = 321;
constexpr int kMemoryFull = 322;

MessageMemory& Memory(PhoneSim& s) { return s.state().get<MessageMemory>(); }
StoreProfile& Profile(PhoneSim& s) { return s.state().get<StoreProfile>(); }

bool Ucs2Names(PhoneSim& s)
{
    return Profile(s).hexNames && s.state().get<ConnectProfile>().cscs == QLatin1String("UCS2");
}

QString ToHex(const QString& text)
{
    QString out;
    for (QChar c : text)
        out += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return out;
}

// A quoted name in UCS2 hex back to its letters; other text as it stands.
QString FromHex(const QString& quoted)
{
    const QString name = quoted.trimmed();
    static const QRegularExpression hex(QStringLiteral("^\"((?:[0-9A-Fa-f]{4})+)\"$"));
    const QRegularExpressionMatch m = hex.match(name);
    if (!m.hasMatch())
        return name;
    const QString digits = m.captured(1);
    QString out;
    for (qsizetype i = 0; i < digits.size(); i += 4)
        out += QChar(static_cast<char16_t>(digits.mid(i, 4).toUShort(nullptr, 16)));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

void CpmsTest(PhoneSim& s, const Command&)
{
    QString lists = Profile(s).locations;
    if (Ucs2Names(s)) {
        static const QRegularExpression quoted(QStringLiteral("\"([^\"]*)\""));
        QString out;
        qsizetype last = 0;
        for (const QRegularExpressionMatch& m : quoted.globalMatch(lists)) {
            out += lists.mid(last, m.capturedStart() - last);
            out += QLatin1Char('"') + ToHex(m.captured(1)) + QLatin1Char('"');
            last = m.capturedEnd();
        }
        lists = out + lists.mid(last);
    }
    s.sendLine(QStringLiteral("+CPMS: ") + lists);
    s.sendOk();
}

// AT+CPMS= with names in UCS2 hex; plain names go to SmsCommands.
void CpmsHexSelect(PhoneSim& s, const Command& c)
{
    MessageMemory& m = Memory(s);
    ConnectProfile& connect = s.state().get<ConnectProfile>();
    const QString given = QStringLiteral("\"00") + c.args;
    const QStringList names = given.split(u',');
    if (!Ucs2Names(s) || connect.cpmsSetRefused || names.size() > 3) {
        s.sendCmsError(kOperationNotAllowed);
        return;
    }
    QStringList plain;
    for (const QString& name : names) {
        const QString p = FromHex(name);
        if (p == name.trimmed() || !m.known(p)) {
            s.sendCmsError(kOperationNotAllowed);
            return;
        }
        plain << MessageMemory::unquote(p);
    }
    m.mem1 = plain[0];
    if (plain.size() > 1)
        m.mem2 = plain[1];
    if (plain.size() > 2)
        m.mem3 = plain[2];
    connect.cpmsMemories = given;
    s.sendLine(SelectionCounts(m));
    s.sendOk();
}

void Cmgl(PhoneSim& s, const Command& c)
{
    if (c.args == QLatin1String("=?")) {
        s.sendLine(QStringLiteral("+CMGL: (0-4)"));
        s.sendOk();
        return;
    }
    // No stat lists the received unread ones, as 27.005 has it.
    const int stat = c.args.isEmpty() ? kRecUnread : c.args.startsWith(u'=') ? Number(c.args.mid(1)) : -1;
    if (stat < 0 || stat > kStatAll) {
        s.sendCmsError(kInvalidPduParameter);
        return;
    }
    MessageMemory& m = Memory(s);
    const StoreProfile& p = Profile(s);
    const QString alpha = p.alpha.isEmpty() ? QString() : QLatin1Char('"') + p.alpha + QLatin1Char('"');
    bool any = false;
    for (const auto& [index, message] : m.list(m.mem1)) {
        if (stat != kStatAll && message->stat != stat)
            continue;
        if (!any)
            s.sendText(QStringLiteral("\r\n"));
        any = true;
        s.sendText(QStringLiteral("+CMGL: %1,%2,%3,%4\r\n")
                       .arg(index)
                       .arg(message->stat)
                       .arg(alpha)
                       .arg(qMax(0, TpduLength(message->pdu))));
        s.sendText(message->pdu + QStringLiteral("\r\n"));
        // Listing a received message reads it.
        if (message->stat == kRecUnread)
            message->stat = kRecRead;
    }
    if (!any && p.emptyListError) {
        s.sendCmsError(kInvalidMemoryIndex);
        return;
    }
    s.sendOk();
}

void Cmgw(PhoneSim& s, const Command& c)
{
    if (c.args == QLatin1String("=?")) {
        s.sendOk();
        return;
    }
    const QStringList fields = c.args.startsWith(u'=') ? c.args.mid(1).split(u',') : QStringList();
    const int length = fields.isEmpty() ? -1 : Number(fields[0]);
    const int stat = fields.size() > 1 ? Number(fields[1]) : kStoUnsent;
    if (length < 1 || length > 164 || fields.size() > 2 || stat < 0 || stat > kStoSent) {
        s.sendCmsError(kInvalidPduParameter);
        return;
    }
    StoreProfile& p = Profile(s);
    ++p.writesSeen;
    if (p.refusedWrite == p.writesSeen) {
        s.sendError();
        return;
    }
    PromptForPdu(s, QStringLiteral("+CMGW"), length, [stat](PhoneSim& sim, MessageMemory& memory, const QString& pdu) {
        const int index = memory.store(memory.mem2, pdu.toUpper(), stat);
        if (index == 0) {
            sim.sendCmsError(kMemoryFull);
            return;
        }
        sim.sendLine(QStringLiteral("+CMGW: %1").arg(index));
        sim.sendOk();
    });
}

}  // namespace

void registerStoreCommands(PhoneSim& sim)
{
    sim.addHandler(QStringLiteral("+CPMS=?"), CpmsTest);
    sim.addHandler(QStringLiteral("+CPMS=\"00"), CpmsHexSelect);
    sim.addHandler(QStringLiteral("+CMGL"), Cmgl);
    sim.addHandler(QStringLiteral("+CMGW"), Cmgw);
}

}  // namespace phonesim
