#include "e2e/ProgramRun.h"

#include "e2e/ProgramEntry.h"
#include "platform/Timer.h"
#include "platform/UserSettings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace e2e {
namespace {

ProgramRun* g_run = nullptr;
// A hang, not a slow machine: rounds take microseconds.
constexpr qint64 kRealTimeBoundMs = 60000;

}  // namespace

ProgramRun::ProgramRun()
{
    for (int port = 1; port <= kLastPort; ++port) {
        if (port == phone.comPort())
            continue;
        unmapped_ << "PARLOVA_COM" + QByteArray::number(port);
        qputenv(unmapped_.back().constData(), "/nonexistent/parlova-e2e-tty");
    }
    // The program's own place for its settings: $XDG_CONFIG_HOME/Parlova.
    platform::SetSettingsFolder(QString());
    // The program's reader is live; the phone need not wait for it.
    sim().setWaitForDelivery(false);
    sim().setLink(linkFolder_.filePath(QStringLiteral("com7")));
    qputenv(("PARLOVA_COM" + QByteArray::number(phone.comPort())).constData(), sim().link().toLocal8Bit());
    // A pre-routine runs in every QCoreApplication constructor, so the
    // scenario starts in whichever run is current.
    static const bool registered = [] {
        qAddPreRoutine(&ProgramRun::StartScenario);
        return true;
    }();
    (void)registered;
}

ProgramRun::~ProgramRun()
{
    for (const QByteArray& name : unmapped_)
        qunsetenv(name.constData());
    platform::SetSettingsFolder(QString());
}

int ProgramRun::run(const QStringList& arguments, const std::function<void()>& scenario)
{
    scenario_ = scenario;
    g_run = this;
    QByteArrayList storage{QByteArrayLiteral("parlova")};
    for (const QString& a : arguments)
        storage << a.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int result = RunParlova(static_cast<int>(storage.size()), argv.data());
    g_run = nullptr;
    return result;
}

void ProgramRun::StartScenario()
{
    if (!g_run)
        return;
    // Start-up may let events through before the program's loop runs (the
    // hourglass while a file opens); the scenario waits for that loop.
    QTimer::singleShot(0, [] {
        if (!g_run)
            return;
        if (QThread::currentThread()->loopLevel() == 0)
            StartScenario();
        else
            g_run->runScenario();
    });
}

void ProgramRun::runScenario()
{
    try {
        scenario_();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "the scenario threw: " << e.what();
    }
    // A failed assertion left the window open: close it, and if it will not
    // go, end the run anyway so a failure never hangs.
    if (window().isVisible() && !closeWindow()) {
        ADD_FAILURE() << "the main window would not close";
        QCoreApplication::exit(3);
    }
}

parlova::frmMDI& ProgramRun::window()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* mdi = qobject_cast<parlova::frmMDI*>(w))
            return *mdi;
    throw std::runtime_error("no main window");
}

void ProgramRun::round(qint64 stepMs)
{
    sim().pump();
    phone.clock().advance(stepMs);
    platform::RunDueTimers();
    QCoreApplication::processEvents();
    sim().pump();
}

bool ProgramRun::runUntil(const std::function<bool()>& done, qint64 maxMs, qint64 stepMs)
{
    QElapsedTimer real;
    real.start();
    for (qint64 passed = 0; !done(); passed += stepMs) {
        if (passed >= maxMs || real.elapsed() > kRealTimeBoundMs)
            return false;
        round(stepMs);
    }
    return true;
}

bool ProgramRun::runWithServersUntil(const std::function<bool()>& done, qint64 maxMs)
{
    // Wakes the loop when no socket does.
    QTimer wake;
    wake.start(5);
    QElapsedTimer real;
    real.start();
    qint64 last = 0;
    while (!done()) {
        if (real.elapsed() > maxMs)
            return false;
        sim().pump();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const qint64 now = real.elapsed();
        phone.clock().advance(now - last);
        last = now;
        platform::RunDueTimers();
        QCoreApplication::processEvents();
        sim().pump();
    }
    return true;
}

void ProgramRun::runFor(qint64 ms, qint64 stepMs)
{
    for (qint64 passed = 0; passed < ms; passed += stepMs)
        round(stepMs);
}

bool ProgramRun::closeWindow()
{
    window().close();
    QCoreApplication::processEvents();
    return !window().isVisible();
}

void ProgramRun::unplugPhone() { sim().unplug(); }

void ProgramRun::plugPhoneIn()
{
    sim().plugIn();
    sim().setWaitForDelivery(false);
}

}  // namespace e2e
