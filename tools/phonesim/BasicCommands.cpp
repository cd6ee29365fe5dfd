// The commands every phone answers: AT and echo. The extended error mode
// is the connect profile's (ConnectCommands.cpp).
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
}

}  // namespace phonesim
