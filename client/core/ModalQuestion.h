#pragma once
// A message box asked by an order, a connection procedure or the main loop.
// The window layer says how a box is shown (SetAsker); the askers here never
// see a widget. A modal box runs a nested event loop in which the timers
// keep firing; while one is open the main loop leaves the queues alone, so
// an order the user is being asked about is not finished (or started)
// behind their back.
#include "platform/MessageBoxStyle.h"
#include "platform/ModalFormCount.h"

#include <QString>

#include <functional>

namespace parlova {

class ModalQuestion {
public:
    using Asker = std::function<int(const platform::MessageBoxRequest& request)>;

    // Shows the box through the asker with the open count held for its
    // duration; with no asker set nobody can answer, which reads as Cancel.
    static int Ask(const QString& prompt, int style, const QString& title = QString(), int helpContext = 0);
    // A question or one of the program's own modal forms is open.
    static bool IsOpen() { return open_ > 0 || platform::ModalFormCount::Any(); }
    // Returns the asker it replaces.
    static Asker SetAsker(Asker asker);

private:
    static int open_;
};

}  // namespace parlova
