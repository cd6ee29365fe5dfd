#pragma once
// The simulated phone's message memories, shared by every command file that
// reads, writes, lists or deletes messages:
//   phonesim::MessageMemory& m = sim.state().get<phonesim::MessageMemory>();
//   int index = m.store("SM", pdu, phonesim::kRecUnread);
//   sim.inject(QStringLiteral("+CMTI: \"SM\",%1").arg(index));
//
// Storages "SM" (SIM), "ME" (handset) and "SR" (status reports) hold PDUs
// (hex text, service-centre field included) with their 27.005 stat, one per
// slot, indexes from 1 to the storage's total. "MT" is no storage of its own:
// it is SM followed by ME, so MT index total(SM) + n is ME index n, as on
// phones whose ME indications count on after the SIM places.
//
// The AT+CPMS selection (read/delete, write/send, receive) lives here too, and
// so do the sending knobs of AT+CMGS and the record of every PDU received.
#include <QString>
#include <QStringList>

#include <deque>
#include <map>
#include <vector>

namespace phonesim {

// The stat values of PDU mode.
constexpr int kRecUnread = 0;
constexpr int kRecRead = 1;
constexpr int kStoUnsent = 2;
constexpr int kStoSent = 3;
constexpr int kStatAll = 4;  // AT+CMGL=4

struct StoredMessage {
    int stat = kRecUnread;
    QString pdu;
};

struct Storage {
    QString name;
    int total = 0;
    std::map<int, StoredMessage> filled;  // by index, only the filled ones

    int used() const { return static_cast<int>(filled.size()); }
    // The lowest empty index, 0 when full.
    int firstFree() const
    {
        for (int i = 1; i <= total; ++i)
            if (filled.find(i) == filled.end())
                return i;
        return 0;
    }
};

// What the phone does with a PDU sent after the AT+CMGS prompt.
struct PduOutcome {
    enum class Kind { Accept, CmsError, Error, Silence };
    Kind kind = Kind::Accept;
    int code = 0;  // CmsError: numbered by the CMEE mode ("ERROR" in mode 0)
    // An unsolicited line the phone sends before its answer, as when a
    // message arrives while ours goes out ("+CMTI: \"SM\",3").
    QString lineFirst;

    static PduOutcome Accept() { return {Kind::Accept, 0, {}}; }
    static PduOutcome Cms(int code) { return {Kind::CmsError, code, {}}; }
    static PduOutcome PlainError() { return {Kind::Error, 0, {}}; }
    static PduOutcome Silence() { return {Kind::Silence, 0, {}}; }
    PduOutcome after(const QString& line) const
    {
        PduOutcome o = *this;
        o.lineFirst = line;
        return o;
    }
};

// One PDU the phone was given after a prompt.
struct ReceivedPdu {
    QString command;  // "+CMGS", "+CMGW"
    int length = 0;   // the <length> of the command
    QString pdu;      // as received, the terminator not included
    bool cancelled = false;  // ended by ESC
};

struct MessageMemory {
    Storage sm{QStringLiteral("SM"), 20, {}};
    Storage me{QStringLiteral("ME"), 250, {}};
    Storage sr{QStringLiteral("SR"), 20, {}};

    // AT+CPMS: <mem1> read and delete, <mem2> write and send, <mem3> receive.
    QString mem1 = QStringLiteral("SM");
    QString mem2 = QStringLiteral("ME");
    QString mem3 = QStringLiteral("MT");

    // An empty slot read with AT+CMGR: false "+CMS ERROR: 321" (invalid
    // memory index), true "+CMGR: 0,,0" and OK, as some phones answer.
    bool emptySlotAsRecord = false;

    // AT+CMGS: the prompt as most phones write it, CR LF "> ", or the bare
    // ">" CR LF of some modems.
    bool barePrompt = false;
    // The reference of the next accepted PDU; it rises by one per PDU, mod 256.
    int nextMR = 0;
    // What the next PDUs get, oldest first; accepted when it runs out.
    std::deque<PduOutcome> pduOutcomes;
    // Every PDU received after a prompt, in order.
    std::vector<ReceivedPdu> received;

    // The PDUs given to AT+CMGS and ended by Ctrl-Z, whatever the answer.
    QStringList sentPdus() const
    {
        QStringList out;
        for (const ReceivedPdu& r : received)
            if (r.command == QLatin1String("+CMGS") && !r.cancelled)
                out << r.pdu;
        return out;
    }

