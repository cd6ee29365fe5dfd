#include "client/core/WindowSeams.h"

#include "client/core/Globals.h"

#include "platform/VbError.h"

#include <utility>

namespace parlova {

void ShowConnectionState(MainWindow& window, bool connected)
{
    for (ToolbarId toolbar : {tlbTalk, tlbMDI, tlbBook, tlbStore}) {
        window.SetButtonValue(toolbar, QStringLiteral("Connect"), connected ? 1 : 0);
        window.SetButtonValue(toolbar, QStringLiteral("Disconnect"), connected ? 0 : 1);
    }
}

void RebuildEmpty(ChildWindow& window)
{
    const qint32 state = window.WindowState();
    window.Unload();
    window.SetFocus();
    window.SetWindowState(state);
}

WindowRegistration::WindowRegistration(WindowRegistration&& other) noexcept : clear_(std::move(other.clear_))
{
    other.clear_ = nullptr;
}

WindowRegistration& WindowRegistration::operator=(WindowRegistration&& other) noexcept
{
    if (this != &other) {
        Release();
        clear_ = std::move(other.clear_);
        other.clear_ = nullptr;
    }
    return *this;
}

void WindowRegistration::Release()
{
    if (clear_)
        std::exchange(clear_, nullptr)();
}

WindowSet::WindowSet() : slots_(std::make_shared<Slots>()) {}

MainWindow& MainWin() { return platform::Required(Windows().frmMDI(), QStringLiteral("Parlova")); }
PortDialog& PortDlg() { return platform::Required(Windows().frmPort(), QStringLiteral("Parlova")); }
ConferenceRegistry& ConferencesReg() { return platform::Required(G().Conferences, QStringLiteral("Parlova")); }
PhonebookWindow& PhonebookWin() { return platform::Required(Windows().frmPhonebook(), QStringLiteral("Parlova")); }
MessageStoreWindow& MessageStoreWin()
{
    return platform::Required(Windows().frmMessageStore(), QStringLiteral("Parlova"));
}

QDateTime ZeroDate() { return QDateTime(QDate(1899, 12, 30), QTime(0, 0)); }

}  // namespace parlova
