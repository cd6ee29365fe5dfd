#pragma once
// A gate wired to the simulated phone on a pseudo-terminal, its three timers
// driven by hand on the fake clock: the port's every 50 ms, the engine's
// every 100 ms and the parts timer's every 1000 ms.
#include "hub/engine/Gate.h"
#include "hub/engine/PhoneCommand.h"
#include "platform/Clock.h"
#include "support/PhoneFixture.h"
#include "tools/phonesim/ConnectCommands.h"

#include <QByteArray>

#include <functional>
#include <vector>

namespace gatetest {

// A port number that maps to no device for the life of the object.
class UnmappedPort {
public:
    explicit UnmappedPort(int port) : name_("PARLOVA_COM" + QByteArray::number(port))
    {
        qputenv(name_.constData(), "/nonexistent/parlova-test-tty");
    }
    ~UnmappedPort() { qunsetenv(name_.constData()); }
    UnmappedPort(const UnmappedPort&) = delete;
    UnmappedPort& operator=(const UnmappedPort&) = delete;

private:
    QByteArray name_;
};

// Another simulated device on a port of its own (the fixture's clock serves
// it too).
class ExtraDevice {
public:
    explicit ExtraDevice(int port) : name_("PARLOVA_COM" + QByteArray::number(port))
    {
        qputenv(name_.constData(), sim.devicePath().toLocal8Bit());
    }
    ~ExtraDevice() { qunsetenv(name_.constData()); }
    ExtraDevice(const ExtraDevice&) = delete;
    ExtraDevice& operator=(const ExtraDevice&) = delete;

    phonesim::PhoneSim sim;

private:
    QByteArray name_;
};

// Rounds of 50 ms on the fake clock, for a rig whose round() says what
// ticks in one.
class Rounds {
public:
    virtual ~Rounds() = default;

    virtual void round() = 0;
    qint64 now() const { return elapsed_; }

    // Rounds until done() holds (checked before each); false after maxMs.
    bool runUntil(const std::function<bool()>& done, qint64 maxMs = 120000)
    {
        const qint64 end = elapsed_ + maxMs;
        while (!done()) {
            if (elapsed_ >= end)
                return false;
            round();
        }
        return true;
    }
    void runFor(qint64 ms)
    {
        const qint64 end = elapsed_ + ms;
        while (elapsed_ < end)
            round();
    }

protected:
    // Rounds run so far.
    qint64 rounds() const { return rounds_; }
    // Ends a round: the clock moves on 50 ms.
    void passRound(platform::FakeClock& clock)
    {
        ++rounds_;
        elapsed_ += 50;
        clock.advance(50);
    }

private:
    qint64 rounds_ = 0;
    qint64 elapsed_ = 0;
};

class GateRig : public Rounds {
public:
    explicit GateRig(int comPort = 7) : phone(comPort) {}

    testsupport::PhoneFixture phone;
    corvane::Gate gate;
    // Pumped in every round beside the fixture's phone.
    std::vector<phonesim::PhoneSim*> devices;
    // Called at the end of every round (to watch progress, for example).
    std::function<void()> observer;
    // Every command pulled from the gate, oldest first.
    std::vector<corvane::PhoneCommandPtr> pulled;

    phonesim::PhoneSim& sim() { return phone.sim(); }
    phonesim::ConnectProfile& profile() { return sim().state().get<phonesim::ConnectProfile>(); }

    // One 50 ms round.
    void round() override
    {
        pump();
        gate.Comm().Tick();
        if (rounds() % 2 == 0)
            gate.EngineTick();
        if (rounds() % 20 == 0)
            gate.PartsTick();
        pump();
        while (corvane::PhoneCommandPtr c = gate.Pull())
            pulled.push_back(c);
        if (observer)
            observer();
        passRound(phone.clock());
    }

    // Runs until the command has come back through Pull.
    bool runUntilPulled(const corvane::PhoneCommandPtr& command, qint64 maxMs = 120000)
    {
        return runUntil([&] { return wasPulled(command); }, maxMs);
    }
    bool wasPulled(const corvane::PhoneCommandPtr& command) const
    {
        for (const auto& c : pulled)
            if (c == command)
                return true;
        return false;
    }

    // A "Connect" command for the port, as the client's order fills it.
    static corvane::PhoneCommandPtr connectCommand(int port, qint32 owner = -1)
    {
        auto command = std::make_shared<corvane::PhoneCommand>();
        command->SetUp(QStringLiteral("Connect"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), owner, 5000,
                       false, false, dorrak::mbtLightCommand);
        fillPort(*command, QStringLiteral("COM") + QString::number(port));
        return command;
    }
    static void fillPort(corvane::PhoneCommand& command, const QString& portName)
    {
        command.setBag(QStringLiteral("PortName"), portName);
        command.setBag(QStringLiteral("PortBaud"), qint32(9600));
        command.setBag(QStringLiteral("PortTimeouts"), QVariant::fromValue(QVector<qint32>(5, 0)));
    }
    static corvane::PhoneCommandPtr rawCommand(const QString& text, qint32 owner, bool start = false,
                                               bool end = false, qint32 timeOut = 5000)
    {
        auto command = std::make_shared<corvane::PhoneCommand>();
        command->SetUp(text + QStringLiteral("\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), owner,
                       timeOut, start, end, dorrak::mbtQueryPhone);
        return command;
    }

    // Connects the gate to the fixture's phone through a "Connect" command.
    bool connect()
    {
        auto command = connectCommand(phone.comPort());
        gate.Push(command);
        return runUntilPulled(command) && gate.connected();
    }

private:
    void pump()
    {
        phone.sim().pump();
        for (phonesim::PhoneSim* d : devices)
            d->pump();
    }
};

// The command lines the device received, "AT\r" as "AT".
inline QStringList Commands(phonesim::PhoneSim& sim) { return sim.commands(); }

}  // namespace gatetest
