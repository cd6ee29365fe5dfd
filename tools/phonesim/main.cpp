// The simulated phone as a program: it serves one pseudo-terminal until it
// is stopped, so the program can be tried without a phone.
//
//   phonesim [COM port number] [--contact NAME NUMBER]... [--message NUMBER TEXT]...
//            [--link PATH] [--report-status N] [--report-delay MS]
//
// Each --contact is an entry of the SIM's phone book. Each --message arrives
// from NUMBER a moment after the program connected (once it asked for
// new-message indications). --link makes PATH a symbolic link to the device,
// so a port mapped to PATH finds the simulator again after a restart. A
// message sent with a report requested gets one after --report-delay
// milliseconds (1000) with the status --report-status (0, delivered).
#include "platform/Clock.h"
#include "tools/phonesim/Arrival.h"
#include "tools/phonesim/BookCommands.h"
#include "tools/phonesim/PhoneSim.h"
#include "tools/phonesim/StatusReports.h"

#include <QStringList>

#include <poll.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void Stop(int) { g_stop = 1; }

int Usage(const char* program)
{
    std::fprintf(stderr,
                 "usage: %s [COM port number, default 1] [--contact NAME NUMBER]... [--message NUMBER TEXT]...\n"
                 "       [--link PATH] [--report-status 0-255, default 0] [--report-delay MS, default 1000]\n",
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

// A whole number from low to high, or -1.
long long Whole(const char* text, long long low, long long high)
{
    char* end = nullptr;
    const long long v = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && v >= low && v <= high ? v : -1;
}

}  // namespace

int main(int argc, char** argv)
{
    int port = 1;
    QString link;
    phonesim::ReportProfile reports;
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
        } else if (std::strcmp(argv[i], "--link") == 0) {
            if (++i >= argc || !*argv[i])
                return Usage(argv[0]);
            link = QString::fromLocal8Bit(argv[i]);
        } else if (std::strcmp(argv[i], "--report-status") == 0) {
            if (++i >= argc || (reports.status = static_cast<int>(Whole(argv[i], 0, 255))) < 0)
                return Usage(argv[0]);
        } else if (std::strcmp(argv[i], "--report-delay") == 0) {
            if (++i >= argc || (reports.delayMs = Whole(argv[i], 0, 24LL * 3600 * 1000)) < 0)
                return Usage(argv[0]);
        } else {
            port = static_cast<int>(Whole(argv[i], 1, 1000000));
            if (port < 1)
                return Usage(argv[0]);
        }
    }
    // Stopped by Ctrl-C or kill, it ends as a phone unplugged: its link goes.
    std::signal(SIGINT, Stop);
    std::signal(SIGTERM, Stop);
    std::signal(SIGHUP, Stop);
    try {
        phonesim::PhoneSim sim;
        sim.setWaitForDelivery(false);  // the program's reader is live
        sim.state().get<phonesim::ReportProfile>() = reports;
        int index = 1;
        for (const auto& [name, number] : contacts)
            sim.state().get<phonesim::BookProfile>().book(QStringLiteral("SM"))->put(index++, number, name);
        if (!link.isEmpty())
            sim.setLink(link);
        const QByteArray path = (link.isEmpty() ? sim.devicePath() : link).toLocal8Bit();
        std::printf("Simulated phone on %s\n", sim.devicePath().toLocal8Bit().constData());
        std::printf("Start the program with: PARLOVA_COM%d=%s\n", port, path.constData());
        std::printf("and choose port COM%d. Stop with Ctrl-C.\n", port);
        std::fflush(stdout);
        qint64 due = 0;
        while (!g_stop) {
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
    return 0;
}
