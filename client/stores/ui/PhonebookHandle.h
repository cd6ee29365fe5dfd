#pragma once
// The one phone-book window of the program, as the orders and the
// procedures reach it (Windows().frmPhonebook): loaded on demand as a child
// of the main window's work area; its row operations answer "Contact not
// found" while it is not loaded. No lookup loads it; SetFocus does.
#include "client/core/WindowSeams.h"
#include "client/core/ui/MdiChild.h"

#include <functional>
#include <memory>

class QMdiArea;
class QWidget;

namespace parlova {

class Application;
class frmPhonebook;

class PhonebookHandle : public PhonebookWindow {
public:
    // area: where the window opens; registers the handle in Windows().
    explicit PhonebookHandle(std::function<QMdiArea*()> area);
    ~PhonebookHandle() override;
    PhonebookHandle(const PhonebookHandle&) = delete;
    PhonebookHandle& operator=(const PhonebookHandle&) = delete;

    bool Visible() const override { return child_.Visible(); }
    qint32 WindowState() const override { return child_.WindowState(); }
    void SetWindowState(qint32 state) override { child_.SetWindowState(state); }
    void SetFocus() override { child_.SetFocus(); }
    void Unload() override { child_.Unload(); }
    QString AddContact(const QString& bookName, qint32 index) override;
    QString UpdateContact(const QString& bookName, qint32 index) override;
    QString DeleteContact(const QString& bookName, qint32 index) override;

    // The loaded window, nullptr when none is.
    frmPhonebook* Window() const;
    // The window the procedures' forms open over.
    QWidget* Owner() const;

    // Makes the program's handle, its window opening in area, and fills the
    // phone-book slots of the cross-layer table. The caller keeps it.
    static std::unique_ptr<PhonebookHandle> Install(Application& app, std::function<QMdiArea*()> area);
    // The current application object's handle and its loaded window.
    static PhonebookHandle* Current();
    static frmPhonebook* CurrentWindow();

private:
    std::function<QMdiArea*()> area_;
    MdiChild child_;
    WindowRegistration registration_;
};

}  // namespace parlova
