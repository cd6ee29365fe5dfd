#include "tools/phonesim/Arrival.h"

#include "platform/Ansi.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/PhoneSim.h"

namespace phonesim {
namespace {

// Length in digits, type of number, digits in swapped semi-octets.
QString Address(const QString& number)
{
    const bool international = number.startsWith(u'+');
    QString digits = international ? number.mid(1) : number;
    const int length = static_cast<int>(digits.size());
    if (digits.size() % 2)
        digits += u'F';
    QString swapped;
    for (qsizetype i = 0; i + 1 < digits.size(); i += 2)
    {
        swapped += digits.at(i + 1);
        swapped += digits.at(i);
    }
    return Hex2(length) + (international ? QStringLiteral("91") : QStringLiteral("81")) + swapped;
}

}  // namespace

QString Hex2(int v) { return QStringLiteral("%1").arg(v & 0xFF, 2, 16, QLatin1Char('0')).toUpper(); }

QString DeliverPdu(const QString& number, const QString& text)
{
    const QByteArray data = platform::TextToAnsi(text).left(140);
    return QStringLiteral("00") + QStringLiteral("04") + Address(number) + QStringLiteral("00") +
           QStringLiteral("04") + QStringLiteral("42305131540300") + Hex2(static_cast<int>(data.size())) +
           QString::fromLatin1(data.toHex().toUpper());
}

int Arrive(PhoneSim& sim, const QString& number, const QString& text, const QString& memory)
{
    const int index = sim.state().get<MessageMemory>().store(memory, DeliverPdu(number, text));
    if (index)
        sim.inject(QStringLiteral("+CMTI: \"%1\",%2").arg(memory).arg(index));
    return index;
}

}  // namespace phonesim
