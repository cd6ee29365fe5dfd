#include "client/stores/ui/MessageStoreMenus.h"

#include "client/core/Globals.h"
#include "client/core/Module1.h"
#include "client/core/Procedures.h"
#include "client/core/ui/SharedActions.h"
#include "client/core/WindowSeams.h"
#include "client/orders/EmailConnectProcedures.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "client/stores/MessageStoreProcedures.h"
#include "client/stores/MessageStoreTexts.h"
#include "client/stores/ui/frmMessageStore.h"
#include "hub/messages/BookRecords.h"

#include <QMdiSubWindow>

#include <optional>
#include <QMenu>
#include <QMenuBar>

namespace parlova {

namespace {

template <class F, class... Args>
void run(const F& slot, const Args&... args)
{
    if (slot)
        slot(args...);
}


}  // namespace

template <class F>
QAction* MessageStoreMenus::add(QMenu* menu, const QString& caption, const QKeySequence& key, F action)
{
    return AddMenuItem(menu, caption, key, this, std::move(action));
}

MessageStoreMenus::MessageStoreMenus(frmMessageStore& window)
    : QObject(&window), window_(window), bar_(new QMenuBar(&window))
{
    frmMessageStore* w = &window;
    auto owner = [w] { return w->windowTitle(); };
    MessageStoreProcedures& p = StoreProcedures();

    QMenu* file = bar_->addMenu(QStringLiteral("&File"));
    add(file, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N),
        [] { Procs().OpenTalkFile(std::optional<QString>(QString())); });
    add(file, QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
        [] { Procs().OpenTalkFile(std::nullopt); });
    add(file, QStringLiteral("&Close"), {}, [w] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
            sub->close();
        else
            w->close();
    });
    file->addSeparator();
    // The main window holds the work area; closing it is the program's exit.
    add(file, QStringLiteral("E&xit"), {}, [w] { w->window()->close(); });
    if (SharedActions* shared = SharedActions::Instance())
        file->addActions(shared->RecentFileActions());

    mnuStore = bar_->addMenu(QStringLiteral("&Store"));
    add(mnuStore, QStringLiteral("Clea&r"), QKeySequence(Qt::Key_F4), [w] { w->Clear(); });
    add(mnuStore, QStringLiteral("Ti&me/Date"), QKeySequence(Qt::Key_F5), [w] { w->TimeDate(); });
    add(mnuStore, QStringLiteral("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_L), [w] { w->SelectAll(); });
    mnuStore->addSeparator();
    // The editing keys work in every text box by themselves; the menu only
    // names them.
    add(mnuStore, QStringLiteral("Cu&t\tCtrl+X"), {}, [w] { w->Cut(); });
    add(mnuStore, QStringLiteral("&Copy\tCtrl+C"), {}, [w] { w->Copy(); });
    add(mnuStore, QStringLiteral("&Paste\tCtrl+V"), {}, [w] { w->Paste(); });
    add(mnuStore, QStringLiteral("&Delete\tDel"), {}, [w] { w->Delete(); });
    mnuStore->addSeparator();
    add(mnuStore, QStringLiteral("Te&lNo from Phone..."), QKeySequence(Qt::CTRL | Qt::Key_H),
        [&p] { run(p.SelectStoreAddress); });
    add(mnuStore, QStringLiteral("Copy TelNo &To Phone"), {}, [&p] {
        if (G().PhoneBooks)
            run(p.AddStoreAddressToPhonebook, G().PhoneBooks->GetPhoneBook());
    });
    add(mnuStore, QStringLiteral("Copy TelNo To S&IM"), {}, [&p] {
        if (G().PhoneBooks)
            run(p.AddStoreAddressToPhonebook, G().PhoneBooks->GetSIMBook());
    });
    mnuStoreMoveToTalk = mnuStore->addMenu(QStringLiteral("Move To"));
    mnuStore->addSeparator();
    add(mnuStore, QStringLiteral("&Store"), QKeySequence(Qt::CTRL | Qt::Key_S), [owner] { Procs().StoreNewMessage(owner()); });
    mnuStoreTalk = add(mnuStore, QStringLiteral("Tal&k"), QKeySequence(Qt::Key_F2), [this] { StartTalk(); });
    mnuStoreSendToTalk = mnuStore->addMenu(QStringLiteral("Send T&o"));
    add(mnuStore, QStringLiteral("D&elete Message"), {}, [owner] { Procs().DeleteStoreMessage(owner()); });
    add(mnuStore, QStringLiteral("&Update"), {}, [&p, owner] { run(p.RereadMessageStore, owner()); });
    connect(mnuStore, &QMenu::aboutToShow, this, &MessageStoreMenus::RebuildTalkSubmenus);

    QMenu* tools = bar_->addMenu(QStringLiteral("Too&ls"));
    add(tools, QStringLiteral("&Connect..."), QKeySequence(Qt::Key_F6), [] { ConnectPhone(0); });
    add(tools, QStringLiteral("&Disconnect"), QKeySequence(Qt::SHIFT | Qt::Key_F6), [] { DisconnectPhone(0); });
    add(tools, QStringLiteral("&Phonebook"), QKeySequence(Qt::Key_F12), [] { Procs().ShowPhonebook(); });
    tools->addSeparator();
    mnuToolsConnectEmail = add(tools, QStringLiteral("Connect &Email"), {}, [] { ConnectEmail(); });
    mnuToolsDisconnectEmail = add(tools, QStringLiteral("D&isconnect Email"), {}, [] { DisconnectEmail(QString()); });
    tools->addSeparator();
    // The Toolbar item is the main window's, shared by every window.
    if (SharedActions* shared = SharedActions::Instance()) {
        mnuToolsToolbar = shared->ToolbarAction();
        tools->addAction(mnuToolsToolbar);
    }
    mnuToolsMessageOptions = add(tools, QStringLiteral("&Message Options"), {}, [w] { w->ToggleMessageOptions(); });
    mnuToolsMessageOptions->setCheckable(true);
    mnuToolsMessageOptions->setChecked(true);
    add(tools, QStringLiteral("&Options..."), {}, [w] { Procs().ShowOptions(w->window()); });

    AddWindowAndHelpMenus(bar_, w, 34500);

    RebuildTalkSubmenus();
}

void MessageStoreMenus::EnableEmail(bool enabled)
{
    mnuToolsConnectEmail->setEnabled(enabled);
    mnuToolsDisconnectEmail->setEnabled(enabled);
}

void MessageStoreMenus::SetMessageOptionsChecked(bool checked) { mnuToolsMessageOptions->setChecked(checked); }

void MessageStoreMenus::PopupStoreMenu(const QPoint& globalPos)
{
    mnuStore->setDefaultAction(mnuStoreTalk);
    mnuStore->popup(globalPos);
}

void MessageStoreMenus::StartTalk() { Procs().StartTalkFromStore(window_.windowTitle()); }

void MessageStoreMenus::RebuildTalkSubmenus()
{
    fillSubmenu(mnuStoreSendToTalk, true);
    fillSubmenu(mnuStoreMoveToTalk, false);
}

void MessageStoreMenus::fillSubmenu(QMenu* menu, bool send)
{
    QStringList themes;
    if (ConferenceRegistry* registry = G().Conferences.get())
        for (qint32 i = 1; i <= registry->TalksCount(); ++i)
            themes << registry->Talk(i).Theme();
    const TalkSubmenu items = MessageStoreTexts::Submenu(themes);
    auto choose = [send](const TalkChoice& choice) {
        MessageStoreProcedures& p = StoreProcedures();
        run(send ? p.ChooseConferenceAndSend : p.ChooseConferenceAndCopy, choice);
    };
    menu->clear();
    if (items.nowhere)
        menu->addAction(QStringLiteral("[nowhere]"));
    for (const QString& theme : items.themes) {
        QAction* item = menu->addAction(MenuCaption(theme));
        item->setData(theme);
        connect(item, &QAction::triggered, this, [choose, theme] { choose(TalkChoice{theme, false}); });
    }
    if (items.more)
        connect(menu->addAction(QStringLiteral("More conferences...")), &QAction::triggered, this,
                [choose] { choose(TalkChoice{QString(), true}); });
}

}  // namespace parlova
