#pragma once
// The real main window offscreen over a fresh application object, the real
// gates and the simulated phone on COM7, with boxes, dialogs and the desktop
// answered by recorders and a settings store of the test's own. One round is
// 50 ms of the fake clock: the port ticks every round, the gate's engine
// every second and Timer1 every sixth.
#include "client/support/SettingsStoreFixture.h"

#include "client/conversations/ui/TalkWindows.h"
#include "client/core/Application.h"
#include "client/core/Orders.h"
#include "client/core/PhoneProfile.h"
#include "client/core/Procedures.h"
#include "client/core/ui/SettingsWidgets.h"
#include "client/main/MainProcedures.h"
#include "client/main/ui/frmMDI.h"
#include "email/EmailGate.h"
#include "email/QuenbyGlobalObjs.h"
#include "hub/GateRig.h"
#include "hub/engine/Gate.h"
#include "support/PhoneFixture.h"
#include "support/ui/DialogRecorder.h"
#include "support/ui/MessageBoxRecorder.h"
#include "support/ui/RecordingDesktopService.h"
#include "tools/phonesim/ConnectCommands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <memory>

namespace mainwintest {

class MainWindowTest : public SettingsStoreTest, public gatetest::Rounds {
protected:
    void TearDown() override
    {
        window.reset();
        app.reset();
        SettingsStoreTest::TearDown();
    }

    // The application's start-up, the port remembered as COM7; with
    // talkWindows, conversations open as windows in the main window's area.
    void startApp(bool talkWindows = false)
    {
        app = std::make_unique<parlova::Application>();
        parlova::ConnectQuestionsToMessageBoxes();
        if (talkWindows)
            parlova::TalkWindows::Install(*app, [this] { return window ? window->MdiArea() : nullptr; });
        app->StartUp();
        settings().LastChoice(true);
        settings().LastPort(7);
        parlova::InstallMainProcedures();
    }
    // The window's start-up, with the command line.
    void showWindow(const QStringList& arguments = {})
    {
        window = std::make_unique<parlova::frmMDI>(arguments);
        window->Load();
    }
    void start(const QStringList& arguments = {})
    {
        startApp();
        showWindow(arguments);
    }

    parlova::Settings& settings() { return app->settings(); }
    parlova::Globals& globals() { return app->globals(); }
    parlova::Orders& phoneOrders() { return *globals().PhoneOrders; }

    void round() override
    {
        phone.sim().pump();
        if (const auto& gate = globals().PhoneGate) {
            gate->Comm().Tick();
            if (rounds() % 2 == 0)
                gate->EngineTick();
        }
        if (rounds() % 6 == 0 && window)
            window->Loop().Tick();
        phone.sim().pump();
        passRound(phone.clock());
    }
    bool runUntilIdle(qint64 maxMs = 120000)
    {
        return runUntil([&] { return !phoneOrders().ActiveOrder() && phoneOrders().Count() == 0; }, maxMs);
    }

    parlova::MainWindowPanes& panes() { return window->Panes(); }
    QString pane(int n) { return panes().Pane(n).text; }
    QString tip(int n) { return panes().Pane(n).toolTip; }

    // A child window of the frame, named as its form, made current.
    QMdiSubWindow* addChild(const QString& form, QWidget* widget = nullptr)
    {
        if (!widget)
            widget = new QWidget;
        widget->setObjectName(form);
        widget->setAttribute(Qt::WA_DeleteOnClose);
        QMdiSubWindow* sub = window->MdiArea()->addSubWindow(widget);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
        window->MdiArea()->setActiveSubWindow(sub);
        return sub;
    }

    testsupport::PhoneFixture phone{7};
    platform::MessageBoxRecorder boxes;
    platform::DialogRecorder dialogs;
    platform::RecordingDesktopService desktop;
    std::unique_ptr<parlova::Application> app;
    std::unique_ptr<parlova::frmMDI> window;
};

}  // namespace mainwintest
