#include "client/orders/ReadBook.h"
#include "hub/engine/BagKeys.h"

#include "client/core/Globals.h"
#include "client/core/Module1.h"
#include "client/core/WindowSeams.h"
#include "hub/messages/BookRecords.h"

namespace parlova {

namespace {
const QString kReadFailed = QStringLiteral("The Read Phonebook operation failed");
}  // namespace

QString ReadBook::GetCommand()
{
    return Guarded([&] {
        // The records are emptied when the read starts, not when it is
        // asked for: orders queued before it still work on the old entries,
        // and two reads never add up. The window shows them no more.
        if (PhonebookWindow* window = Windows().frmPhonebook())
            window->Unload();
        PhoneBooksRef().RemoveAll();
        waitingReply_ = true;
        auto command = std::make_shared<corvane::PhoneCommand>();
        command->setBagObject(bag::Book, G().PhoneBooks);
        return PushChain(command, QStringLiteral("ReadBook"));
    });
}

QString ReadBook::PutReport(const Reply& reply)
{
    return Guarded([&] {
        const corvane::PhoneCommand& command = reply.PhoneCommand();
        finished_ = true;
        waitingReply_ = false;
        progress_ = 100;
        if (command.Result() == dorrak::TIME_OUT)
            PhoneGateRef().Disconnect();
        // The chain's fragments begin with CR LF.
        QString set;
        result_ = TrimSet(BagText(command, bag::ErrorDesc), set);
        const corvane::BookRecords& books = PhoneBooksRef();
        // A read that failed before any book was read leaves no text of its own.
        if (!books.Filled() && result_.isEmpty())
            result_ = kReadFailed + FailureReason(command.Result());
        if (books.Filled())
            PhonebookWin().SetFocus();
        return QString();
    });
}

}  // namespace parlova
