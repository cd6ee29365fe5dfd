#include "client/core/Order.h"
#include "hub/engine/BagKeys.h"

#include "client/core/Globals.h"
#include "common/ClassIDGenerator.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageStore.h"
#include "platform/VbError.h"

namespace parlova {

qint32 NextClassID()
{
    static common::ClassIDGenerator counter;
    return counter.NextClassID();
}

qint32 Reply::Owner() const
{
    if (phone_)
        return phone_->Owner();
    if (email_)
        return email_->Owner();
    return 0;
}

corvane::PhoneCommand& Reply::PhoneCommand() const
{
    if (!phone_)
        platform::Raise(platform::vberr::TypeMismatch, QStringLiteral("Parlova"), QStringLiteral("Type mismatch"));
    return *phone_;
}

Order::Order() : instanceId_(NextClassID()) {}

Order::~Order() = default;

QVariant Order::Start()
{
    ResetRunState();
    return QVariant();
}

void Order::ResetRunState()
{
    finished_ = false;
    waitingReply_ = false;
    progress_ = 0;
}

QString Order::PushChain(const corvane::PhoneCommandPtr& command, const QString& chain)
{
    const QString refused = command->SetUp(chain, QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), key_, 5000, false,
                                           false, dorrak::mbtLightCommand);
    if (!refused.isEmpty()) {
        waitingReply_ = false;
        return refused;
    }
    PhoneGateRef().Push(command);
    return QString();
}

namespace {

bool IsEmptyOrNull(const QVariant& v) { return !v.isValid() || v.isNull() || corvane::VariantIsEmpty(v); }

}  // namespace

bool BagBoolean(const corvane::PhoneCommand& command, const QString& key)
{
    const QVariant v = command.Bag(key);
    return IsEmptyOrNull(v) ? false : corvane::VariantBoolean(v);
}

qint32 BagLong(const corvane::PhoneCommand& command, const QString& key)
{
    const QVariant v = command.Bag(key);
    return IsEmptyOrNull(v) ? 0 : corvane::VariantLong(v);
}

QString BagText(const corvane::PhoneCommand& command, const QString& key)
{
    const QVariant v = command.Bag(key);
    return IsEmptyOrNull(v) ? QString() : corvane::VariantText(v);
}

QString FailureReason(dorrak::MODEM_RESULT_CODEs result)
{
    switch (result) {
    case dorrak::TIME_OUT:
        return QStringLiteral(". Time out");
    case dorrak::TRANSACTION_FAIL:
        return QStringLiteral(". Transaction failed");
    case dorrak::NOT_EXECUTED:
        return QStringLiteral(". Not executed");
    default:
        return QStringLiteral(". Unknown error");
    }
}

corvane::Gate& PhoneGateRef() { return platform::Required(G().PhoneGate, QStringLiteral("Parlova")); }
corvane::BookRecords& PhoneBooksRef() { return platform::Required(G().PhoneBooks, QStringLiteral("Parlova")); }
corvane::MessageStore& PhoneMessagesRef() { return platform::Required(G().PhoneMessages, QStringLiteral("Parlova")); }

corvane::PhoneCommandPtr StoreCommand()
{
    auto command = std::make_shared<corvane::PhoneCommand>();
    command->setBagObject(bag::Store, G().PhoneMessages);
    return command;
}

}  // namespace parlova
