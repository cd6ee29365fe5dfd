#include "hub/messages/SMSClassSequencer.h"

#include "platform/UserSettings.h"
#include "platform/Val.h"

#include <cmath>
#include <exception>
#include <limits>

namespace corvane {
namespace {

qint32 gLastNumber = 0;
// References after gLastNumber that the stored value already covers: they
// may be handed out without writing the settings again.
int gReserved = 0;

const QString kApp = QStringLiteral("Parlova");
const QString kSection = QStringLiteral("SMSClassSequencer");
const QString kKey = QStringLiteral("LastNumber");

bool Store(qint32 value)
{
    try {
        return platform::SaveSetting(kApp, kSection, kKey, QString::number(value)).isEmpty();
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

qint32 SMSClassSequencer::LastNumber() { return gLastNumber; }

void SMSClassSequencer::LoadLastNumber()
{
    try {
        const double v = std::nearbyint(platform::Val(platform::GetSetting(kApp, kSection, kKey, QStringLiteral("0"))));
        // A value that does not fit leaves the counter as it was.
        if (std::isfinite(v) && v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max())
            gLastNumber = static_cast<qint32>(v);
    } catch (const std::exception&) {
    }
    gReserved = 0;
}

void SMSClassSequencer::SaveLastNumber()
{
    // The stored value now ends at the last reference handed out.
    Store(gLastNumber);
    gReserved = 0;
}

qint32 SMSClassSequencer::NextReference()
{
    // A negative stored value still yields a reference in 0..255.
    const qint32 next = static_cast<qint32>(((static_cast<qint64>(gLastNumber) + 1) % 256 + 256) % 256);
    gLastNumber = next;
    if (gReserved > 0) {
        --gReserved;
    } else if (Store((next + kBlock - 1) % 256)) {
        // The end of the block is kept before any of it is handed out, so a
        // process that dies without its gate's release never repeats one.
        gReserved = kBlock - 1;
    }
    return gLastNumber;
}

}  // namespace corvane
