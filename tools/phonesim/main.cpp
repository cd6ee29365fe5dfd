// The simulated phone as a program: it serves one pseudo-terminal until it
// is stopped, so the program can be tried without a phone.
//
//   phonesim [COM port number] [--contact NAME NUMBER]... [--message NUMBER TEXT]...
//
// Each --contact is an entry of the SIM's phone book. Each --message arrives
// from NUMBER a moment after the program connected (once it asked for
// new-message indications).
#include "platform/Clock.h"
#include "tools/phonesim/Arrival.h"
#include "tools/phonesim/BookCommands.h"
#include "tools/phonesim/PhoneSim.h"

#include <QStringList>

#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

namespace {

int Usage(const char* program)
{
    std::fprintf(stderr,
                 "usage: %s [COM port number, default 1] [--contact NAME NUMBER]... [--message NUMBER TEXT]...\n",
                 program);
    return 2;
}

// The terminal set how new messages are indicated (not only asked how).
bool IndicationsSet(const QStringList& commands)
{
    for (const QString& c : commands)
        if (c.startsWith(QLatin1String("AT+CNMI="), Qt::CaseInsensitive) && !c.endsWith(QLatin1String("=?")))
            return true;
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    int port = 1;
    std::vector<std::pair<QString, QString>> messages;
    std::vector<std::pair<QString, QString>> contacts;
    for (int i = 1; i < argc; ++i) {
        const bool message = std::strcmp(argv[i], "--message") == 0;
        if (message || std::strcmp(argv[i], "--contact") == 0) {
            if (i + 2 >= argc)
                return Usage(argv[0]);
            (message ? messages : contacts)
                .emplace_back(QString::fromLocal8Bit(argv[i + 1]), QString::fromLocal8Bit(argv[i + 2]));
            i += 2;
        } else {
            port = std::atoi(argv[i]);
            if (port < 1)
                return Usage(argv[0]);
        }
    }
    try {
        phonesim::PhoneSim sim;
        sim.setWaitForDelivery(false);  // the program's reader is live
        int index = 1;
        for (const auto& [name, number] : contacts)
            sim.state().get<phonesim::BookProfile>().book(QStringLiteral("SM"))->put(index++, number, name);
        const QByteArray path = sim.devicePath().toLocal8Bit();
        std::printf("Simulated phone on %s\n", path.constData());
        std::printf("Start the program with: PARLOVA_COM%d=%s\n", port, path.constData());
        std::printf("and choose port COM%d. Stop with Ctrl-C.\n", port);
        std::fflush(stdout);
        qint64 due = 0;
        for (;;) {
            pollfd p{sim.masterFd(), POLLIN, 0};
            ::poll(&p, 1, 20);
            sim.pump();
            if (messages.empty())
                continue;
            if (due == 0 && IndicationsSet(sim.commands()))
                due = platform::TickCount() + 1000;
            if (due != 0 && platform::TickCount() >= due) {
                for (const auto& [number, text] : messages)
                    phonesim::Arrive(sim, number, text);
                messages.clear();
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
