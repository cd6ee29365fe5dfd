#pragma once
// The client's orders: each turns one request into exactly one command for
// the phone gate or the e-mail gate, and turns the finished command into log
// lines, window updates or a failure text. A queue (Orders) runs them one at
// a time.
#include "hub/engine/BagKeys.h"
#include "hub/engine/Gate.h"
#include "hub/engine/PhoneCommand.h"
#include "email/EmailCommand.h"

#include "platform/VbError.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace corvane {
class BookRecords;
class MessageStore;
}  // namespace corvane

namespace parlova {

namespace bag = corvane::bag;

// The client's instance counter; the first id is 1.
qint32 NextClassID();

// A finished command handed back to an order: a phone command or an e-mail
// command, or none.
class Reply {
public:
    Reply() = default;
    Reply(corvane::PhoneCommandPtr command) : phone_(std::move(command)) {}
    Reply(std::shared_ptr<quenby::EmailCommand> command) : email_(std::move(command)) {}

    bool IsNone() const { return !phone_ && !email_; }
    // The key of the order that asked for it (0 or more: nobody's).
    qint32 Owner() const;
    const corvane::PhoneCommandPtr& Phone() const { return phone_; }
    const std::shared_ptr<quenby::EmailCommand>& Email() const { return email_; }
    // The phone command; raises a type mismatch when the reply holds none.
    corvane::PhoneCommand& PhoneCommand() const;

private:
    corvane::PhoneCommandPtr phone_;
    std::shared_ptr<quenby::EmailCommand> email_;
};

class Order {
public:
    Order();
    virtual ~Order();
    Order(const Order&) = delete;
    Order& operator=(const Order&) = delete;

    // Given by Orders::Add only; carried as the command's owner.
    qint32 Key() const { return key_; }
    void SetKey(qint32 key) { key_ = key; }
    bool Finished() const { return finished_; }
    // Handles the finished command: "" normally, the error text when the
    // handling itself failed.
    virtual QString PutReport(const Reply& reply) = 0;
    // Builds the command and pushes it into its gate: "" or the error text.
    virtual QString GetCommand() = 0;
    // Resets the run state before GetCommand.
    virtual QVariant Start();
    bool IsWaitingReply() const { return waitingReply_; }
    // Who asked: the theme of the conversation, or "".
    QString Owner() const { return owner_; }
    void SetOwner(const QString& owner) { owner_ = owner; }
    // The caption shown while it runs.
    virtual QString NameOrder() const = 0;
    qint32 Progress() const { return progress_; }
    // "" when it succeeded, else the text shown to the user.
    QString Result() const { return result_; }
    QVariant ClassDebugID() const { return QVariant::fromValue<qint32>(instanceId_); }

protected:
    // Finished False, IsWaitingReply False, Progress 0.
    void ResetRunState();
    // Runs body; a run-time error becomes its "description (number)".
    static QString Guarded(const std::function<QString()>& body) { return platform::TextOrError(body); }
    // Sets command up to run the named chain for this order and pushes it
    // into the phone gate: "". A refused set-up is returned instead, never
    // pushed, and the order no longer waits for a reply.
    QString PushChain(const corvane::PhoneCommandPtr& command, const QString& chain);

    qint32 key_ = 0;
    QString owner_;
    bool finished_ = false;
    bool waitingReply_ = false;
    qint32 progress_ = 0;
    QString result_;

private:
    qint32 instanceId_;
};

using OrderPtr = std::shared_ptr<Order>;

// Bag readers for the report handlers: an empty or null item reads as
// False, 0 or ""; anything else converts as the runtime does (or raises).
bool BagBoolean(const corvane::PhoneCommand& command, const QString& key);
qint32 BagLong(const corvane::PhoneCommand& command, const QString& key);
QString BagText(const corvane::PhoneCommand& command, const QString& key);
// The reason behind an order's failure text for a command result other
// than OK_ANSWER and ERROR_ANSWER: ". Time out", ". Transaction failed",
// ". Not executed", else ". Unknown error".
QString FailureReason(dorrak::MODEM_RESULT_CODEs result);

// The global objects the orders work on, or the runtime's error 91 when
// there is none.
corvane::Gate& PhoneGateRef();
corvane::BookRecords& PhoneBooksRef();
corvane::MessageStore& PhoneMessagesRef();
// A new command with the global message store in its Bag.
corvane::PhoneCommandPtr StoreCommand();

}  // namespace parlova
