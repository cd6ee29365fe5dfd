#pragma once
// The main window: a frame for the conversation, phone-book and
// message-store windows, with the menus, the four toolbars, the status
// panes and Timer1, the client's main loop. What it shows lives in
// MainWindowPanes; the window only mirrors it and forwards the user's
// actions.
#include "client/core/ui/SharedActions.h"
#include "client/main/MainLoop.h"
#include "client/main/MainWindowPanes.h"
#include "client/main/ToolbarDispatcher.h"
#include "platform/Timer.h"

#include <QMainWindow>
#include <QMap>
#include <QStringList>

#include <array>
#include <memory>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace parlova {

class frmPort;

class frmMDI : public QMainWindow, private ActiveChild, private SharedActions {
    Q_OBJECT
public:
    // The window's size before any placement is stored, in twips.
    static constexpr double kDesignWidth = 10800;
    static constexpr double kDesignHeight = 7800;

    // arguments: the conversation files named on the command line.
    explicit frmMDI(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~frmMDI() override;

    // The window's part of start-up, after the process-wide objects were
    // made: toolbar, placement, caption, panes, shown, connections, command
    // line, recent files; then Timer1 runs.
    void Load();

    MainWindowPanes& Panes() { return panes_; }
    MainLoop& Loop() { return loop_; }
    QMdiArea* MdiArea() const { return mdi_; }
    QToolBar* Toolbar(ToolbarId toolbar) const { return toolbars_[toolbar]; }
    // Pane 1 to 4 of the status bar.
    QLabel* PaneLabel(int pane) const { return panes_labels_[pane - 1]; }
    // A menu item by its name ("mnuFileNew", "mnuRecentFile3").
    QAction* MenuAction(const QString& name) const { return actions_.value(name); }
    // A toolbar button's action by its key ("Connect", "14").
    QAction* ButtonAction(ToolbarId toolbar, const QString& key) const;
    frmPort& PortWindow() const { return *port_; }
    ToolbarDispatcher& Dispatcher() { return dispatcher_; }
    // The child windows as the Window menus arrange them.
    void ArrangeChildren(qint32 arrangement);

protected:
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbars();
    void buildStatusBar();
    void showPane(int pane);
    void showButton(ToolbarId toolbar, const QString& key);
    void showToolbars();
    void showMenusOf(QMdiSubWindow* child);
    void loadRecentFiles();
    void childActivated(QMdiSubWindow* child);
    void placeWindow();
    void savePlacement();
    // Runs a user's command; an exception never leaves it.
    void guarded(const std::function<void()>& command);

    // ActiveChild
    QWidget* ActiveWindow() const override;
    QString ActiveFormName() const override;
    QString ActiveTheme() const override;
    QString ActiveCaption() const override;
    QWidget* ActiveControl(const QString& name) const override;
    void EditText(TextCommand command) override;

    // SharedActions
    QList<QAction*> RecentFileActions() const override { return recent_; }
    QAction* ToolbarAction() const override { return actions_.value(QStringLiteral("mnuToolsToolbar")); }

    QStringList arguments_;
    MainWindowPanes panes_;
    MainLoop loop_;
    ToolbarDispatcher dispatcher_{*this};
    QMdiArea* mdi_ = nullptr;
    std::array<QToolBar*, 4> toolbars_{};
    std::array<QLabel*, 4> panes_labels_{};
    QMap<QString, QAction*> actions_;
    QList<QAction*> recent_;
    QList<QAction*> ownMenus_;
    QMap<QString, QAction*> buttons_;  // "toolbar/key"
    frmPort* port_ = nullptr;
    WindowRegistration mdiRegistration_;
    WindowRegistration portRegistration_;
    std::unique_ptr<platform::Timer> timer1_;
    bool unloaded_ = false;
};

}  // namespace parlova
