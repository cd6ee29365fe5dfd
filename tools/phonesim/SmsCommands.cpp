// The message commands of PDU mode: storages (AT+CPMS), sending after a
// prompt (AT+CMGS), reading (AT+CMGR) and deleting (AT+CMGD), over the
// message memories of MessageMemory.h.
#include "tools/phonesim/ConnectCommands.h"
#include "tools/phonesim/MessageCommands.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/PhoneSim.h"
#include "tools/phonesim/StatusReports.h"

#include <QStringList>

namespace phonesim {

namespace {

// 27.005 error codes the commands below give.
constexpr int kOperationNotAllowed = 302;
constexpr int kInvalidPduParameter = 304;
constexpr int kInvalidMemoryIndex = 321;

MessageMemory& Memory(PhoneSim& s) { return s.state().get<MessageMemory>(); }

QString Quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

void Cpms(PhoneSim& s, const Command& c)
{
    MessageMemory& m = Memory(s);
    ConnectProfile& profile = s.state().get<ConnectProfile>();
    if (c.args == QLatin1String("?")) {
        s.sendLine(QStringLiteral("+CPMS: ") + Quoted(m.mem1) + QLatin1Char(',') + Counts(m, m.mem1) +
                   QLatin1Char(',') + Quoted(m.mem2) + QLatin1Char(',') + Counts(m, m.mem2) + QLatin1Char(',') +
                   Quoted(m.mem3) + QLatin1Char(',') + Counts(m, m.mem3));
        s.sendOk();
        return;
    }
    if (c.args == QLatin1String("=?")) {
        s.sendLine(QStringLiteral("+CPMS: (\"SM\",\"ME\",\"MT\",\"SR\"),(\"SM\",\"ME\",\"MT\"),(\"SM\",\"ME\",\"MT\")"));
        s.sendOk();
        return;
    }
    if (!c.args.startsWith(u'=') || profile.cpmsSetRefused) {
        s.sendCmsError(kOperationNotAllowed);
        return;
    }
    const QStringList names = c.args.mid(1).split(u',');
    if (names.size() > 3) {
        s.sendCmsError(kOperationNotAllowed);
        return;
    }
    for (const QString& name : names) {
        if (!m.known(name)) {
            s.sendCmsError(kOperationNotAllowed);
            return;
        }
    }
    // Status reports are only read from SR; nothing is written or received
    // there.
    for (int i = 1; i < names.size(); ++i) {
        if (MessageMemory::unquote(names[i]) == QLatin1String("SR")) {
            s.sendCmsError(kOperationNotAllowed);
            return;
        }
    }
    m.mem1 = MessageMemory::unquote(names[0]);
    if (names.size() > 1)
        m.mem2 = MessageMemory::unquote(names[1]);
    if (names.size() > 2)
        m.mem3 = MessageMemory::unquote(names[2]);
    profile.cpmsMemories = c.args.mid(1);
    s.sendLine(SelectionCounts(m));
    s.sendOk();
}

void Cmgs(PhoneSim& s, const Command& c)
{
    if (c.args == QLatin1String("=?")) {
        s.sendOk();
        return;
    }
    const int length = c.args.startsWith(u'=') ? Number(c.args.mid(1)) : -1;
    // A TPDU is at most 164 octets; 0 is no message.
    if (length < 1 || length > 164) {
        s.sendCmsError(kInvalidPduParameter);
        return;
    }
    PromptForPdu(s, QStringLiteral("+CMGS"), length, [](PhoneSim& sim, MessageMemory& memory, const QString& pdu) {
        PduOutcome outcome;
        if (!memory.pduOutcomes.empty()) {
            outcome = memory.pduOutcomes.front();
            memory.pduOutcomes.pop_front();
        }
        // The line goes first, in a read of its own; the answer follows.
        qint64 delay = 0;
        if (!outcome.lineFirst.isEmpty()) {
            sim.inject(outcome.lineFirst);
            delay = 200;
        }
        switch (outcome.kind) {
        case PduOutcome::Kind::Accept:
            sim.sendLine(QStringLiteral("+CMGS: %1").arg(memory.nextMR), delay);
            sim.sendOk();
            ReportLater(sim, pdu, memory.nextMR);
            memory.nextMR = (memory.nextMR + 1) % 256;
            break;
        case PduOutcome::Kind::CmsError:
            sim.sendCmsError(outcome.code, delay);
            break;
        case PduOutcome::Kind::Error:
            sim.sendError(delay);
            break;
        case PduOutcome::Kind::Silence:
            break;
        }
    });
}

void Cmgr(PhoneSim& s, const Command& c)
{
    MessageMemory& m = Memory(s);
    if (c.args == QLatin1String("=?")) {
        s.sendOk();
        return;
    }
    const int index = c.args.startsWith(u'=') ? Number(c.args.mid(1)) : -1;
    Storage* where = nullptr;
    int at = 0;
    if (!m.locate(m.mem1, index, where, at)) {
        s.sendCmsError(kInvalidMemoryIndex);
        return;
    }
    StoredMessage* message = m.message(m.mem1, index);
    if (!message) {
        if (m.emptySlotAsRecord) {
            s.sendLine(QStringLiteral("+CMGR: 0,,0"));
            s.sendOk();
        } else {
            s.sendCmsError(kInvalidMemoryIndex);
        }
        return;
    }
    s.sendLine(QStringLiteral("+CMGR: %1,,%2").arg(message->stat).arg(qMax(0, TpduLength(message->pdu))));
    s.sendText(message->pdu + QStringLiteral("\r\n"));
    s.sendOk();
    if (message->stat == kRecUnread)
        message->stat = kRecRead;
}

void Cmgd(PhoneSim& s, const Command& c)
{
    MessageMemory& m = Memory(s);
    if (c.args == QLatin1String("=?")) {
        s.sendLine(QStringLiteral("+CMGD: (1-%1),(0-4)").arg(m.total(m.mem1)));
        s.sendOk();
        return;
    }
    const QStringList fields = c.args.startsWith(u'=') ? c.args.mid(1).split(u',') : QStringList();
    const int index = fields.isEmpty() ? -1 : Number(fields[0]);
    const int flag = fields.size() > 1 ? Number(fields[1]) : 0;
    if (fields.size() > 2 || flag < 0 || flag > 4) {
        s.sendCmsError(kOperationNotAllowed);
        return;
    }
    if (flag == 0) {
        if (!m.erase(m.mem1, index)) {
            s.sendCmsError(kInvalidMemoryIndex);
            return;
        }
        s.sendOk();
        return;
    }
    // 1 read, 2 read and sent, 3 read, sent and unsent, 4 all; the index is
    // then ignored.
    for (const auto& [i, message] : m.list(m.mem1)) {
        const int stat = message->stat;
        const bool gone = flag == 4 || stat == kRecRead || (flag >= 2 && stat == kStoSent) ||
                          (flag >= 3 && stat == kStoUnsent);
        if (gone)
            m.erase(m.mem1, i);
    }
    s.sendOk();
}

}  // namespace

void registerSmsCommands(PhoneSim& sim)
{
    sim.addHandler(QStringLiteral("+CPMS"), Cpms);
    sim.addHandler(QStringLiteral("+CMGS"), Cmgs);
    sim.addHandler(QStringLiteral("+CMGR"), Cmgr);
    sim.addHandler(QStringLiteral("+CMGD"), Cmgd);
}

}  // namespace phonesim
