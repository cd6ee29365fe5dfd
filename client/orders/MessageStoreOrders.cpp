#include "client/orders/MessageStoreOrders.h"

#include "client/core/Globals.h"
#include "client/core/Settings.h"
#include "client/core/WindowSeams.h"
#include "client/orders/PhoneConnectProcedures.h"
#include "hub/messages/MessageStore.h"
#include "platform/VbError.h"

namespace parlova {

namespace {

const QString kReadFailed = QStringLiteral("The Read Message Store operation failed");
const QString kStoreFailed = QStringLiteral("The Store Message operation failed");
const QString kDeleteFailed = QStringLiteral("The Delete Message operation failed");

corvane::MessageStore& PhoneMessagesRef() { return platform::Required(G().PhoneMessages, QStringLiteral("Parlova")); }

// A new command for the store with "Store" set first.
corvane::PhoneCommandPtr StoreCommand()
{
    auto command = std::make_shared<corvane::PhoneCommand>();
    command->setBagObject(QStringLiteral("Store"), G().PhoneMessages);
    return command;
}

}  // namespace

QVariant ReadStoreOrder::Start()
{
    ResetRunState();
    return QVariant();
}

QString ReadStoreOrder::GetCommand()
{
    return Guarded([&] {
        waitingReply_ = true;
        return PushChain(StoreCommand(), QStringLiteral("ReadStore"));
    });
}

QString ReadStoreOrder::PutReport(const Reply& reply)
{
    return Guarded([&] {
        const corvane::PhoneCommand& command = reply.PhoneCommand();
        finished_ = true;
        waitingReply_ = false;
        if (command.Result() == dorrak::TIME_OUT)
            PhoneGateRef().Disconnect();
        // Storages counted make a success, whatever the result code.
        if (BagLong(command, QStringLiteral("StoreCount")) == 0) {
            const QString error = BagText(command, QStringLiteral("ErrorDesc"));
            result_ = error.isEmpty() ? kReadFailed + QStringLiteral(". ") + QStringLiteral("No store")
                                      : kReadFailed + QStringLiteral(". Error: ") + error;
        } else {
            PhoneMessagesRef().setFilled(true);
            MessageStoreWin().SetFocus();
        }
        return QString();
    });
}

void WriteMessageOrder::SetUp(const QString& MessageBody, qint32 MessageCoding, const QString& Address,
                              const QString& LocationName, qint32 MessageClass, const QVariant& ValidityPeriod,
                              qint32 StatusReport, const QString& SCNumber, const QString& Owner)
{
    scNumber_ = SCNumber;
    statusReport_ = StatusReport;
    messageClass_ = MessageClass;
    validityPeriod_ = ValidityPeriod;
    messageBody_ = MessageBody;
    messageCoding_ = MessageCoding;
    joinParts_ = Settings::Instance().JoinParts();
    address_ = Address;
    locationName_ = LocationName;
    owner_ = Owner;
}

QVariant WriteMessageOrder::Start()
{
    ResetRunState();
    return QVariant();
}

QString WriteMessageOrder::GetCommand()
{
    return Guarded([&] {
        waitingReply_ = true;
        // Built afresh from the order's values each time, so an order set back
        // after a disconnect stores the same message when it runs again.
        auto command = std::make_shared<corvane::PhoneCommand>();
        command->setBag(QStringLiteral("SCNumber"), scNumber_);
        command->setBag(QStringLiteral("StatusReport"), statusReport_);
        command->setBag(QStringLiteral("MessageClass"), messageClass_);
        command->setBag(QStringLiteral("ValidityPeriod"), validityPeriod_);
        command->setBag(QStringLiteral("MessageBody"), messageBody_);
        command->setBag(QStringLiteral("MessageCoding"), messageCoding_);
        command->setBag(QStringLiteral("JoinParts"), joinParts_);
        command->setBag(QStringLiteral("Address"), address_);
        command->setBag(QStringLiteral("LocationName"), locationName_);
        command->setBagObject(QStringLiteral("Store"), G().PhoneMessages);
        return PushChain(command, QStringLiteral("WriteSMS"));
    });
}

QString WriteMessageOrder::PutReport(const Reply& reply)
{
    return Guarded([&] {
        const corvane::PhoneCommand& command = reply.PhoneCommand();
        switch (command.Result()) {
        case dorrak::OK_ANSWER: {
            MessageStoreWindow& window = MessageStoreWin();
            if (!window.Visible())
                break;
            qint32 storage = -1;
            PhoneMessagesRef().StoreIndexByName(storage, BagText(command, QStringLiteral("LocationName")));
            const QVector<qint32> parts = corvane::VariantLongArray(command.Bag(QStringLiteral("MsgIndex")));
            if (parts.isEmpty())
                break;
            // A joined message shows as one row, under its first part.
            if (BagBoolean(command, QStringLiteral("JoinParts")))
                window.AddMessage(storage, parts.first());
            else
                for (qint32 part : parts)
                    window.AddMessage(storage, part);
            break;
        }
        case dorrak::ERROR_ANSWER:
            result_ = kStoreFailed + QStringLiteral(". ") + BagText(command, QStringLiteral("ErrorAnswer"));
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

void DeleteMessageOrder::SetUp(qint32 storageIndex, qint32 messageIndex, const QString& Owner)
{
    storageIndex_ = storageIndex;
    messageIndex_ = messageIndex;
    owner_ = Owner;
}

QVariant DeleteMessageOrder::Start()
{
    ResetRunState();
    return QVariant();
}

QString DeleteMessageOrder::GetCommand()
{
    return Guarded([&] {
        waitingReply_ = true;
        const corvane::PhoneCommandPtr command = StoreCommand();
        command->setBag(QStringLiteral("LocationName"), PhoneMessagesRef().LocationName(storageIndex_));
        command->setBag(QStringLiteral("LocationIndex"), storageIndex_);
        command->setBag(QStringLiteral("MsgIndex"), messageIndex_);
        return PushChain(command, QStringLiteral("DeleteSMS"));
    });
}

QString DeleteMessageOrder::PutReport(const Reply& reply)
{
    return Guarded([&] {
        const corvane::PhoneCommand& command = reply.PhoneCommand();
        finished_ = true;
        switch (command.Result()) {
        case dorrak::OK_ANSWER: {
            MessageStoreWindow& window = MessageStoreWin();
            if (PhoneMessagesRef().Count() > 0) {
                // A window that is not open has no row to remove.
                if (window.Visible())
                    result_ = window.DeleteMessage(storageIndex_, messageIndex_);
            } else {
                RebuildEmpty(window);
            }
            break;
        }
        case dorrak::TIME_OUT:
            result_ = kDeleteFailed + QStringLiteral(". Time out");
            DisconnectPhone(-1);
            break;
        case dorrak::ERROR_ANSWER:
            result_ = kDeleteFailed + QStringLiteral(". ") + BagText(command, QStringLiteral("ErrorAnswer"));
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
