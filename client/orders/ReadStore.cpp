#include "client/orders/ReadStore.h"
#include "hub/engine/BagKeys.h"

#include "client/core/WindowSeams.h"
#include "hub/messages/MessageStore.h"

namespace parlova {

namespace {
const QString kReadFailed = QStringLiteral("The Read Message Store operation failed");
}  // namespace

QString ReadStore::GetCommand()
{
    return Guarded([&] {
        waitingReply_ = true;
        // Emptied now, not when the read was asked for: orders queued before
        // it have run on the store as it was. A store never listed has
        // nothing to empty.
        MessageStoreWin().Unload();
        corvane::MessageStore& store = PhoneMessagesRef();
        if (store.LocationsCount() > 0)
            store.Reset();
        return PushChain(StoreCommand(), QStringLiteral("ReadStore"));
    });
}

QString ReadStore::PutReport(const Reply& reply)
{
    return Guarded([&] {
        const corvane::PhoneCommand& command = reply.PhoneCommand();
        finished_ = true;
        waitingReply_ = false;
        if (command.Result() == dorrak::TIME_OUT)
            PhoneGateRef().Disconnect();
        // Storages counted make a success, whatever the result code.
        if (BagLong(command, bag::StoreCount) == 0) {
            const QString error = BagText(command, bag::ErrorDesc);
            result_ = error.isEmpty() ? kReadFailed + QStringLiteral(". ") + QStringLiteral("No store")
                                      : kReadFailed + QStringLiteral(". Error: ") + error;
        } else {
            PhoneMessagesRef().setFilled(true);
            MessageStoreWin().SetFocus();
        }
        return QString();
    });
}

}  // namespace parlova
