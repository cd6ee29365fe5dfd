#pragma once
// A simulated phone on a pseudo-terminal, mapped to one COM port number for
// the life of the fixture, with the fake clock that drives every deadline.
//
//   testsupport::PhoneFixture phone;            // COM7 -> the simulator
//   dorrak::CommPort port;
//   port.Connect(phone.comPort(), 9600, phone.timeouts());
//   phone.runUntil(port, [&] { return connected; });
#include "tools/phonesim/PhoneSim.h"
#include "platform/Clock.h"

#include <QVector>

#include <functional>
#include <memory>

namespace testsupport {

class PhoneFixture {
public:
    explicit PhoneFixture(int comPort = 7);
    ~PhoneFixture();
    PhoneFixture(const PhoneFixture&) = delete;
    PhoneFixture& operator=(const PhoneFixture&) = delete;

    phonesim::PhoneSim& sim() { return *sim_; }
    platform::FakeClock& clock() { return clock_; }
    int comPort() const { return comPort_; }
    // Five zero time-outs, the shape Connect expects.
    static QVector<qint32> timeouts() { return QVector<qint32>(5, 0); }

    // One round: pump the phone, run tick, pump the phone again.
    void step(const std::function<void()>& tick);
    // Rounds, the clock moving stepMs after each, until done() holds (checked
    // before the first round and after each); false when maxSteps ran out.
    bool runUntil(const std::function<void()>& tick, const std::function<bool()>& done, int maxSteps = 400,
                  qint64 stepMs = 50);
    // The same for anything with a Tick() method (a CommPort, a gate).
    template <class Tickable>
        requires requires(Tickable& t) { t.Tick(); }
    bool runUntil(Tickable& t, const std::function<bool()>& done, int maxSteps = 400, qint64 stepMs = 50)
    {
        return runUntil([&t] { t.Tick(); }, done, maxSteps, stepMs);
    }
    template <class Tickable>
        requires requires(Tickable& t) { t.Tick(); }
    void step(Tickable& t)
    {
        step([&t] { t.Tick(); });
    }

private:
    int comPort_;
    QByteArray envName_;
    platform::FakeClock clock_;
    std::unique_ptr<phonesim::PhoneSim> sim_;
};

}  // namespace testsupport
