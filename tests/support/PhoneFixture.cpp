#include "support/PhoneFixture.h"

#include <QByteArray>

namespace testsupport {

PhoneFixture::PhoneFixture(int comPort)
    : comPort_(comPort), envName_("PARLOVA_COM" + QByteArray::number(comPort)),
      sim_(std::make_unique<phonesim::PhoneSim>())
{
    qputenv(envName_.constData(), sim_->devicePath().toLocal8Bit());
}

PhoneFixture::~PhoneFixture() { qunsetenv(envName_.constData()); }

void PhoneFixture::step(const std::function<void()>& tick)
{
    sim_->pump();
    tick();
    sim_->pump();
}

bool PhoneFixture::runUntil(const std::function<void()>& tick, const std::function<bool()>& done, int maxSteps,
                            qint64 stepMs)
{
    if (done())
        return true;
    for (int i = 0; i < maxSteps; ++i) {
        step(tick);
        if (done())
            return true;
        clock_.advance(stepMs);
    }
    return false;
}

}  // namespace testsupport
