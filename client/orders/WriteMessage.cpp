#include "client/orders/WriteMessage.h"
#include "hub/engine/BagKeys.h"

#include "client/core/Globals.h"
#include "client/core/Settings.h"
#include "client/core/WindowSeams.h"
#include "hub/messages/MessageStore.h"

namespace parlova {

namespace {
const QString kStoreFailed = QStringLiteral("The Store Message operation failed");
}  // namespace

void WriteMessage::SetUp(const QString& MessageBody, qint32 MessageCoding, const QString& Address,
                              const QString& LocationName, qint32 MessageClass, const QVariant& ValidityPeriod,
                              qint32 StatusReport, const QString& SCNumber, const QString& Owner)
{
    request_ = {SCNumber, StatusReport, MessageClass, ValidityPeriod, MessageBody, MessageCoding,
                Settings::Instance().JoinParts()};
    address_ = Address;
    locationName_ = LocationName;
    owner_ = Owner;
}

QString WriteMessage::GetCommand()
{
    return Guarded([&] {
        waitingReply_ = true;
        // Built afresh from the order's values each time, so an order set back
        // after a disconnect stores the same message when it runs again.
        auto command = std::make_shared<corvane::PhoneCommand>();
        corvane::FillSubmitBag(*command, request_);
        command->setBag(bag::Address, address_);
        command->setBag(bag::LocationName, locationName_);
        command->setBagObject(bag::Store, G().PhoneMessages);
        return PushChain(command, QStringLiteral("WriteSMS"));
    });
}

QString WriteMessage::PutReport(const Reply& reply)
{
    return Guarded([&] {
        const corvane::PhoneCommand& command = reply.PhoneCommand();
        switch (command.Result()) {
        case dorrak::OK_ANSWER: {
            MessageStoreWindow& window = MessageStoreWin();
            if (!window.Visible())
                break;
            qint32 storage = -1;
            PhoneMessagesRef().StoreIndexByName(storage, BagText(command, bag::LocationName));
            const QVector<qint32> parts = corvane::VariantLongArray(command.Bag(bag::MsgIndex));
            if (parts.isEmpty())
                break;
            // A joined message shows as one row, under its first part.
            if (BagBoolean(command, bag::JoinParts))
                window.AddMessage(storage, parts.first());
            else
                for (qint32 part : parts)
                    window.AddMessage(storage, part);
            break;
        }
        case dorrak::ERROR_ANSWER:
            result_ = kStoreFailed + QStringLiteral(". ") + BagText(command, bag::ErrorAnswer);
            break;
        default:
            result_ = kStoreFailed + FailureReason(command.Result());
            break;
        }
        progress_ = 100;
        finished_ = true;
        return QString();
    });
}

}  // namespace parlova
