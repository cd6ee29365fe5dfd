#pragma once
// Marks a tick as running and clears the mark on every way out of it, so a
// tick entered again from a nested event loop (a message box) can return at
// once.
namespace platform {

class TickGuard {
public:
    explicit TickGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TickGuard() { flag_ = false; }
    TickGuard(const TickGuard&) = delete;
    TickGuard& operator=(const TickGuard&) = delete;

private:
    bool& flag_;
};

}  // namespace platform
