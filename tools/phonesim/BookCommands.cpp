// The phone-book commands: book list and selection, book parameters, reading
// entries by range or index, writing and deleting entries.
#include "tools/phonesim/BookCommands.h"

#include "platform/Ansi.h"
#include "tools/phonesim/ConnectCommands.h"
#include "tools/phonesim/PhoneSim.h"

namespace phonesim {

void SimPhoneBook::put(int index, const QString& number, const QString& text)
{
    entries[index] = SimBookEntry{number, number.startsWith(u'+') ? 145 : 129, text};
}

BookProfile::BookProfile()
{
    SimPhoneBook sim;
    sim.name = QStringLiteral("SM");
    SimPhoneBook handset;
    handset.name = QStringLiteral("ME");
    handset.indexMax = 500;
    handset.nameLen = 30;
    books = {sim, handset};
}

SimPhoneBook* BookProfile::book(const QString& name)
{
    for (SimPhoneBook& b : books)
        if (b.name.compare(name, Qt::CaseInsensitive) == 0)
            return &b;
    return nullptr;
}

void BookProfile::putSampleContacts()
{
    book(QStringLiteral("SM"))->put(1, QStringLiteral("+111"), QStringLiteral("Ann"));
    book(QStringLiteral("SM"))->put(2, QStringLiteral("+222"), QStringLiteral("Bob"));
    book(QStringLiteral("SM"))->put(10, QStringLiteral("+1010"), QString::fromUtf8("Zo\xc3\xab"));
    book(QStringLiteral("ME"))->put(1, QStringLiteral("+333"), QStringLiteral("Carol"));
}

namespace {

BookProfile& Books(PhoneSim& s) { return s.state().get<BookProfile>(); }

bool Ucs2(PhoneSim& s) { return s.state().get<ConnectProfile>().cscs == QLatin1String("UCS2"); }

QString ToHex(const QString& text)
{
    QString out;
    for (QChar c : text)
        out += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return out;
}

// Four hex digits per unit; false for anything else.
bool FromHex(const QString& hex, QString& text)
{
    if (hex.size() % 4 != 0)
        return false;
    text.clear();
    for (qsizetype i = 0; i < hex.size(); i += 4) {
        bool ok = false;
        const uint unit = hex.mid(i, 4).toUInt(&ok, 16);
        if (!ok)
            return false;
        text.append(QChar(static_cast<char16_t>(unit)));
    }
    return true;
}

// UTF-8 as a phone takes it: three-octet halves of a surrogate pair are
// kept as they come, and a broken octet becomes U+FFFD.
QString FromUtf8Bytes(const QByteArray& bytes)
{
    QString out;
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = static_cast<uchar>(bytes[i]);
        int more = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        uint code = more == 0 ? b : more == 1 ? (b & 0x1F) : more == 2 ? (b & 0x0F) : (b & 0x07);
        qsizetype j = i + 1;
        for (int k = 0; k < more; ++k, ++j) {
            if (j >= bytes.size() || (static_cast<uchar>(bytes[j]) & 0xC0) != 0x80) {
                more = -1;
                break;
            }
            code = code * 64 + (static_cast<uchar>(bytes[j]) & 0x3F);
        }
        if (more < 0) {
            out.append(QChar(0xFFFD));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            const char32_t c = code;
            out.append(QString::fromUcs4(&c, 1));
        } else {
            out.append(QChar(static_cast<char16_t>(code)));
        }
        i = j;
    }
    return out;
}

// Fields parted by commas outside double quotes, quotes kept.
QStringList SplitArgs(const QString& args)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (QChar c : args) {
        if (c == u'"')
            quoted = !quoted;
        if (c == u',' && !quoted) {
            fields.append(field.trimmed());
            field.clear();
        } else {
            field.append(c);
        }
    }
    fields.append(field.trimmed());
    return fields;
}

// A quoted string parameter; false when it is not quoted.
bool Unquote(const QString& field, QString& text)
{
    if (field.size() < 2 || !field.startsWith(u'"') || !field.endsWith(u'"'))
        return false;
    text = field.mid(1, field.size() - 2);
    return true;
}

