#pragma once
// The whole program as a user starts it: its own main() with its windows
// offscreen, the simulated phone on COM7 (every other port of the scan's
// range leads nowhere), boxes, dialogs, forms and the desktop answered by
// recorders, and the program's settings in the XDG folders of the test.
//
// Every timer of the program is inert and runs on the fake clock: one round
// moves the clock on, fires the timers that are due, lets Qt deliver what
// arrived (sockets, posted events) and lets the phone answer. A scenario runs
// inside the program's event loop and ends by closing the main window.
//
//   e2e::ProgramRun run;
//   run.run({}, [&] {
//       run.window().MenuAction("mnuToolsConnect")->trigger();
//       ASSERT_TRUE(run.runUntil([&] { return ...; }));
//   });
#include "client/core/Application.h"
#include "client/main/ui/frmMDI.h"
#include "support/PhoneFixture.h"
#include "support/TestEnvironment.h"
#include "support/ui/DialogRecorder.h"
#include "support/ui/MessageBoxRecorder.h"
#include "support/ui/ModalFormRecorder.h"
#include "support/ui/RecordingDesktopService.h"

#include <QByteArrayList>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace e2e {

class ProgramRun {
public:
    // The last port of the scan's default range.
    static constexpr int kLastPort = 256;

    ProgramRun();
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Runs the program with the command line's arguments; scenario runs once
    // its event loop has started. A main window the scenario left open is
    // closed after it. Returns what main() returned.
    int run(const QStringList& arguments, const std::function<void()>& scenario);

    // Only while a run is on.
    parlova::frmMDI& window();
    parlova::Application& app() { return parlova::Application::Current(); }
    phonesim::PhoneSim& sim() { return phone.sim(); }

    // One round: stepMs of the fake clock.
    void round(qint64 stepMs = 50);
    // Rounds until done() holds (checked before each); false after maxMs of
    // the fake clock, or when a minute of real time passed (a hang).
    bool runUntil(const std::function<bool()>& done, qint64 maxMs = 120000, qint64 stepMs = 50);
    void runFor(qint64 ms, qint64 stepMs = 50);
    // Rounds while the program waits on real servers: the clock moves as
    // real time does, so their time-outs mean what they say. False after
    // maxMs.
    bool runWithServersUntil(const std::function<bool()>& done, qint64 maxMs = 60000);
    // Closes the main window as its close box does; true when it went.
    bool closeWindow();
    // The phone's cable: out, and in again. COM7 is mapped to a fixed link
    // that follows the phone's device, as a phone plugged in comes back on
    // its port, so the program's map stays as it was.
    void unplugPhone();
    void plugPhoneIn();

private:
    // A home and XDG folders of this run's own: each run starts as a user's
    // first start, whatever ran before it in the process.
    support::TestEnvironment home_;
    QTemporaryDir linkFolder_;

public:
    testsupport::PhoneFixture phone{7};
    platform::MessageBoxRecorder boxes;
    platform::DialogRecorder dialogs;
    platform::ModalFormRecorder forms;
    platform::RecordingDesktopService desktop;

private:
    static void StartScenario();
    void runScenario();

    QByteArrayList unmapped_;
    std::function<void()> scenario_;
};

}  // namespace e2e
