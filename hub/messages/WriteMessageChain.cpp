#include "hub/messages/WriteMessageChain.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/Bag.h"
#include "hub/engine/PhoneCommand.h"
#include "hub/engine/PubFunctions.h"
#include "hub/messages/SMS.h"
#include "hub/messages/SubmitFromBag.h"
#include "platform/VbError.h"

#include <QStringList>

namespace corvane {

namespace {

const QString kSMSObject = QStringLiteral("SMSObject");
const QString kPDUs = QStringLiteral("PDUs");
const QString kCurrentPDU = QStringLiteral("CurrentPDU");
const QString kMaxPDU = QStringLiteral("MaxPDU");
const QString kError = QStringLiteral("ERROR;\r");

QString PduAt(PhoneCommand& command, qint32 k)
{
    const QStringList pdus = command.Bag(kPDUs).toStringList();
    if (k < 0 || k >= pdus.size())
        platform::Raise(platform::vberr::SubscriptOutOfRange, QStringLiteral("WriteSMS"),
                        QStringLiteral("Subscript out of range"));
    return pdus[k];
}

// The slot number that leads the text after the first ":"; 0 without one.
qint32 SlotNumber(const QString& answer)
{
    const qsizetype colon = answer.indexOf(u':');
    qsizetype i = colon < 0 ? 0 : colon + 1;
    while (i < answer.size() && answer[i] == u' ')
        ++i;
    qint64 slot = 0;
    for (; i < answer.size() && answer[i].isDigit() && answer[i].unicode() < 128; ++i) {
        slot = slot * 10 + (answer[i].unicode() - '0');
        if (slot > 2147483647)
            return 0;
    }
    return static_cast<qint32>(slot);
}

void EndWrite(PhoneCommand& command) { command.setBag(kSMSObject, QVariant()); }

}  // namespace

QString WriteOrderCommand(const QString& pdu)
{
    return QStringLiteral("AT+CMGW=") + QString::number(PDULength(pdu)) + kCR;
}

StepPtr WriteSMSSetUp(PhoneCommand& command, const SetUpArguments&)
{
    return std::make_shared<WriteSMSMemory>(storechain::SelectBoth(command));
}

WriteSMSMemory::WriteSMSMemory(const QString& command) : FixedStep(command, QStringLiteral("+CPMS;OK\r"), kError, 1000) {}

void WriteSMSMemory::setErrorAnswer(const QString& text) { error_ = TrimSet(text); }

StepPtr WriteSMSMemory::Advance(PhoneCommand& command)
{
    command.SetProgress(10);
    switch (command.Result()) {
    case dorrak::OK_ANSWER:
        break;
    case dorrak::ERROR_ANSWER:
        command.setBag(bag::ErrorAnswer, error_);
        return nullptr;
    default:
        return nullptr;
    }
    try {
        return build(command);
    } catch (const std::exception& e) {
        // An encoder failure (a validity period that is neither date nor
        // number, a Bag value of the wrong kind) ends the write here.
        EndWrite(command);
        command.SetResult(dorrak::ERROR_ANSWER);
        command.setBag(bag::ErrorAnswer, platform::ErrorText(e));
        return nullptr;
    }
}

StepPtr WriteSMSMemory::build(PhoneCommand& command)
{
    const std::shared_ptr<SMS> sms = SubmitFromBag(command);
    const qint32 coding = VariantLong(command.Bag(bag::MessageCoding));
    // The encoder empties the text for a coding it does not know; an empty
    // message must not be stored in place of the one asked for.
    if (coding != DEFAULT7BIT && coding != UCS2 && coding != WIN8BIT)
        platform::Raise(platform::vberr::InvalidProcedureCall, QStringLiteral("WriteSMS"),
                        QStringLiteral("Unknown coding method"));
    sms->SetUserData(VariantText(command.Bag(bag::MessageBody)), static_cast<DATA_CODING>(coding),
                     VariantBoolean(command.Bag(bag::JoinParts)));
    sms->Address(VariantText(command.Bag(bag::Address)));

    const QStringList pdus = sms->PDU();
    const qint32 parts = sms->NumberOfParts();
    command.setBagObject(kSMSObject, sms);
    command.setBag(kPDUs, pdus);
    command.setBag(kCurrentPDU, QVariant::fromValue<qint16>(0));
    command.setBag(kMaxPDU, qint32(parts - 1));
    command.setBag(bag::MsgIndex, QVariant::fromValue(QVector<qint32>(qMax(parts, 0), 0)));
    return std::make_shared<WriteSMSOrder>(WriteOrderCommand(PduAt(command, 0)));
}

WriteSMSOrder::WriteSMSOrder(const QString& command) : FixedStep(command, QStringLiteral(">"), kError, 2000) {}

void WriteSMSOrder::setErrorAnswer(const QString& text) { error_ = TrimSet(text); }

StepPtr WriteSMSOrder::Advance(PhoneCommand& command)
{
    const qint32 k = VariantLong(command.Bag(kCurrentPDU));
    const qint32 max = VariantLong(command.Bag(kMaxPDU));
    command.SetProgress(storechain::Progress((qint64(k) * 10 + 3) * 10, qint64(max) + 1));
    StepPtr next;
    if (command.Result() == dorrak::OK_ANSWER)
        next = std::make_shared<WriteSMSBody>(PduAt(command, k) + QChar(26));
    else if (command.Result() == dorrak::ERROR_ANSWER)
        command.setBag(bag::ErrorAnswer, error_);
    if (!next)
        EndWrite(command);
    return next;
}

void WriteSMSOrder::Interrupted(PhoneCommand& command) { EndWrite(command); }

WriteSMSBody::WriteSMSBody(const QString& command)
    : FixedStep(command, QStringLiteral("+CMGW;\r"), kError, 10000) {}

void WriteSMSBody::setErrorAnswer(const QString& text) { error_ = TrimSet(text); }

StepPtr WriteSMSBody::Advance(PhoneCommand& command)
{
    const qint32 k = VariantLong(command.Bag(kCurrentPDU));
    const qint32 max = VariantLong(command.Bag(kMaxPDU));
    command.SetProgress(storechain::Progress((qint64(k) + 1) * 100, qint64(max) + 1));
    StepPtr next;
    if (command.Result() == dorrak::OK_ANSWER) {
        const qint32 slot = SlotNumber(answer_);
        const QString pdu = PduAt(command, k);
        if (const MessageStorePtr store = storechain::StoreOrNull(command))
            store->Add(QVariant(VariantText(command.Bag(bag::LocationName))), slot, 2, pdu);
        QVector<qint32> slots = VariantLongArray(command.Bag(bag::MsgIndex));
        if (k < slots.size())
            slots[k] = slot;
        command.setBag(bag::MsgIndex, QVariant::fromValue(slots));
        if (k < max) {
            command.setBag(kCurrentPDU, QVariant::fromValue<qint16>(static_cast<qint16>(k + 1)));
            next = std::make_shared<WriteSMSOrder>(WriteOrderCommand(PduAt(command, k + 1)));
        }
    } else if (command.Result() == dorrak::ERROR_ANSWER) {
        command.setBag(bag::ErrorAnswer, error_);
    }
    if (!next)
        EndWrite(command);
    return next;
}

void WriteSMSBody::Interrupted(PhoneCommand& command) { EndWrite(command); }

}  // namespace corvane
