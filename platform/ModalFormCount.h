#pragma once
// How many of the program's own modal forms are open. Kept below the widget
// layer: the main loop, which sees no widget, leaves its queues alone while
// a form is up, as it does while a question is asked.
namespace platform {

// One more form counts as open for the holder's lifetime.
class ModalFormCount {
public:
    ModalFormCount() { ++open_; }
    ~ModalFormCount() { --open_; }
    ModalFormCount(const ModalFormCount&) = delete;
    ModalFormCount& operator=(const ModalFormCount&) = delete;

    static bool Any() { return open_ > 0; }

private:
    static inline int open_ = 0;
};

}  // namespace platform
