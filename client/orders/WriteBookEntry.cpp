#include "client/orders/WriteBookEntry.h"
#include "hub/engine/BagKeys.h"

#include "client/core/Globals.h"
#include "client/core/WindowSeams.h"
#include "hub/messages/BookRecords.h"

namespace parlova {

namespace {
const QString kWriteFailed = QStringLiteral("The Write Phonebook operation failed");
}  // namespace

QString WriteBookEntry::SetUp(const QString& LocationName, qint32 BookIndex, const QString& ContactName,
                                   const QString& ContactNumber, const QString& Owner, bool Update, bool Delete,
                                   const QString& FromLocationName, qint32 FromBookIndex)
{
    locationName_ = LocationName;
    bookIndex_ = BookIndex;
    contactName_ = ContactName;
    contactNumber_ = ContactNumber;
    update_ = Update;
    delete_ = Delete;
    fromLocationName_ = FromLocationName;
    fromBookIndex_ = FromBookIndex;
    owner_ = Owner;
    refused_.clear();
    // Only a write sends a name and a number; a delete sends the index alone.
    if (!LocationName.isEmpty()) {
        const bool namesAsUCS2 = G().PhoneBooks && G().PhoneBooks->UCS2();
        const QString fault = corvane::WriteBookEntryFault(ContactNumber, ContactName, namesAsUCS2);
        if (!fault.isEmpty())
            refused_ = kWriteFailed + QStringLiteral(". Error: ") + fault;
    }
    result_ = refused_;
    return refused_;
}

QString WriteBookEntry::GetCommand()
{
    return Guarded([&] {
        if (!refused_.isEmpty())
            return refused_;
        waitingReply_ = true;
        // Built afresh from the order's values each time, so an order set back
        // after a disconnect runs again with the same entry.
        auto command = std::make_shared<corvane::PhoneCommand>();
        command->setBag(bag::LocationName, locationName_);
        command->setBag(bag::BookIndex, bookIndex_);
        command->setBag(bag::ContactName, contactName_);
        command->setBag(bag::ContactNumber, contactNumber_);
        command->setBag(bag::Update, update_);
        command->setBag(bag::Delete, delete_);
        command->setBag(bag::FromLocationName, fromLocationName_);
        command->setBag(bag::FromBookIndex, fromBookIndex_);
        command->setBagObject(bag::Book, G().PhoneBooks);
        return PushChain(command, QStringLiteral("WriteBook"));
    });
}

QString WriteBookEntry::PutReport(const Reply& reply)
{
    return Guarded([&] {
        const corvane::PhoneCommand& command = reply.PhoneCommand();
        switch (command.Result()) {
        case dorrak::OK_ANSWER: {
            PhonebookWindow& window = PhonebookWin();
            if (!window.Visible())
                break;
            const QString location = BagText(command, bag::LocationName);
            const qint32 index = BagLong(command, bag::BookIndex);
            if (BagBoolean(command, bag::Update))
                result_ = window.UpdateContact(location, index);
            else if (!location.isEmpty())
                result_ = window.AddContact(location, index);
            if (BagBoolean(command, bag::Delete)) {
                if (PhoneBooksRef().Count() > 0)
                    result_ = window.DeleteContact(BagText(command, bag::FromLocationName),
                                                   BagLong(command, bag::FromBookIndex));
                else
                    RebuildEmpty(window);
            }
            break;
        }
        case dorrak::ERROR_ANSWER:
            result_ = kWriteFailed + QStringLiteral(". Error: ") + BagText(command, bag::ErrorAnswer);
            break;
        default:
            result_ = kWriteFailed + FailureReason(command.Result());
            break;
        }
        progress_ = 100;
        finished_ = true;
        waitingReply_ = false;
        return QString();
    });
}

}  // namespace parlova
