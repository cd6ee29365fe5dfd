#include "hub/messages/MessageStoreChains.h"
#include "hub/engine/BagKeys.h"

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
    return platform::Required(StoreOrNull(command), QStringLiteral("MessageStore"));
}

qint32 Progress(double value)
{
    if (!std::isfinite(value))
        return 100;
    return static_cast<qint32>(std::nearbyint(std::fmin(std::fmax(value, 0.0), 100.0)));
}

qint32 Progress(qint64 numerator, qint64 denominator)
{
    if (denominator <= 0 || numerator < 0)
        return numerator < 0 ? 0 : 100;
    qint64 quotient = numerator / denominator;
    const qint64 twice = 2 * (numerator % denominator);
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        ++quotient;
    return static_cast<qint32>(qMin<qint64>(quotient, 100));
}

QString SelectBoth(PhoneCommand& command)
{
    const QString name = VariantText(command.Bag(bag::LocationName));
    return QStringLiteral("AT+CPMS=") + name + QStringLiteral(",") + name + kCR;
}

}  // namespace storechain

}  // namespace corvane
