#include "client/core/LogTime.h"

#include "client/core/Settings.h"

#include "platform/Clock.h"

namespace parlova {

QString LogTime(const QDateTime& when) { return LogTime(when, Settings::Instance().DateTimeFormat()); }

QString LogTime(const QDateTime& when, const QString& format) { return when.toString(format); }

QString LogTime() { return LogTime(platform::Now()); }

}  // namespace parlova
