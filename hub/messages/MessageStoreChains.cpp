#include "hub/messages/MessageStoreChains.h"

#include "hub/engine/Bag.h"
#include "hub/engine/PhoneCommand.h"
#include "platform/VbError.h"

#include <cmath>

namespace corvane {

void registerMessageStoreChains()
{
    ChainRegistry::Register(QStringLiteral("ReadStore"), ReadStoreSetUp);
    ChainRegistry::Register(QStringLiteral("WriteSMS"), WriteSMSSetUp);
    ChainRegistry::Register(QStringLiteral("DeleteSMS"), DeleteSMSSetUp);
}

namespace storechain {

MessageStorePtr StoreOrNull(PhoneCommand& command) { return command.BagObject<MessageStore>(QStringLiteral("Store")); }

MessageStore& Store(PhoneCommand& command)
{
    const MessageStorePtr store = StoreOrNull(command);
    if (!store)
        platform::Raise(91, QStringLiteral("MessageStore"), QStringLiteral("Object variable or With block variable not set"));
    return *store;
}

qint32 Progress(double value)
{
    if (!std::isfinite(value))
        return 100;
    return static_cast<qint32>(std::nearbyint(std::fmin(std::fmax(value, 0.0), 100.0)));
}

QString SelectBoth(PhoneCommand& command)
{
    const QString name = VariantText(command.Bag(QStringLiteral("LocationName")));
    return QStringLiteral("AT+CPMS=") + name + QStringLiteral(",") + name + kCR;
}

}  // namespace storechain

}  // namespace corvane
