#pragma once
// The client's main loop without its window: the main window's 300 ms timer
// calls Tick, which takes one finished command from the phone gate and one
// from the e-mail gate, hands each to the order waiting for it or to the
// conference registry, lets the queues start their next orders, and mirrors
// both gates in the status panes and toolbars.
#include "client/core/WindowSeams.h"

#include <QString>

namespace corvane {
class PhoneCommand;
}
namespace quenby {
class ReadEmailCommand;
}

namespace parlova {

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
