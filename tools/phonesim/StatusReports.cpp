#include "tools/phonesim/StatusReports.h"

#include "platform/Clock.h"
#include "tools/phonesim/Arrival.h"
#include "tools/phonesim/ConnectCommands.h"
#include "tools/phonesim/MessageCommands.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/PhoneSim.h"

#include <cstdlib>

namespace phonesim {
namespace {

constexpr int kSubmit = 1;
constexpr int kReportRequested = 0x20;

int Octet(const QString& pdu, qsizetype at)
{
    bool ok = false;
    const int v = at >= 0 && at + 2 <= pdu.size() ? pdu.mid(at, 2).toInt(&ok, 16) : -1;
    return ok ? v : -1;
}

// Two decimal digits, swapped as semi-octets are.
QString Swapped(int n) { return QString::number(n % 10) + QString::number(n / 10 % 10); }

// The 14 digits of a time stamp: local time and its offset in quarter hours.
QString Stamp(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime h = t.time();
    const int quarters = t.offsetFromUtc() / 900;
    const int q = std::abs(quarters);
    return Swapped(d.year() % 100) + Swapped(d.month()) + Swapped(d.day()) + Swapped(h.hour()) +
           Swapped(h.minute()) + Swapped(h.second()) + QString::number(q % 10) +
           QString::number((q / 10 % 8) | (quarters < 0 ? 8 : 0), 16).toUpper();
}

// The destination field of a SUBMIT that asks for a report, as it stands;
// empty for any other PDU.
QString RequestedRecipient(const QString& pdu)
{
    const int sc = Octet(pdu, 0);
    const qsizetype first = 2 + 2 * qsizetype(sc);
    const int f = Octet(pdu, first);
    if (sc < 0 || f < 0 || (f & 3) != kSubmit || !(f & kReportRequested))
        return QString();
    const qsizetype address = first + 4;  // past the first octet and the reference
    const int digits = Octet(pdu, address);
    const qsizetype length = 4 + 2 * qsizetype((digits + 1) / 2);
    if (digits < 0 || address + length > pdu.size())
        return QString();
    return pdu.mid(address, length).toUpper();
}

// The <ds> of the indications the terminal set, 0 when it set none.
int ReportRoute(PhoneSim& sim)
{
    const QStringList fields = sim.state().get<ConnectProfile>().cnmi.split(u',');
    return fields.size() > 3 ? qMax(0, Number(fields[3])) : 0;
}

}  // namespace

QString StatusReportPdu(int mr, const QString& recipient, const QDateTime& taken, const QDateTime& discharged,
                        int status)
{
    return QStringLiteral("0006") + Hex2(mr) + recipient + Stamp(taken) + Stamp(discharged) + Hex2(status);
}

void ReportLater(PhoneSim& sim, const QString& submitPdu, int mr)
{
    const QString recipient = RequestedRecipient(submitPdu);
    if (recipient.isEmpty())
        return;
    const QDateTime taken = platform::Now();
    sim.later(sim.state().get<ReportProfile>().delayMs, [mr, recipient, taken](PhoneSim& s) {
        const int status = s.state().get<ReportProfile>().status;
        const QString pdu = StatusReportPdu(mr, recipient, taken, platform::Now(), status);
        switch (ReportRoute(s)) {
        case 1:
            s.sendText(QStringLiteral("\r\n+CDS: %1\r\n").arg(TpduLength(pdu)) + pdu + QStringLiteral("\r\n"));
            break;
        case 2:
            // A full memory drops it, as phones do.
            if (const int index = s.state().get<MessageMemory>().store(QStringLiteral("SR"), pdu))
                s.inject(QStringLiteral("+CDSI: \"SR\",%1").arg(index));
            break;
        default:
            break;
        }
    });
}

}  // namespace phonesim
