#include "client/core/ui/SharedActions.h"

#include "client/core/Procedures.h"

#include <QMenu>
#include <QMenuBar>

namespace parlova {

namespace {
SharedActions* g_actions = nullptr;
}

SharedActions* SharedActions::Instance() { return g_actions; }
void SharedActions::SetInstance(SharedActions* actions) { g_actions = actions; }

QList<QMenu*> BarMenus(const QMenuBar* bar)
{
    QList<QMenu*> menus;
    for (QAction* item : bar->actions())
        if (QMenu* menu = item->menu())
            menus << menu;
    return menus;
}

void AddWindowAndHelpMenus(QMenuBar* bar, QWidget* window, qint32 helpContext)
{
    QMenu* arrange = bar->addMenu(QStringLiteral("&Window"));
    QObject::connect(arrange->addAction(QStringLiteral("&Cascade")), &QAction::triggered, bar,
                     [] { Procs().Arrange(0); });
    QObject::connect(arrange->addAction(QStringLiteral("&Tile")), &QAction::triggered, bar, [] { Procs().Arrange(1); });
    QObject::connect(arrange->addAction(QStringLiteral("&Arrange Icons")), &QAction::triggered, bar,
                     [] { Procs().Arrange(3); });

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    QAction* topic = help->addAction(QStringLiteral("&Help"));
    topic->setShortcut(QKeySequence(Qt::Key_F1));
    QObject::connect(topic, &QAction::triggered, bar, [helpContext] { Procs().ShowHelp(helpContext); });
    QObject::connect(help->addAction(QStringLiteral("Help &Content")), &QAction::triggered, bar,
                     [] { Procs().ShowHelp(0); });
    QObject::connect(help->addAction(QStringLiteral("Parlova on the &Web")), &QAction::triggered, bar,
                     [window] { Procs().OpenWebSite(window); });
    QObject::connect(help->addAction(QStringLiteral("&About")), &QAction::triggered, bar,
                     [window] { Procs().ShowAbout(window->window()); });
}

}  // namespace parlova