bool ToInt(const QString& text, int& value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

// A string as the phone writes it under the current character set: the
// text of a "+CPBS"/"+CPBR" line, bytes and all.
QByteArray NameBytes(PhoneSim& s, const QString& name)
{
    return Ucs2(s) ? ToHex(name).toLatin1() : name.toUtf8();
}

QString ShownNumber(PhoneSim& s, const QString& number)
{
    return Ucs2(s) && Books(s).hexStrings ? ToHex(number) : number;
}

// A string parameter as the phone reads it under the current character set.
bool ReadString(const QString& field, bool hex, QString& text)
{
    QString raw;
    if (!Unquote(field, raw))
        return false;
    if (hex)
        return FromHex(raw, text);
    text = FromUtf8Bytes(platform::TextToAnsi(raw));
    return true;
}

QByteArray EntryLine(PhoneSim& s, int index, const SimBookEntry& e)
{
    QByteArray line = "+CPBR: " + QByteArray::number(index) + ",\"" + ShownNumber(s, e.number).toLatin1() + "\"," +
                      QByteArray::number(e.type) + ",\"" + NameBytes(s, e.name) + "\"\r\n";
    return line;
}

void SendEmpty(PhoneSim& s)
{
    switch (Books(s).emptyAnswer) {
    case EmptyBookAnswer::CmeCode:
        s.sendCmeError(22);
        break;
    case EmptyBookAnswer::CmeText:
        if (s.state().cmee == 0)
            s.sendError();
        else
            s.sendLine(QStringLiteral("+CME ERROR: not found"));
        break;
    case EmptyBookAnswer::Ok:
        s.sendOk();
        break;
    }
}

void Select(PhoneSim& s, const Command& c)
{
    BookProfile& p = Books(s);
    if (c.args == QLatin1String("=?")) {
        QStringList names;
        for (const QString& n : p.listed)
            names << QStringLiteral("\"") + (Ucs2(s) && p.hexStrings ? ToHex(n) : n) + QStringLiteral("\"");
        s.sendLine(QStringLiteral("+CPBS: (") + names.join(u',') + u')');
        s.sendOk();
        return;
    }
    if (c.args == QLatin1String("?")) {
        SimPhoneBook* b = p.book(p.selected);
        if (!b) {
            s.sendCmeError(3);
            return;
        }
        s.sendLine(QStringLiteral("+CPBS: \"%1\",%2,%3").arg(b->name).arg(b->used()).arg(b->indexMax - b->indexMin + 1));
        s.sendOk();
        return;
    }
    QString name;
    if (!c.args.startsWith(u'=') || !Unquote(c.args.mid(1).trimmed(), name)) {
        s.sendCmeError(50);
        return;
    }
    QString decoded;
    if (Ucs2(s) && p.hexStrings && FromHex(name, decoded))
        name = decoded;
    SimPhoneBook* b = p.book(name);
    if (!b) {
        s.sendCmeError(3);
        return;
    }
    p.selected = b->name;
    s.sendOk();
}

void Read(PhoneSim& s, const Command& c)
{
    BookProfile& p = Books(s);
    SimPhoneBook* b = p.book(p.selected);
    if (!b) {
        s.sendCmeError(3);
        return;
    }
    if (c.args == QLatin1String("=?")) {
        s.sendLine(QStringLiteral("+CPBR: (%1-%2),%3,%4").arg(b->indexMin).arg(b->indexMax).arg(b->numberLen).arg(b->nameLen));
        s.sendOk();
        return;
    }
    const QStringList fields = c.args.startsWith(u'=') ? SplitArgs(c.args.mid(1)) : QStringList();
    int first = 0;
    int last = 0;
    const bool parsed = !fields.isEmpty() && fields.size() <= 2 && ToInt(fields[0], first) &&
                        (fields.size() == 1 || ToInt(fields[1], last));
    if (!parsed) {
        s.sendCmeError(50);
        return;
    }
    if (fields.size() == 1)
        last = first;
    if (first < b->indexMin || last > b->indexMax || first > last) {
        s.sendCmeError(21);
        return;
    }
    // Every entry of the range in one reply, as a phone streams it.
    QByteArray reply = "\r\n";
    int found = 0;
    for (auto it = b->entries.lower_bound(first); it != b->entries.end() && it->first <= last; ++it, ++found)
        reply += EntryLine(s, it->first, it->second);
    if (found == 0) {
        SendEmpty(s);
        return;
    }
    reply += "\r\nOK\r\n";
    s.send(reply);
}

void Write(PhoneSim& s, const Command& c)
{
    BookProfile& p = Books(s);
    SimPhoneBook* b = p.book(p.selected);
    if (!b) {
        s.sendCmeError(3);
        return;
    }
    if (c.args == QLatin1String("=?")) {
        s.sendLine(QStringLiteral("+CPBW: (%1-%2),%3,(129,145),%4")
                       .arg(b->indexMin)
                       .arg(b->indexMax)
                       .arg(b->numberLen)
                       .arg(b->nameLen));
        s.sendOk();
        return;
    }
    if (!c.args.startsWith(u'=')) {
        s.sendCmeError(50);
        return;
    }
    const QStringList fields = SplitArgs(c.args.mid(1));
    int index = 0;
    const bool indexGiven = !fields[0].isEmpty();
    if (indexGiven && !ToInt(fields[0], index)) {
        s.sendCmeError(21);
        return;
    }
    if (indexGiven && (index < b->indexMin || index > b->indexMax)) {
        s.sendCmeError(21);
        return;
    }
    if (fields.size() == 1) {
        // The index alone empties that entry.
        if (!indexGiven) {
            s.sendCmeError(50);
            return;
        }
        b->entries.erase(index);
        s.sendOk();
        return;
    }
    if (fields.size() > 4) {
        s.sendCmeError(50);
        return;
    }
    const bool ucs2 = Ucs2(s);
    QString number;
    if (!ReadString(fields[1], ucs2 && p.hexStrings, number)) {
        s.sendCmeError(27);
        return;
    }
    for (QChar ch : number) {
        if (!((ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'*' || ch == u'#')) {
            s.sendCmeError(27);
            return;
        }
    }
    if (number.size() > b->numberLen) {
        s.sendCmeError(26);
        return;
    }
    int type = number.startsWith(u'+') ? 145 : 129;
    if (fields.size() > 2 && !fields[2].isEmpty() && !ToInt(fields[2], type)) {
        s.sendCmeError(50);
        return;
    }
    QString name;
    if (fields.size() > 3 && !ReadString(fields[3], ucs2, name)) {
        s.sendCmeError(25);
        return;
    }
    if (name.size() > b->nameLen) {
        s.sendCmeError(24);
        return;
    }
    if (!indexGiven) {
        index = b->indexMin;
        while (index <= b->indexMax && b->entries.count(index))
            ++index;
        if (index > b->indexMax) {
            s.sendCmeError(20);
            return;
        }
    }
    b->entries[index] = SimBookEntry{number, type, name};
    s.sendOk();
}

}  // namespace

void registerBookCommands(PhoneSim& sim)
{
    sim.addHandler(QStringLiteral("+CPBS"), &Select);
    sim.addHandler(QStringLiteral("+CPBR"), &Read);
    sim.addHandler(QStringLiteral("+CPBW"), &Write);
}

}  // namespace phonesim
