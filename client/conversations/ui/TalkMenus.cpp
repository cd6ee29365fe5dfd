#include "client/conversations/ui/TalkMenus.h"

#include "client/conversations/Conference.h"
#include "client/conversations/TalkCommands.h"
#include "client/conversations/TalkLayout.h"
#include "client/conversations/TalkSubmenus.h"
#include "client/conversations/ui/frmFind.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/Globals.h"
#include "client/core/Module1.h"
#include "client/core/Procedures.h"
#include "client/core/ui/SharedActions.h"
#include "client/core/ui/TextBoxCommands.h"
#include "client/core/ui/frmAllItems.h"
#include "client/orders/EmailConnectProcedures.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "email/EmailGate.h"
#include "hub/messages/BookRecords.h"

#include "platform/ui/ModalForm.h"
#include "platform/ui/Twips.h"

#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>

#include <memory>

namespace parlova {

namespace {


// The edge band: the twips the window was drawn for, at least 3 pixels.
int EdgeBand() { return std::max(20, int(platform::PixelsToTwipsY(3))); }

// The line the user picks from all of them, "" when none.
QString PickConferee(QWidget* owner, const QString& theme, const QStringList& lines)
{
    QPointer<frmAllItems> form = new frmAllItems(owner);
    form->setWindowTitle(TalkSubmenus::AllConfereesCaption(theme));
    form->List1->addItems(lines);
    const int result = platform::ShowModalForm(form);
    QString line;
    if (form && result == QDialog::Accepted && form->IsSelectionOK())
        line = form->SelectedText();
    delete form;
    return line;
}

}  // namespace

QMenu* TalkMenus::menu(const char* name, const QString& caption)
{
    auto* m = new QMenu(caption, &window_);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    menus_ << m;
    return m;
}

template <class F>
QAction* TalkMenus::add(QMenu* m, const char* name, const QString& caption, F action, const QKeySequence& key)
{
    QAction* item = m->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(key);
    connect(item, &QAction::triggered, this, action);
    items_.insert(item->objectName(), item);
    return item;
}

QMenu* TalkMenus::Menu(const QString& name) const
{
    for (QMenu* m : menus_)
        if (m->objectName() == name)
            return m;
    return submenus_.value(name);
}

TalkMenus::TalkMenus(frmTalk& window) : QObject(&window), window_(window)
{
    frmTalk* w = &window;
    auto theme = [w] { return w->Theme(); };
    SharedActions* shared = SharedActions::Instance();

    QMenu* file = menu("mnuFile", QStringLiteral("&File"));
    add(file, "mnuFileNew", QStringLiteral("&New"), [] { Procs().OpenTalkFile(QString()); },
        QKeySequence(Qt::CTRL | Qt::Key_N));
    add(file, "mnuFileOpen", QStringLiteral("&Open..."), [] { Procs().OpenTalkFile(std::nullopt); },
        QKeySequence(Qt::CTRL | Qt::Key_O));
    add(file, "mnuFileClose", QStringLiteral("&Close"), [w] { w->CloseWindow(); });
    file->addSeparator();
    add(file, "mnuFileSave", QStringLiteral("&Save"), [w] { Procs().SaveTalkFile(w, false); },
        QKeySequence(Qt::CTRL | Qt::Key_S));
    add(file, "mnuFileSaveAs", QStringLiteral("Save &As..."), [w] { Procs().SaveTalkFile(w, true); });
    add(file, "mnuFileExport", QStringLiteral("&Export"), [w] { Procs().ExportTalk(w->Log(), w->Theme()); });
    file->addSeparator();
    // The main window holds the work area; closing it is the program's exit.
    add(file, "mnuFileExit", QStringLiteral("E&xit"), [w] { w->window()->close(); });
    if (shared)
        file->addActions(shared->RecentFileActions());

    QMenu* message = menu("mnuMessage", QStringLiteral("&Message"));
    add(message, "mnuMessageClear", QStringLiteral("Clea&r"), [this] { Clear(); }, QKeySequence(Qt::Key_F4));
    add(message, "mnuMessageTimeDate", QStringLiteral("Ti&me/Date"), [this] { TimeDate(); },
        QKeySequence(Qt::Key_F5));
    add(message, "mnuMessageSelectAll", QStringLiteral("Select A&ll"), [this] { SelectAll(); },
        QKeySequence(Qt::CTRL | Qt::Key_L));
    message->addSeparator();
    // The text boxes keep their own editing keys; the menu only names them.
    add(message, "mnuMessageCut", QStringLiteral("Cu&t\tCtrl+X"), [this] { Cut(); });
    add(message, "mnuMessageCopy", QStringLiteral("&Copy\tCtrl+C"), [this] { Copy(); });
    add(message, "mnuMessagePaste", QStringLiteral("&Paste\tCtrl+V"), [this] { Paste(); });
    add(message, "mnuMessageDelete", QStringLiteral("&Delete\tDel"), [this] { Delete(); });
    message->addSeparator();
    add(message, "mnuMessageFont", QStringLiteral("F&ont..."), [w] { Procs().ChooseFont(w->Text4); });
    add(message, "mnuMessageColor", QStringLiteral("Co&lour..."), [w] { Procs().ChooseColor(w->Text4); });

    QMenu* conferee = menu("mnuConferee", QStringLiteral("&Conferee"));
    add(conferee, "mnuConfereeAdd", QStringLiteral("&Add..."), [w] { Procs().AskAddConferee(w); });
    add(conferee, "mnuConfereeAddFromPhone", QStringLiteral("Add from &Phone..."),
        [w] { Procs().AddConfereesFromPhonebooks(w); });
    QMenu* moveTo = conferee->addMenu(QStringLiteral("&Move To"));
    moveTo->setObjectName(QStringLiteral("mnuConfereeMoveTo"));
    submenus_.insert(moveTo->objectName(), moveTo);
    add(conferee, "mnuConfereeEdit", QStringLiteral("&Edit..."),
        [w] { Procs().AskEditConferee(w->Theme(), w->List1->currentRow()); });
    add(conferee, "mnuConfereeRemove", QStringLiteral("&Remove"), [theme] { Procs().AskRemoveConferees(theme()); });
    conferee->addSeparator();
    add(conferee, "mnuConfereeCopyToPhone", QStringLiteral("Copy &To Phone"), [w] {
        if (G().PhoneBooks)
            Procs().CopyConfereesToBook(w, G().PhoneBooks->GetPhoneBook());
    });
    add(conferee, "mnuConfereeCopyToSIM", QStringLiteral("Copy To &SIM"), [w] {
        if (G().PhoneBooks)
            Procs().CopyConfereesToBook(w, G().PhoneBooks->GetSIMBook());
    });
    add(conferee, "mnuConfereeDeselectAll", QStringLiteral("&Deselect All"), [w] { w->DeselectAll(); });
    conferee->addSeparator();
    add(conferee, "mnuConfereeFont", QStringLiteral("F&ont..."), [w] { Procs().ChooseFont(w->List1); });
    add(conferee, "mnuConfereeColor", QStringLiteral("&Colour..."), [w] { Procs().ChooseColor(w->List1); });
    connect(conferee, &QMenu::aboutToShow, this, &TalkMenus::FillMoveTo);

    QMenu* talk = menu("mnuTalk", QStringLiteral("&Talk"));
    add(talk, "mnuTalkSend", QStringLiteral("&Send"), [theme] { Procs().SendTalkMessage(theme(), false, {}, {}); });
    add(talk, "mnuTalkSendSelected", QStringLiteral("Sen&d To Selected"),
        [theme] { Procs().SendTalkMessage(theme(), true, {}, {}); });
    QMenu* sendTo = talk->addMenu(QStringLiteral("Send &To"));
    sendTo->setObjectName(QStringLiteral("mnuTalkSendTo"));
    submenus_.insert(sendTo->objectName(), sendTo);
    add(talk, "mnuTalkMarkRead", QStringLiteral("&Mark Read"), [theme] { Procs().MarkTalkRead(theme()); });
    QMenu* join = talk->addMenu(QStringLiteral("&Join"));
    join->setObjectName(QStringLiteral("mnuTalkJoin"));
    submenus_.insert(join->objectName(), join);
    talk->addSeparator();
    add(talk, "mnuTalkFind", QStringLiteral("&Find..."), [] { Procs().StartFind(); },
        QKeySequence(Qt::CTRL | Qt::Key_F));
    add(talk, "mnuTalkFindNext", QStringLiteral("Find &Next"), [] {
        if (G().FindText.isEmpty())
            Procs().StartFind();
        else
            frmFind::FindNext();
    }, QKeySequence(Qt::Key_F3));
    talk->addSeparator();
    add(talk, "mnuTalkFont", QStringLiteral("F&ont..."), [w] { Procs().ChooseFont(w->Text5); });
    add(talk, "mnuTalkColor", QStringLiteral("&Colour..."), [w] { Procs().ChooseColor(w->Text5); });
    connect(talk, &QMenu::aboutToShow, this, &TalkMenus::FillTalkSubmenus);

    QMenu* tools = menu("mnuTools", QStringLiteral("Too&ls"));
    add(tools, "mnuToolsConnect", QStringLiteral("&Connect..."), [] { ConnectPhone(0); }, QKeySequence(Qt::Key_F6));
    add(tools, "mnuToolsDisconnect", QStringLiteral("&Disconnect"), [] { DisconnectPhone(0); },
        QKeySequence(Qt::SHIFT | Qt::Key_F6));
    tools->addSeparator();
    add(tools, "mnuToolsMessageStore", QStringLiteral("Message &Store"), [] { Procs().ShowMessageStore(); },
        QKeySequence(Qt::Key_F11));
    add(tools, "mnuToolsPhonebook", QStringLiteral("&Phonebook"), [] { Procs().ShowPhonebook(); },
        QKeySequence(Qt::Key_F12));
    add(tools, "mnuToolsQueryPhone", QStringLiteral("&Query Phone"),
        [w] { TalkCommands::QueryPhoneWithText(w->Text4->toPlainText(), w->Theme()); });
    add(tools, "mnuToolsDecode", QStringLiteral("Decode"), [] {});
    tools->addSeparator();
    QAction* email = add(tools, "mnuToolsConnectEmail", QStringLiteral("Connect &Email"), [] { ConnectEmail(); });
    QAction* noEmail =
        add(tools, "mnuToolsDisconnectEmail", QStringLiteral("D&isconnect Email"), [] { DisconnectEmail(QString()); });
    const quenby::EmailGate* mail = G().MailGate.get();
    email->setEnabled(mail && mail->ServiceType() == quenby::CDOSYS_TYPE);
    noEmail->setEnabled(email->isEnabled());
    tools->addSeparator();
    // The Toolbar item is the main window's, shared by every window.
    if (shared) {
        tools->addAction(shared->ToolbarAction());
        items_.insert(QStringLiteral("mnuToolsToolbar"), shared->ToolbarAction());
    }
    QAction* options = add(tools, "mnuToolsMessageOptions", QStringLiteral("&Message Options"), [w, this] {
        w->ToggleTalkOptions();
        SetMessageOptionsChecked(w->OptionsChecked());
    });
    options->setCheckable(true);
    options->setChecked(w->OptionsChecked());
    add(tools, "mnuToolsOptions", QStringLiteral("&Options..."), [w] { Procs().ShowOptions(w->window()); });

    QMenu* arrange = menu("mnuWindow", QStringLiteral("&Window"));
    add(arrange, "mnuWindowCascade", QStringLiteral("&Cascade"), [] { Procs().Arrange(0); });
    add(arrange, "mnuWindowTile", QStringLiteral("&Tile"), [] { Procs().Arrange(1); });
    add(arrange, "mnuWindowArrangeIcons", QStringLiteral("&Arrange Icons"), [] { Procs().Arrange(3); });

    QMenu* help = menu("mnuHelp", QStringLiteral("&Help"));
    add(help, "mnuHelpHelp", QStringLiteral("&Help"), [] { Procs().ShowHelp(33000); }, QKeySequence(Qt::Key_F1));
    add(help, "mnuHelpHelpContent", QStringLiteral("Help &Content"), [] { Procs().ShowHelp(0); });
    add(help, "mnuHelpWeb", QStringLiteral("Parlova on the &Web"), [w] { Procs().OpenWebSite(w); });
    add(help, "mnuHelpAbout", QStringLiteral("&About"), [w] { Procs().ShowAbout(w->window()); });

    FillMoveTo();
    FillTalkSubmenus();

    listViewport_ = window.List1->viewport();
    text4Viewport_ = window.Text4->viewport();
    listViewport_->installEventFilter(this);
    text4Viewport_->installEventFilter(this);
    text4Viewport_->setMouseTracking(true);
}

void TalkMenus::SetMessageOptionsChecked(bool checked)
{
    if (QAction* item = Item(QStringLiteral("mnuToolsMessageOptions")))
        item->setChecked(checked);
}

void TalkMenus::PopupConfereeMenu(const QPoint& globalPos)
{
    QMenu* conferee = Menu(QStringLiteral("mnuConferee"));
    conferee->setDefaultAction(Item(QStringLiteral("mnuConfereeEdit")));
    conferee->popup(globalPos);
}

void TalkMenus::fill(QMenu* submenu, const QList<SubmenuItem>& items,
                     const std::function<void(const SubmenuItem&)>& chosen)
{
    submenu->clear();
    for (const SubmenuItem& item : items) {
        QAction* action = submenu->addAction(MenuCaption(item.text));
        action->setData(item.text);
        action->setProperty("role", int(item.role));
        connect(action, &QAction::triggered, this, [chosen, item] { chosen(item); });
    }
}

namespace {

QStringList OpenThemes()
{
    QStringList themes;
    if (Conference* registry = dynamic_cast<Conference*>(G().Conferences.get()))
        themes = registry->Themes();
    return themes;
}

TalkChoice ChoiceOf(const SubmenuItem& item)
{
    switch (item.role) {
    case SubmenuItem::Nowhere:
        return TalkChoice{QString(), false, true};
    case SubmenuItem::MoreConferences:
        return TalkChoice{QString(), true, false};
    default:
        return TalkChoice{item.text, false, false};
    }
}

}  // namespace

void TalkMenus::FillMoveTo()
{
    const QString theme = window_.Theme();
    fill(submenus_.value(QStringLiteral("mnuConfereeMoveTo")), TalkSubmenus::Conversations(OpenThemes(), theme),
         [theme](const SubmenuItem& item) { Procs().AskMoveConferees(theme, ChoiceOf(item)); });
}

void TalkMenus::FillTalkSubmenus()
{
    const QString theme = window_.Theme();
    fill(submenus_.value(QStringLiteral("mnuTalkSendTo")), TalkSubmenus::Conferees(window_.AllConferees()),
         [this](const SubmenuItem& item) { sendToConferee(item); });
    fill(submenus_.value(QStringLiteral("mnuTalkJoin")), TalkSubmenus::Conversations(OpenThemes(), theme),
         [theme](const SubmenuItem& item) { Procs().AskJoinTalks(theme, ChoiceOf(item)); });
}

void TalkMenus::sendToConferee(const SubmenuItem& item)
{
    const QString theme = window_.Theme();
    QString line;
    switch (item.role) {
    case SubmenuItem::Conferee:
        line = item.text;
        break;
    case SubmenuItem::MoreConferees:
        // Nothing of the window is used after the picker: it may be gone.
        line = PickConferee(window_.window(), theme, window_.AllConferees());
        break;
    default:
        return;  // "[none]"
    }
    if (!line.isEmpty())
        TalkCommands::SendToConferee(theme, line);
}

// The message box's commands ---------------------------------------------------

bool TalkMenus::text4Active() const { return window_.focusWidget() == window_.Text4; }

void TalkMenus::Clear()
{
    window_.Text4->clear();
    window_.Text4->setFocus();
}

void TalkMenus::SelectAll()
{
    window_.Text4->setFocus();
    window_.Text4->selectAll();
}

void TalkMenus::Copy()
{
    QWidget* active = window_.focusWidget();
    if (active == window_.Text4 || active == window_.Text5)
        static_cast<QPlainTextEdit*>(active)->copy();
}

void TalkMenus::Cut()
{
    if (text4Active())
        window_.Text4->cut();
}

void TalkMenus::Paste()
{
    if (text4Active())
        window_.Text4->paste();
}

void TalkMenus::Delete()
{
    if (text4Active())
        TextBoxCommands::DeleteForward(window_.Text4);
}

void TalkMenus::TimeDate()
{
    if (text4Active())
        TextBoxCommands::InsertTimeDate(window_.Text4);
}

// The mouse ------------------------------------------------------------------------

bool TalkMenus::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == listViewport_) {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::RightButton) {
            PopupConfereeMenu(mouse->globalPosition().toPoint());
        } else if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
            // The line under the pointer is the current one.
            const int row = window_.List1->indexAt(mouse->position().toPoint()).row();
            if (row < 0)
                return false;
            window_.List1->setCurrentRow(row, QItemSelectionModel::NoUpdate);
            Procs().AskEditConferee(window_.Theme(), row);
            return true;
        }
        return false;
    }
    if (watched == text4Viewport_)
        return edgeMouse(event);
    return false;
}

bool TalkMenus::edgeMouse(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    QPlainTextEdit* box = window_.Text4;
    const int y = int(platform::PixelsToTwipsY(box->viewport()->mapTo(box, mouse->position().toPoint()).y()));
    const bool leftDown = mouse->buttons() & Qt::LeftButton;
    const bool wasResizing = resizing_;
    const TalkLayout::EdgeStep step = TalkLayout::EdgeMove(y, EdgeBand(), leftDown, resizing_);
    resizing_ = step.dragging;
    if (step.pointer == TalkLayout::Pointer::Sizing)
        box->viewport()->setCursor(Qt::SizeVerCursor);
    else if (step.pointer == TalkLayout::Pointer::Default)
        box->viewport()->setCursor(Qt::IBeamCursor);
    if (step.resizeBy)
        window_.ResizeNewMessageBox(*step.resizeBy);
    // The box does not select text under a drag of its edge.
    return resizing_ || wasResizing;
}

}  // namespace parlova
