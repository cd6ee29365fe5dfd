#pragma once
// The one message-store window of the program, as the orders and the
// procedures reach it (Windows().frmMessageStore): loading it on demand as a
// child of the main window's work area, answering for it while it is not
// loaded. No lookup loads it; SetFocus does.
#include "client/core/WindowSeams.h"
#include "client/core/ui/MdiChild.h"

#include <functional>
#include <memory>

class QMdiArea;

namespace parlova {

class Application;
class frmMessageStore;

class MessageStoreHandle : public MessageStoreWindow {
public:
    // area: where the window opens; registers the handle in Windows().
    explicit MessageStoreHandle(std::function<QMdiArea*()> area);
    ~MessageStoreHandle() override;
    MessageStoreHandle(const MessageStoreHandle&) = delete;
    MessageStoreHandle& operator=(const MessageStoreHandle&) = delete;

    // Loaded and shown, minimised included.
    bool Visible() const override;
    qint32 WindowState() const override;
    void SetWindowState(qint32 state) override;
    // Loads (filling it from the message store), shows and activates it.
    void SetFocus() override;
    // Closes it; the next SetFocus loads a new one.
    void Unload() override;
    // Nothing while it is not loaded.
    void AddMessage(qint32 location, qint32 index) override;
    // "Not found" while it is not loaded.
    QString DeleteMessage(qint32 location, qint32 index) override;

    // The loaded window, nullptr when none is.
    frmMessageStore* Window() const;

    // Makes the program's handle, its window opening in area, and fills
    // the cross-layer ToggleMessageOptions slot. The caller keeps it.
    static std::unique_ptr<MessageStoreHandle> Install(Application& app, std::function<QMdiArea*()> area);
    // The loaded message-store window of the current application object.
    static frmMessageStore* Current();

private:
    MdiChild child_;
    WindowRegistration registration_;
};

}  // namespace parlova
