#include "hub/messages/DeleteMessageChain.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/Bag.h"
#include "hub/engine/PhoneCommand.h"
#include "hub/engine/PubFunctions.h"

namespace corvane {

namespace {

const QString kPartsIndexes = QStringLiteral("MsgPartsIndexes");
const QString kPartIndex = QStringLiteral("PartIndex");
const QString kError = QStringLiteral("ERROR;\r");

qint32 LocationIndex(PhoneCommand& command) { return VariantLong(command.Bag(bag::LocationIndex)); }
qint32 MsgIndex(PhoneCommand& command) { return VariantLong(command.Bag(bag::MsgIndex)); }

// From position p (1-based) on, the first part that has a slot; beyond the
// last part when none is left. A part never listed (-1) is skipped.
qint32 NextPart(const QVector<qint32>& slots, qint32 p)
{
    while (p <= slots.size() && slots[p - 1] < 0)
        ++p;
    return p;
}

StepPtr DeleteCommandFor(const QVector<qint32>& slots, qint32 p)
{
    return std::make_shared<DeleteSMSPart>(QStringLiteral("AT+CMGD=") + QString::number(slots[p - 1]) + kCR);
}

}  // namespace

StepPtr DeleteSMSSetUp(PhoneCommand& command, const SetUpArguments&)
{
    return std::make_shared<DeleteSMSMemory>(storechain::SelectBoth(command));
}

DeleteSMSMemory::DeleteSMSMemory(const QString& command)
    : FixedStep(command, QStringLiteral("+CPMS;OK\r"), kError, 1000) {}

StepPtr DeleteSMSMemory::Advance(PhoneCommand& command)
{
    command.SetProgress(10);
    if (command.Result() != dorrak::OK_ANSWER)
        return nullptr;
    const MessageStorePtr store = storechain::StoreOrNull(command);
    const QVariant indexes = store ? store->GetMsgIndexes(LocationIndex(command), MsgIndex(command)) : QVariant();
    if (!indexes.canConvert<QVector<qint32>>() || indexes.typeId() != QMetaType::fromType<QVector<qint32>>().id()) {
        // Nothing was deleted: that must not read as a success.
        command.SetResult(dorrak::ERROR_ANSWER);
        command.setBag(bag::ErrorAnswer, QStringLiteral("Message not found"));
        return nullptr;
    }
    const QVector<qint32> slots = indexes.value<QVector<qint32>>();
    command.setBag(kPartsIndexes, indexes);
    const qint32 p = NextPart(slots, 1);
    command.setBag(kPartIndex, p);
    if (p > slots.size())
        return nullptr;
    return DeleteCommandFor(slots, p);
}

DeleteSMSPart::DeleteSMSPart(const QString& command) : FixedStep(command, QStringLiteral("OK\r"), kError, 2000) {}

void DeleteSMSPart::setErrorAnswer(const QString& text) { error_ = TrimSet(text); }

StepPtr DeleteSMSPart::Advance(PhoneCommand& command)
{
    const QVector<qint32> slots = VariantLongArray(command.Bag(kPartsIndexes));
    const qint32 n = static_cast<qint32>(slots.size());
    qint32 q = 0;
    StepPtr next;
    if (command.Result() == dorrak::OK_ANSWER) {
        const qint32 p = NextPart(slots, VariantLong(command.Bag(kPartIndex)) + 1);
        if (p <= n) {
            command.setBag(kPartIndex, p);
            next = DeleteCommandFor(slots, p);
            q = p;
        } else {
            if (const MessageStorePtr store = storechain::StoreOrNull(command))
                store->Delete(LocationIndex(command), MsgIndex(command));
            q = n + 1;
        }
    } else if (command.Result() == dorrak::ERROR_ANSWER) {
        command.setBag(bag::ErrorAnswer, error_);
    }
    command.SetProgress(storechain::Progress(q * 90.0 / (n + 1) + 10.0));
    return next;
}

}  // namespace corvane
