#pragma once
// What the orders and the main loop need of the windows, as small abstract
// classes. The window code implements them and registers its objects in
// Windows(), keeping the registration as long as the window lives; the
// orders and the main loop never see a widget, so they run (and are tested)
// without any.
//
// Lookups never create a window: an interface object stands for a window
// that may not be loaded, and reports that through Visible().
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class QWidget;

namespace quenby {
struct EmailLetter;
}

namespace parlova {

// The main window's four toolbars; each has the buttons "Connect" and
// "Disconnect".
enum ToolbarId { tlbMDI, tlbTalk, tlbBook, tlbStore };

// The main window's operations the orders and the main loop call.
class MainWindow {
public:
    virtual ~MainWindow() = default;
    // The text in the first pane of the status bar; never a message box.
    virtual void alertUser(const QString& text) = 0;
    // A non-empty caption is remembered; the first pane then shows it with
    // "...Done" (100 and more), "..." (0) or "..." & percent & "%"; -1
    // forgets the caption.
    virtual void ShowProgress(qint32 percent, const QString& caption = QString()) = 0;
    // The phone pane, from the phone gate.
    virtual void Ready() = 0;
    // The SMS availability in the phone pane, from the phone profile.
    virtual void SMS() = 0;
    // The phone's model name in the phone pane.
    virtual void phoneName(const QString& name) = 0;
    // The e-mail pane, from the e-mail gate.
    virtual void Email() = 0;
    // A toolbar button's value: 1 pressed, 0 not. Buttons are found by key:
    // "Connect", "Disconnect", or the tag of the others ("14", "114").
    virtual void SetButtonValue(ToolbarId toolbar, const QString& key, qint32 value) = 0;
    // The caption: the product name, with " (" & unread & ")" unless 0.
    virtual void UpdateCaption(qint32 unread) = 0;
    // A conversation file was opened or saved: the recent-file list.
    virtual void UpdateRecentFilesList(const QString& path) = 0;
    // The toolbar now shown, and whether the toolbar row shows.
    virtual ToolbarId ActiveToolbar() const = 0;
    virtual bool ActiveToolbarVisible() const = 0;
    virtual void SetActiveToolbarVisible(bool visible) = 0;
    // The toolbar of the current child window (or, with True, the main
    // window's own). Only the main window calls it.
    virtual void ChangeToolbar(bool mainWindow) = 0;
    // The child windows: 0 cascade, 1 tile horizontally (stacked, full
    // width), 2 tile vertically, 3 arrange icons.
    virtual void Arrange(qint32 arrangement) = 0;
};

// The pair of buttons on all four toolbars: connected presses "Connect"
// and releases "Disconnect", disconnected the opposite.
void ShowConnectionState(MainWindow& window, bool connected);

// The port dialog (a single modeless dialog owned by the main window).
class PortDialog {
public:
    virtual ~PortDialog() = default;
    virtual bool Visible() const = 0;
    // Closes and forgets it, entries included; nothing when not loaded.
    virtual void Unload() = 0;
    // Shows it modeless, owned by the main window, loading it first.
    virtual void Show() = 0;
    // Adds "COM" & port & ": " & name & " ( made by " & maker & " )" with
    // the port number attached, loading the dialog (hidden) first.
    virtual void AddPort(qint32 port, const QString& name, const QString& maker) = 0;
    // Hides the port list and offers to scan other ports instead of port.
    virtual void AskToScan(const QString& port) = 0;
};

// One open conversation window.
class TalkWindow {
public:
    virtual ~TalkWindow() = default;
    // The first conferee entry that contains the number, "" when none does.
    virtual QString GetConfName(const QString& number) = 0;
    // Kind 0 lowers the count of messages being sent, 1 and 3 raise the
    // unread count, 2 changes no count; a non-empty text becomes a new line
    // of the conversation's log.
    virtual void Log(qint32 kind, const QString& text) = 0;
    // The conversation's name, its key in the registry.
    virtual QString Theme() const = 0;
};

// The registry of open conversations.
class ConferenceRegistry {
public:
    virtual ~ConferenceRegistry() = default;
    // The number of open conversations.
    virtual qint32 TalksCount() = 0;
    // The conversation's unread messages count as read.
    virtual void Read(const QString& theme) = 0;
    virtual bool TalkExist(const QString& theme) = 0;
    // The open window of that theme; raises a run-time error when none is.
    virtual TalkWindow& Talk(const QString& theme) = 0;
    // The open window at position 1 to TalksCount, in the registry's order.
    virtual TalkWindow& Talk(qint32 position) = 0;
    // A conferee with this number or address is registered.
    virtual bool ConfereeExist(const QString& key) = 0;
    // The registered conferee's display name (its Name).
    virtual QString ConfereeName(const QString& key) = 0;
    // An arrived message or status report for its sender's conversation;
    // "" or the error text.
    virtual QString PutMessage(const QString& number, const QString& text, bool isStatusReport, qint32 mr,
                               const QDateTime& dischargeTime) = 0;
    // An arrived letter for its sender's conversation; "" or the error text.
    virtual QString PutEmailMessage(const quenby::EmailLetter& letter) = 0;
};

// A window whose lists and text boxes get their font and colour through
// ChooseFont and ChooseColor keeps the choice itself; each returns "" or
// the error text. A window without this interface keeps nothing.
class FormatOwner {
public:
    virtual ~FormatOwner() = default;
    virtual QString SaveFont(QWidget* control) = 0;
    virtual QString SaveCharset(QWidget* control) = 0;
    virtual QString SaveColor(QWidget* control) = 0;
    // The title of the box that shows such an error.
    virtual QString Theme() const = 0;
};

// The window states the store windows are set back to.
constexpr qint32 vbNormal = 0;
constexpr qint32 vbMinimized = 1;
constexpr qint32 vbMaximized = 2;

// What the store orders use of a single-instance child window.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;
    virtual bool Visible() const = 0;
    virtual qint32 WindowState() const = 0;
    virtual void SetWindowState(qint32 state) = 0;
    // Gives it the focus, opening it (and filling it) when it is not open.
    virtual void SetFocus() = 0;
    virtual void Unload() = 0;
};

