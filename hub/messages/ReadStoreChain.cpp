#include "hub/messages/ReadStoreChain.h"
#include "hub/engine/BagKeys.h"

#include "hub/engine/Bag.h"
#include "hub/engine/PhoneCommand.h"

namespace corvane {

namespace {

const QString kStoreIndex = QStringLiteral("StoreIndex");
const QString kCPMS = QStringLiteral("+CPMS;OK\r");
const QString kError = QStringLiteral("ERROR;\r");

QString SelectCommand(const MessageStore& store, qint32 loc)
{
    return QStringLiteral("AT+CPMS=") + store.LocationName(loc) + kCR;
}

qint32 StoreIndex(PhoneCommand& command) { return VariantLong(command.Bag(kStoreIndex)); }

// The storage after i, or the end of the chain after the last one.
StepPtr NextStorage(PhoneCommand& command, qint32 i, qint32 limit)
{
    if (i >= limit - 1)
        return nullptr;
    command.setBag(kStoreIndex, qint32(i + 1));
    return std::make_shared<ReadStoreMemory>(SelectCommand(storechain::Store(command), i + 1));
}

double ShareOf(double position, qint32 count)
{
    return count > 0 ? position * 90.0 / count + 10.0 : 100.0;
}

}  // namespace

StepPtr ReadStoreSetUp(PhoneCommand& command, const SetUpArguments&)
{
    command.setBag(bag::StoreCount, QVariant::fromValue<qint16>(0));
    return std::make_shared<ReadStoreFind>();
}

ReadStoreFind::ReadStoreFind() : FixedStep(QStringLiteral("AT+CPMS=?\r"), kCPMS, kError, 1000) {}

StepPtr ReadStoreFind::Advance(PhoneCommand& command)
{
    command.SetProgress(10);
    if (command.Result() != dorrak::OK_ANSWER)
        return nullptr;
    MessageStore& store = storechain::Store(command);
    const QString failure = store.ResolveStoreLocations(answer_);
    if (!failure.isEmpty()) {
        command.setBag(bag::ErrorDesc, failure);
        return nullptr;
    }
    if (store.LocationsCount() <= 0) {
        command.setBag(bag::ErrorDesc, QStringLiteral("No message locations found"));
        return nullptr;
    }
    command.setBag(bag::StoreCount, qint32(store.LocationsCount()));
    command.setBag(kStoreIndex, QVariant::fromValue<qint16>(0));
    return std::make_shared<ReadStoreMemory>(SelectCommand(store, 0));
}

ReadStoreMemory::ReadStoreMemory(const QString& command) : FixedStep(command, kCPMS, kError, 1000) {}

StepPtr ReadStoreMemory::Advance(PhoneCommand& command)
{
    MessageStore& store = storechain::Store(command);
    const qint32 i = StoreIndex(command);
    command.SetProgress(storechain::Progress(ShareOf(i + 0.2, store.LocationsCount())));
    switch (command.Result()) {
    case dorrak::OK_ANSWER:
        store.ResolveStoreParameters(store.LocationName(i), answer_);
        // A storage the phone reports empty is not listed.
        if (store.LocationOccupiedP(i) > 0)
            return std::make_shared<ReadStoreMsg>();
        return NextStorage(command, i, store.LocationsCount());
    case dorrak::ERROR_ANSWER:
        return NextStorage(command, i, store.LocationsCount());
    case dorrak::TIME_OUT:
        return std::make_shared<ReadStoreAT>();
    default:
        return nullptr;
    }
}

// The listing is waited for through "OK" CR LF; any "ERROR" ends it, the
// "+CMS ERROR" of an empty storage included.
ReadStoreMsg::ReadStoreMsg() : FixedStep(QStringLiteral("AT+CMGL=4\r"), QStringLiteral(";OK\r\n"), QStringLiteral("ERROR"), 50000) {}

StepPtr ReadStoreMsg::Advance(PhoneCommand& command)
{
    MessageStore& store = storechain::Store(command);
    const qint32 i = StoreIndex(command);
    command.SetProgress(storechain::Progress(ShareOf(i + 1.0, store.LocationsCount())));
    if (command.Result() == dorrak::OK_ANSWER)
        store.ResolveStoreRecords(store.LocationName(i), answer_);
    if (command.Result() == dorrak::TIME_OUT)
        return std::make_shared<ReadStoreAT>();
    return NextStorage(command, i, VariantLong(command.Bag(bag::StoreCount)));
}

ReadStoreAT::ReadStoreAT() : FixedStep(QStringLiteral("AT\r"), QStringLiteral("OK\r"), kError, 5000) {}

StepPtr ReadStoreAT::Advance(PhoneCommand& command)
{
    if (command.Result() != dorrak::OK_ANSWER)
        return nullptr;
    return NextStorage(command, StoreIndex(command), VariantLong(command.Bag(bag::StoreCount)));
}

}  // namespace corvane
