#pragma once
// Frees a watched dialog when the function that ran it returns. Dialogs run
// on the heap, watched: a timer may unload the owner while one is up, and
// the dialog goes with it; only what is left is freed here.
#include <QPointer>

namespace platform {

template <class Dialog>
class DialogRelease {
public:
    explicit DialogRelease(QPointer<Dialog>& dialog) : dialog_(dialog) {}
    ~DialogRelease() { delete dialog_.data(); }
    DialogRelease(const DialogRelease&) = delete;
    DialogRelease& operator=(const DialogRelease&) = delete;

private:
    QPointer<Dialog>& dialog_;
};

}  // namespace platform
