// The commands every phone answers: AT, echo and the extended error mode.
#include "tools/phonesim/PhoneSim.h"

namespace phonesim {

void registerBasicCommands(PhoneSim& sim)
{
    sim.addHandler(QString(), [](PhoneSim& s, const Command&) { s.sendOk(); });

    sim.addHandler(QStringLiteral("E"), [](PhoneSim& s, const Command& c) {
        if (c.args.isEmpty() || c.args == QLatin1String("0")) {
            s.state().echo = false;
        } else if (c.args == QLatin1String("1")) {
            s.state().echo = true;
        } else {
            s.sendError();
            return;
        }
        s.sendOk();
    });

    sim.addHandler(QStringLiteral("+CMEE"), [](PhoneSim& s, const Command& c) {
        if (c.args == QLatin1String("=?")) {
            s.sendLine(QStringLiteral("+CMEE: (0-2)"));
            s.sendOk();
        } else if (c.args == QLatin1String("?")) {
            s.sendLine(QStringLiteral("+CMEE: %1").arg(s.state().cmee));
            s.sendOk();
        } else if (c.args.startsWith(QLatin1Char('='))) {
            const QString value = c.args.mid(1).trimmed();
            bool ok = value.isEmpty();
            const int mode = ok ? 0 : value.toInt(&ok);
            if (!ok || mode < 0 || mode > 2) {
                s.sendCmeError(50);  // incorrect parameters
                return;
            }
            s.state().cmee = mode;
            s.sendOk();
        } else {
            s.sendError();
        }
    });
}

}  // namespace phonesim