// Closes the window and opens it again, empty, in the state it had.
void RebuildEmpty(ChildWindow& window);

class PhonebookWindow : public ChildWindow {
public:
    // "" or "Contact not found".
    virtual QString AddContact(const QString& bookName, qint32 index) = 0;
    virtual QString UpdateContact(const QString& bookName, qint32 index) = 0;
    virtual QString DeleteContact(const QString& bookName, qint32 index) = 0;
};

class MessageStoreWindow : public ChildWindow {
public:
    virtual void AddMessage(qint32 storageIndex, qint32 messageIndex) = 0;
    // "" or "Not found".
    virtual QString DeleteMessage(qint32 storageIndex, qint32 messageIndex) = 0;
};

// A window's place in the window set, held by the window: when it is
// destroyed (or released) the place is emptied, unless another window has
// taken it since. Outliving the window set is harmless.
class WindowRegistration {
public:
    WindowRegistration() = default;
    WindowRegistration(WindowRegistration&& other) noexcept;
    WindowRegistration& operator=(WindowRegistration&& other) noexcept;
    WindowRegistration(const WindowRegistration&) = delete;
    WindowRegistration& operator=(const WindowRegistration&) = delete;
    ~WindowRegistration() { Release(); }
    void Release();

private:
    friend class WindowSet;
    explicit WindowRegistration(std::function<void()> clear) : clear_(std::move(clear)) {}
    std::function<void()> clear_;
};

// Where the window code registers its objects (none is owned here). A
// missing one is reported by the accessors below as the runtime's "Object
// variable or With block variable not set (91)".
class WindowSet {
public:
    WindowSet();

    // The registered window, nullptr when none is.
    MainWindow* frmMDI() const { return slots_->frmMDI; }
    PortDialog* frmPort() const { return slots_->frmPort; }
    PhonebookWindow* frmPhonebook() const { return slots_->frmPhonebook; }
    MessageStoreWindow* frmMessageStore() const { return slots_->frmMessageStore; }

    [[nodiscard]] WindowRegistration Register(MainWindow& window) { return put(&Slots::frmMDI, window); }
    [[nodiscard]] WindowRegistration Register(PortDialog& window) { return put(&Slots::frmPort, window); }
    [[nodiscard]] WindowRegistration Register(PhonebookWindow& window) { return put(&Slots::frmPhonebook, window); }
    [[nodiscard]] WindowRegistration Register(MessageStoreWindow& window)
    {
        return put(&Slots::frmMessageStore, window);
    }

private:
    struct Slots {
        MainWindow* frmMDI = nullptr;
        PortDialog* frmPort = nullptr;
        PhonebookWindow* frmPhonebook = nullptr;
        MessageStoreWindow* frmMessageStore = nullptr;
    };

    template <class T>
    WindowRegistration put(T* Slots::*slot, T& window)
    {
        (*slots_).*slot = &window;
        return WindowRegistration([weak = std::weak_ptr<Slots>(slots_), slot, w = &window] {
            if (const std::shared_ptr<Slots> s = weak.lock(); s && (*s).*slot == w)
                (*s).*slot = nullptr;
        });
    }

    std::shared_ptr<Slots> slots_;
};

// The current application object's windows.
WindowSet& Windows();

MainWindow& MainWin();
PortDialog& PortDlg();
// The registry the application object made at start-up.
ConferenceRegistry& ConferencesReg();
PhonebookWindow& PhonebookWin();
MessageStoreWindow& MessageStoreWin();

// The date a missing time reads as (day 0 of the date serial numbers).
QDateTime ZeroDate();

}  // namespace parlova
