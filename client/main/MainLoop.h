#pragma once
// The client's main loop without its window: the main window's 300 ms timer
// calls Tick, which takes one finished command from the phone gate and one
// from the e-mail gate, hands each to the order waiting for it or to the
// conference registry, lets the queues start their next orders, and mirrors
// both gates in the status panes and toolbars.
//
// MainWindowPanes is the widget-free half of the main window's status
// operations (the texts, tool tips and button values); the window shows what
// it holds.
#include "client/core/WindowSeams.h"

#include <QString>

#include <array>
#include <functional>
#include <map>

namespace corvane {
class PhoneCommand;
}
namespace quenby {
class ReadEmailCommand;
}

namespace parlova {

struct StatusPane {
    QString text;
    QString toolTip;
    bool enabled = true;
};

class MainWindowPanes : public MainWindow {
public:
    MainWindowPanes();

    void alertUser(const QString& text) override;
    void ShowProgress(qint32 percent, const QString& caption = QString()) override;
    void Ready() override;
    void SMS() override;
    void phoneName(const QString& name) override;
    void Email() override;
    void SetButtonValue(ToolbarId toolbar, const QString& key, qint32 value) override;

    // Panes 1 to 4; another number raises.
    const StatusPane& Pane(int index) const;
    // 0 for a button never set.
    qint32 ButtonValue(ToolbarId toolbar, const QString& key) const;
    QString ProgressCaption() const { return progressCaption_; }

    // Told after a pane or a button changed, so a window can show it.
    std::function<void(int pane)> paneChanged;
    std::function<void(ToolbarId toolbar, const QString& key)> buttonChanged;

private:
    StatusPane& pane(int index);
    void changed(int index);

    std::array<StatusPane, 4> panes_;
    std::map<std::pair<int, QString>, qint32> buttons_;
    QString progressCaption_;
};

class MainLoop {
public:
    // The main window's timer interval.
    static constexpr int kIntervalMs = 300;

    // One tick of the main window's timer.
    void Tick();

    bool PhoneWasConnected() const { return phoneWasConnected_; }
    bool MailWasReady() const { return mailWasReady_; }

private:
    void tick();
    QString phoneReplies();
    QString phoneArrival(const corvane::PhoneCommand& command);
    QString mailReplies();
    void HandleReadEmailReply(quenby::ReadEmailCommand& command);

    bool inTick_ = false;
    bool phoneWasConnected_ = false;
    bool mailWasReady_ = false;
};

}  // namespace parlova
