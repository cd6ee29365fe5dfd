#include "client/stores/ui/PhonebookMenus.h"

#include "client/core/Globals.h"
#include "client/core/Module1.h"
#include "client/core/Procedures.h"
#include "client/core/WindowSeams.h"
#include "client/core/ui/SharedActions.h"
#include "client/core/ui/StoreGrid.h"
#include "client/orders/EmailConnectProcedures.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "client/stores/MessageStoreTexts.h"
#include "client/stores/ui/PhonebookProcedures.h"
#include "client/stores/ui/frmPhonebook.h"

#include <QMenu>
#include <QMenuBar>

#include <optional>

namespace parlova {

template <class F>
QAction* PhonebookMenus::add(QMenu* menu, const QString& caption, const QKeySequence& key, F action)
{
    return AddMenuItem(menu, caption, key, this, std::move(action));
}

PhonebookMenus::PhonebookMenus(frmPhonebook& window)
    : QObject(&window), window_(window), bar_(new QMenuBar(&window))
{
    frmPhonebook* w = &window;

    QMenu* file = bar_->addMenu(QStringLiteral("&File"));
    add(file, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N),
        [] { Procs().OpenTalkFile(std::optional<QString>(QString())); });
    add(file, QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
        [] { Procs().OpenTalkFile(std::nullopt); });
    file->addSeparator();
    add(file, QStringLiteral("&Export"), {}, [] {});
    add(file, QStringLiteral("&Import"), {}, [] {});
    file->addSeparator();
    // The main window holds the work area; closing it is the program's exit.
    add(file, QStringLiteral("E&xit"), {}, [w] { w->window()->close(); });
    if (SharedActions* shared = SharedActions::Instance())
        file->addActions(shared->RecentFileActions());

    mnuPhonebook = bar_->addMenu(QStringLiteral("&Phonebook"));
    mnuPhonebookTalk = add(mnuPhonebook, QStringLiteral("&Talk"), {}, [this] { StartTalk(); });
    mnuPhonebookIncludeIn = mnuPhonebook->addMenu(QStringLiteral("&Include In"));
    mnuPhonebook->addSeparator();
    add(mnuPhonebook, QStringLiteral("Add To &SIM..."), {},
        [w] { Procs().AskAddContact(w->SIMBook(), QString(), QString()); });
    add(mnuPhonebook, QStringLiteral("Add To &Phone..."), {},
        [w] { Procs().AskAddContact(w->PhoneBook(), QString(), QString()); });
    add(mnuPhonebook, QStringLiteral("&Edit..."), {}, [] { Procs().AskEditContact(); });
    add(mnuPhonebook, QStringLiteral("&Delete"), {}, [] { Procs().AskDeleteContact(); });
    mnuPhonebook->addSeparator();
    add(mnuPhonebook, QStringLiteral("&Move To SIM/Phone"), {}, [] { Procs().AskCopyMoveContact(true); });
    add(mnuPhonebook, QStringLiteral("&Copy To SIM/Phone"), {}, [] { Procs().AskCopyMoveContact(false); });
    mnuPhonebook->addSeparator();
    add(mnuPhonebook, QStringLiteral("&Update"), {}, [] { AskRereadPhonebooks(); });
    mnuPhonebook->addSeparator();
    add(mnuPhonebook, QStringLiteral("F&ont..."), {}, [w] { Procs().ChooseFont(w->MSFlexGrid1); });
    add(mnuPhonebook, QStringLiteral("Co&lour..."), {}, [w] { Procs().ChooseColor(w->MSFlexGrid1); });
    connect(mnuPhonebook, &QMenu::aboutToShow, this, &PhonebookMenus::RebuildIncludeIn);

    QMenu* tools = bar_->addMenu(QStringLiteral("Too&ls"));
    add(tools, QStringLiteral("&Connect..."), QKeySequence(Qt::Key_F6), [] { ConnectPhone(0); });
    add(tools, QStringLiteral("&Disconnect"), QKeySequence(Qt::SHIFT | Qt::Key_F6), [] { DisconnectPhone(0); });
    add(tools, QStringLiteral("Message &Store"), QKeySequence(Qt::Key_F11), [] { Procs().ShowMessageStore(); });
    tools->addSeparator();
    mnuToolsConnectEmail = add(tools, QStringLiteral("Connect &Email"), {}, [] { ConnectEmail(); });
    mnuToolsDisconnectEmail = add(tools, QStringLiteral("D&isconnect Email"), {}, [] { DisconnectEmail(QString()); });
    tools->addSeparator();
    // The Toolbar item is the main window's, shared by every window.
    if (SharedActions* shared = SharedActions::Instance())
        tools->addAction(shared->ToolbarAction());
    add(tools, QStringLiteral("&Options..."), {}, [w] { Procs().ShowOptions(w->window()); });

    AddWindowAndHelpMenus(bar_, w, 34000);

    RebuildIncludeIn();
}

void PhonebookMenus::EnableEmail(bool enabled)
{
    mnuToolsConnectEmail->setEnabled(enabled);
    mnuToolsDisconnectEmail->setEnabled(enabled);
}

void PhonebookMenus::PopupPhonebookMenu(const QPoint& globalPos)
{
    mnuPhonebook->setDefaultAction(mnuPhonebookTalk);
    mnuPhonebook->popup(globalPos);
}

void PhonebookMenus::StartTalk() { Procs().StartTalkWithContacts(); }

void PhonebookMenus::RebuildIncludeIn()
{
    QStringList themes;
    if (ConferenceRegistry* registry = G().Conferences.get())
        for (qint32 i = 1; i <= registry->TalksCount(); ++i)
            themes << registry->Talk(i).Theme();
    const TalkSubmenu items = MessageStoreTexts::Submenu(themes);
    QMenu* menu = mnuPhonebookIncludeIn;
    menu->clear();
    auto item = [this, menu](const QString& caption, const TalkChoice& choice) {
        QAction* action = menu->addAction(caption);
        action->setData(choice.theme);
        connect(action, &QAction::triggered, this, [choice] { IncludeContactsInTalk(choice); });
    };
    if (items.nowhere)
        item(QStringLiteral("[nowhere]"), TalkChoice{QString(), false, true});
    for (const QString& theme : items.themes)
        item(MenuCaption(theme), TalkChoice{theme, false, false});
    if (items.more)
        item(QStringLiteral("More conferences..."), TalkChoice{QString(), true, false});
}

}  // namespace parlova
