#pragma once
// What the main window shares with its child windows: the recent-file
// entries of the File menu and the Toolbar item, one set of actions that
// every window's menus show, so captions, visibility and check marks agree
// everywhere. A child whose menus replace the main window's while it is
// current implements ChildMenus.
#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QMenu>
#include <QtGlobal>

#include <utility>

class QMenuBar;
class QWidget;

namespace parlova {

class SharedActions {
public:
    virtual ~SharedActions() = default;
    // The separator (0) and the entries 1 to 9 of the recent-file list.
    virtual QList<QAction*> RecentFileActions() const = 0;
    // "&Toolbar", checked while the toolbar row shows.
    virtual QAction* ToolbarAction() const = 0;

    // The main window's, or nullptr while there is none.
    static SharedActions* Instance();
    static void SetInstance(SharedActions* actions);
};

class ChildMenus {
public:
    virtual ~ChildMenus() = default;
    // The menus of the child's menu bar, in order.
    virtual QList<QMenu*> Menus() const = 0;
};

// An item at the end of a menu, with its shortcut; the action runs while
// context lives.
template <class F>
QAction* AddMenuItem(QMenu* menu, const QString& caption, const QKeySequence& key, QObject* context, F action)
{
    QAction* item = menu->addAction(caption);
    item->setShortcut(key);
    QObject::connect(item, &QAction::triggered, context, std::move(action));
    return item;
}

// The menus of a bar, in order.
QList<QMenu*> BarMenus(const QMenuBar* bar);
// The Window and Help menus a child window's bar ends with; Help opens the
// window's own topic.
void AddWindowAndHelpMenus(QMenuBar* bar, QWidget* window, qint32 helpContext);

}  // namespace parlova
