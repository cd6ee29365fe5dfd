#pragma once
// The application object: it holds the program's process-wide objects (the
// globals, the settings, the registered windows) and runs the steps of
// start-up and shut-down that need no window, in the program's order. The
// main window wires it to its timer and does the window steps itself.
//
// The object made last is the current one, which G(), Settings::Instance()
// and Windows() reach; when it goes, the one before it is current again.
// Code that reaches them while none was made gets one made for it.
#include "client/core/Globals.h"
#include "client/core/Procedures.h"
#include "client/core/Settings.h"
#include "client/core/WindowSeams.h"

#include <QString>

#include <functional>
#include <memory>

namespace parlova {

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application& Current();

    Globals& globals() { return globals_; }
    Settings& settings() { return settings_; }
    WindowSet& windows() { return windows_; }
    // The procedures that cross layers, filled by each area at start.
    Procedures& procedures() { return procedures_; }

    // Makes the conference registry at start-up; while it is empty no
    // registry is made.
    std::function<std::shared_ptr<ConferenceRegistry>()> MakeConferences;
    // Told "create X" and "release X" as each global object is created and
    // released, X being its name.
    std::function<void(const QString& step)> Trace;

    // The default font, the settings, the gates (the phone gate with its
    // chains, its log started when the settings say so), the queues, the
    // records and the registry, in this order; the e-mail gate's service
    // type becomes the setting EmailType.
    void StartUp();
    // Releases the global objects in order, the phone gate's log closed
    // before the gates go. Nothing is released while a conversation is open:
    // then False.
    bool ShutDown();

private:
    template <class T>
    void release(std::shared_ptr<T>& object, const char* name);
    void trace(const char* verb, const char* name);

    Globals globals_;
    Settings settings_;
    WindowSet windows_;
    Procedures procedures_;
    Application* previous_ = nullptr;
};

}  // namespace parlova
