#include "tools/phonesim/MessageCommands.h"

namespace phonesim {

namespace {

constexpr int kInvalidPduParameter = 304;

bool IsHex(const QString& text)
{
    for (QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f')))
            return false;
    return true;
}

}  // namespace

int Number(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = !t.isEmpty();
    for (QChar c : t)
        ok = ok && c >= u'0' && c <= u'9';
    const int n = ok ? t.toInt(&ok) : -1;
    return ok ? n : -1;
}

int TpduLength(const QString& pdu)
{
    if (pdu.size() < 2 || pdu.size() % 2 != 0 || !IsHex(pdu))
        return -1;
    bool ok = false;
    const int sc = pdu.left(2).toInt(&ok, 16);
    const int octets = static_cast<int>(pdu.size() / 2) - sc - 1;
    return ok && octets >= 0 ? octets : -1;
}

QString Counts(MessageMemory& m, const QString& name)
{
    return QString::number(m.used(name)) + QLatin1Char(',') + QString::number(m.total(name));
}

QString SelectionCounts(MessageMemory& m)
{
    return QStringLiteral("+CPMS: ") + Counts(m, m.mem1) + QLatin1Char(',') + Counts(m, m.mem2) + QLatin1Char(',') +
           Counts(m, m.mem3);
}

void PromptForPdu(PhoneSim& s, const QString& command, int length, PduHandler onPdu)
{
    const bool bare = s.state().get<MessageMemory>().barePrompt;
    const QString prompt = bare ? QStringLiteral(">\r\n") : QStringLiteral("\r\n> ");
    s.sendPrompt(
        [command, length, onPdu = std::move(onPdu)](PhoneSim& sim, const QByteArray& data, bool cancelled) {
            MessageMemory& memory = sim.state().get<MessageMemory>();
            QString pdu = QString::fromLatin1(data);
            pdu.remove(u'\r');
            pdu.remove(u'\n');
            memory.received.push_back({command, length, pdu, cancelled});
            if (cancelled) {
                sim.sendOk();
                return;
            }
            if (TpduLength(pdu) != length) {
                sim.sendCmsError(kInvalidPduParameter);
                return;
            }
            onPdu(sim, memory, pdu);
        },
        prompt);
}

}  // namespace phonesim
