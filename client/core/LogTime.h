#pragma once
// A conversation log entry's time stamp: the time formatted by the setting
// DateTimeFormat (yyyy, MM, dd, HH, mm, ss and the like).
#include <QDateTime>
#include <QString>

namespace parlova {

QString LogTime(const QDateTime& when);
// The same by a format that is not (yet) the setting.
QString LogTime(const QDateTime& when, const QString& format);
// The present time (platform::Now) as a stamp.
QString LogTime();

}  // namespace parlova
