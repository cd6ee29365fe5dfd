#include "client/conversations/TalkCommands.h"

#include "client/core/Globals.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Module1.h"
#include "client/core/Orders.h"
#include "client/core/Procedures.h"
#include "client/orders/QueryPhone.h"

#include "platform/VbError.h"

namespace parlova {

void TalkCommands::QueryPhoneWithText(const QString& text, const QString& theme)
{
    try {
        QString set;
        const QString query = TrimSet(text, set);
        if (query.isEmpty())
            return;
        auto order = std::make_shared<QueryPhone>();
        order->SetUp(query, theme);
        platform::Required(G().PhoneOrders, QStringLiteral("Conference")).Add(order, 0);
    } catch (const std::exception& e) {
        ModalQuestion::Ask(platform::ErrorText(e), platform::vbExclamation, theme);
    }
}

void TalkCommands::SendToConferee(const QString& theme, const QString& line)
{
    QString name, address, combined = line;
    const QString error = NameAndAddress(name, address, combined);
    if (!error.isEmpty()) {
        ModalQuestion::Ask(error, platform::vbExclamation, theme);
        return;
    }
    Procs().SendTalkMessage(theme, false, address, QString());
}

}  // namespace parlova