    static QString unquote(const QString& name)
    {
        QString n = name.trimmed();
        if (n.size() >= 2 && n.startsWith(u'"') && n.endsWith(u'"'))
            n = n.mid(1, n.size() - 2);
        return n.toUpper();
    }
    // SM, ME, SR or MT, quoted or not.
    bool known(const QString& name) const
    {
        const QString n = unquote(name);
        return n == QLatin1String("MT") || storage(n) != nullptr;
    }
    Storage* storage(const QString& name)
    {
        const QString n = unquote(name);
        if (n == QLatin1String("SM"))
            return &sm;
        if (n == QLatin1String("ME"))
            return &me;
        if (n == QLatin1String("SR"))
            return &sr;
        return nullptr;
    }
    const Storage* storage(const QString& name) const { return const_cast<MessageMemory*>(this)->storage(name); }

    int total(const QString& name) const
    {
        if (unquote(name) == QLatin1String("MT"))
            return sm.total + me.total;
        const Storage* s = storage(name);
        return s ? s->total : 0;
    }
    int used(const QString& name) const
    {
        if (unquote(name) == QLatin1String("MT"))
            return sm.used() + me.used();
        const Storage* s = storage(name);
        return s ? s->used() : 0;
    }

    // The storage and its own index that an index of a storage names; false
    // when the storage is unknown or the index lies outside it.
    bool locate(const QString& name, int index, Storage*& where, int& at)
    {
        where = nullptr;
        at = 0;
        if (unquote(name) == QLatin1String("MT")) {
            if (index >= 1 && index <= sm.total) {
                where = &sm;
                at = index;
            } else if (index > sm.total && index <= sm.total + me.total) {
                where = &me;
                at = index - sm.total;
            }
        } else if (Storage* s = storage(name); s && index >= 1 && index <= s->total) {
            where = s;
            at = index;
        }
        return where != nullptr;
    }
    // The message at an index, nullptr for an empty slot or a bad index.
    StoredMessage* message(const QString& name, int index)
    {
        Storage* where = nullptr;
        int at = 0;
        if (!locate(name, index, where, at))
            return nullptr;
        auto it = where->filled.find(at);
        return it == where->filled.end() ? nullptr : &it->second;
    }
    // Puts a PDU into the lowest free slot; returns its index in that storage
    // (for MT counted as MT counts), 0 when the storage is full or unknown.
    int store(const QString& name, const QString& pdu, int stat = kRecUnread)
    {
        if (unquote(name) == QLatin1String("MT")) {
            if (const int i = sm.firstFree()) {
                sm.filled[i] = {stat, pdu};
                return i;
            }
            if (const int i = me.firstFree()) {
                me.filled[i] = {stat, pdu};
                return sm.total + i;
            }
            return 0;
        }
        Storage* s = storage(name);
        const int i = s ? s->firstFree() : 0;
        if (i)
            s->filled[i] = {stat, pdu};
        return i;
    }
    // Puts a PDU at a given index (a test placing a message where it wants).
    bool storeAt(const QString& name, int index, const QString& pdu, int stat = kRecUnread)
    {
        Storage* where = nullptr;
        int at = 0;
        if (!locate(name, index, where, at))
            return false;
        where->filled[at] = {stat, pdu};
        return true;
    }
    // Empties a slot; false for a bad index (an empty slot is no error).
    bool erase(const QString& name, int index)
    {
        Storage* where = nullptr;
        int at = 0;
        if (!locate(name, index, where, at))
            return false;
        where->filled.erase(at);
        return true;
    }
    // Index and message of every filled slot, in index order (MT: SM then ME).
    std::vector<std::pair<int, StoredMessage*>> list(const QString& name)
    {
        std::vector<std::pair<int, StoredMessage*>> out;
        auto add = [&out](Storage& s, int offset) {
            for (auto& [i, m] : s.filled)
                out.push_back({i + offset, &m});
        };
        if (unquote(name) == QLatin1String("MT")) {
            add(sm, 0);
            add(me, sm.total);
        } else if (Storage* s = storage(name)) {
            add(*s, 0);
        }
        return out;
    }
};

}  // namespace phonesim
