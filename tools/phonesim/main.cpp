// The simulated phone as a program: it serves one pseudo-terminal until it
// is stopped, so the program can be tried without a phone.
#include "tools/phonesim/PhoneSim.h"

#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
    int port = 1;
    if (argc > 1) {
        port = std::atoi(argv[1]);
        if (port < 1) {
            std::fprintf(stderr, "usage: %s [COM port number, default 1]\n", argv[0]);
            return 2;
        }
    }
    try {
        phonesim::PhoneSim sim;
        sim.setWaitForDelivery(false);  // the program's reader is live
        const QByteArray path = sim.devicePath().toLocal8Bit();
        std::printf("Simulated phone on %s\n", path.constData());
        std::printf("Start the program with: PARLOVA_COM%d=%s\n", port, path.constData());
        std::printf("and choose port COM%d. Stop with Ctrl-C.\n", port);
        std::fflush(stdout);
        for (;;) {
            pollfd p{sim.masterFd(), POLLIN, 0};
            ::poll(&p, 1, 20);
            sim.pump();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
