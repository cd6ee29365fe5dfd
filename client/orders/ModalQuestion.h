#pragma once
// A message box asked by an order or a connection procedure. A modal box
// runs a nested event loop in which the timers keep firing; while one is
// open the main loop leaves the queues alone, so an order the user is being
// asked about is not finished (or started) behind their back.
#include <QString>

namespace parlova {

class ModalQuestion {
public:
    // platform::msgBox with the open count held for its duration.
    static int Ask(const QString& prompt, int style, const QString& title = QString(), int helpContext = 0);
    static bool IsOpen() { return open_ > 0; }

private:
    static int open_;
};

}  // namespace parlova
