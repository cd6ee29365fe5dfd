#include "client/core/LogTime.h"

#include "client/core/Settings.h"

#include "platform/Clock.h"

namespace parlova {

QString LogTime(const QDateTime& when) { return when.toString(Settings::Instance().DateTimeFormat()); }

QString LogTime() { return LogTime(platform::Now()); }

}  // namespace parlova
