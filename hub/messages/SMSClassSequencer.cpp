#include "hub/messages/SMSClassSequencer.h"

#include "platform/UserSettings.h"
#include "platform/Val.h"

#include <cmath>
#include <exception>
#include <limits>

namespace corvane {
namespace {

qint32 gLastNumber = 0;

const QString kApp = QStringLiteral("Parlova");
const QString kSection = QStringLiteral("SMSClassSequencer");
const QString kKey = QStringLiteral("LastNumber");

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
}

void SMSClassSequencer::SaveLastNumber()
{
    try {
        platform::SaveSetting(kApp, kSection, kKey, QString::number(gLastNumber));
    } catch (const std::exception&) {
    }
}

qint32 SMSClassSequencer::NextReference()
{
    // A negative stored value still yields a reference in 0..255.
    const qint64 next = ((static_cast<qint64>(gLastNumber) + 1) % 256 + 256) % 256;
    gLastNumber = static_cast<qint32>(next);
    // Kept at once: a process that ends without its gate's release must not
    // hand the same references out again after a restart.
    SaveLastNumber();
    return gLastNumber;
}

}  // namespace corvane
