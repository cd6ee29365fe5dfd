#pragma once
// The conversation window's menus, which the main window shows in place of
// its own while the window is current, and the mouse handlers of its
// conferee list and new-message box. Move To, Send To and Join are filled
// again each time their menu opens.
#include <QMap>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QAction;
class QMenu;

namespace parlova {

class frmTalk;
struct SubmenuItem;

class TalkMenus : public QObject {
    Q_OBJECT
public:
    explicit TalkMenus(frmTalk& window);

    // File, Message, Conferee, Talk, Tools, Window, Help.
    QList<QMenu*> Menus() const { return menus_; }
    // An item by its name ("mnuTalkSend", "mnuConfereeMoveTo").
    QAction* Item(const QString& name) const { return items_.value(name); }
    QMenu* Menu(const QString& name) const;

    void SetMessageOptionsChecked(bool checked);
    // The Conferee menu at the pointer, Edit in bold.
    void PopupConfereeMenu(const QPoint& globalPos);
    void FillMoveTo();
    void FillTalkSubmenus();

    // The message box's commands.
    void Clear();
    void SelectAll();
    void Copy();
    void Cut();
    void Paste();
    void Delete();
    void TimeDate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class F>
    QAction* add(QMenu* menu, const char* name, const QString& caption, F action, const QKeySequence& key = {});
    QMenu* menu(const char* name, const QString& caption);
    void fill(QMenu* submenu, const QList<SubmenuItem>& items, const std::function<void(const SubmenuItem&)>& chosen);
    void sendToConferee(const SubmenuItem& item);
    bool text4Active() const;
    bool edgeMouse(QEvent* event);

    frmTalk& window_;
    QList<QMenu*> menus_;
    QMap<QString, QAction*> items_;
    QMap<QString, QMenu*> submenus_;
    bool resizing_ = false;
    // Watched for the mouse; compared only, so a control that goes first
    // is never reached through the window.
    QPointer<QWidget> listViewport_;
    QPointer<QWidget> text4Viewport_;
};

}  // namespace parlova
