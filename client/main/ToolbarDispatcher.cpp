#include "client/main/ToolbarDispatcher.h"

#include "client/core/Globals.h"
#include "client/core/Procedures.h"
#include "client/core/ModalQuestion.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "hub/messages/BookRecords.h"
#include "platform/MessageBoxStyle.h"
#include "platform/VbError.h"

namespace parlova {

QString ToolbarDispatcher::NoFunctionText(qint32 command)
{
    return QStringLiteral("Button ") + QString::number(command) + QStringLiteral(" has no function");
}

void ToolbarDispatcher::ToolbarButtonClick(qint32 command, qint32 index)
{
    try {
        run(command, index);
    } catch (const std::exception& e) {
        ModalQuestion::Ask(platform::ErrorText(e), platform::vbExclamation, G().AppName);
    } catch (...) {
    }
}

bool ToolbarDispatcher::talkActive() const { return active_.ActiveFormName() == QLatin1String("frmTalk"); }

QWidget* ToolbarDispatcher::styledControl(qint32 index) const
{
    switch (index) {
    case 1:
        return active_.ActiveControl(QStringLiteral("List1"));
    case 2:
        return active_.ActiveControl(QStringLiteral("Text4"));
    case 3:
        return active_.ActiveControl(QStringLiteral("Text5"));
    default:
        return nullptr;  // the plain part of the button
    }
}

void ToolbarDispatcher::run(qint32 command, qint32 index)
{
    Procedures& p = Procs();
    switch (command) {
    case 1:
        p.OpenTalkFile(QString());
        return;
    case 2:
        p.OpenTalkFile(std::nullopt);
        return;
    case 3:
        if (talkActive())
            p.SaveTalkFile(active_.ActiveWindow(), false);
        return;
    case 4:
        active_.EditText(TextCommand::Clear);
        return;
    case 5:
        active_.EditText(TextCommand::Cut);
        return;
    case 6:
        active_.EditText(TextCommand::Copy);
        return;
    case 7:
        active_.EditText(TextCommand::Paste);
        return;
    case 8:
        if (talkActive())
            p.SendTalkMessage(active_.ActiveTheme(), false, QString(), QString());
        return;
    case 10:
        p.StartFind();
        return;
    case 11:
        ConnectPhone(0);
        return;
    case 12:
        DisconnectPhone(0);
        return;
    case 13:
        p.ShowPhonebook();
        return;
    case 14:
        if (talkActive())
            p.ToggleTalkOptions(active_.ActiveWindow());
        return;
    case 15:
        if (QWidget* control = styledControl(index))
            p.ChooseFont(control);
        return;
    case 19:
        p.AskAddContact(platform::Required(G().PhoneBooks, QStringLiteral("Parlova")).GetSIMBook(), QString(),
                        QString());
        return;
    case 20:
        p.AskAddContact(platform::Required(G().PhoneBooks, QStringLiteral("Parlova")).GetPhoneBook(), QString(),
                        QString());
        return;
    case 21:
        p.AskEditContact();
        return;
    case 22:
        p.AskDeleteContact();
        return;
    case 23:
        p.AskCopyMoveContact(true);
        return;
    case 24:
        p.AskCopyMoveContact(false);
        return;
    case 25:
        if (talkActive())
            p.MarkTalkRead(active_.ActiveTheme());
        return;
    case 26:
        if (QWidget* control = styledControl(index))
            p.ChooseColor(control);
        return;
    case 27:
        p.StartTalkWithContacts();
        return;
    case 28:
        p.ShowMessageStore();
        return;
    case 29:
        p.StoreNewMessage(active_.ActiveCaption());
        return;
    case 114:
        p.ToggleMessageOptions();
        return;
    case 122:
        p.DeleteStoreMessage(active_.ActiveCaption());
        return;
    case 127:
        p.StartTalkFromStore(active_.ActiveCaption());
        return;
    default:
        ModalQuestion::Ask(NoFunctionText(command), platform::vbExclamation, G().AppName);
        return;
    }
}

}  // namespace parlova
