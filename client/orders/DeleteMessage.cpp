#include "client/orders/DeleteMessage.h"
#include "hub/engine/BagKeys.h"

#include "client/core/WindowSeams.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "hub/messages/MessageStore.h"

namespace parlova {

namespace {
const QString kDeleteFailed = QStringLiteral("The Delete Message operation failed");
}  // namespace

void DeleteMessage::SetUp(qint32 storageIndex, qint32 messageIndex, const QString& Owner)
{
    storageIndex_ = storageIndex;
    messageIndex_ = messageIndex;
    owner_ = Owner;
}

QString DeleteMessage::GetCommand()
{
    return Guarded([&] {
        waitingReply_ = true;
        const corvane::PhoneCommandPtr command = StoreCommand();
        command->setBag(bag::LocationName, PhoneMessagesRef().LocationName(storageIndex_));
        command->setBag(bag::LocationIndex, storageIndex_);
        command->setBag(bag::MsgIndex, messageIndex_);
        return PushChain(command, QStringLiteral("DeleteSMS"));
    });
}

QString DeleteMessage::PutReport(const Reply& reply)
{
    return Guarded([&] {
        const corvane::PhoneCommand& command = reply.PhoneCommand();
        finished_ = true;
        switch (command.Result()) {
        case dorrak::OK_ANSWER: {
            MessageStoreWindow& window = MessageStoreWin();
            // An open window loses the row alone, also the last one: a
            // rebuild would discard what the user is typing in it.
            if (window.Visible())
                result_ = window.DeleteMessage(storageIndex_, messageIndex_);
            else if (PhoneMessagesRef().Count() == 0)
                RebuildEmpty(window);
            break;
        }
        case dorrak::TIME_OUT:
            result_ = kDeleteFailed + QStringLiteral(". Time out");
            DisconnectPhone(-1);
            break;
        case dorrak::ERROR_ANSWER:
            result_ = kDeleteFailed + QStringLiteral(". ") + BagText(command, bag::ErrorAnswer);
            break;
        case dorrak::NOT_EXECUTED:
            result_ = kDeleteFailed + QStringLiteral(". Not executed");
            break;
        default:
            // A failed transaction included, as the user has always been told.
            result_ = kDeleteFailed + QStringLiteral(". Unknown error");
            break;
        }
        return QString();
    });
}

}  // namespace parlova
