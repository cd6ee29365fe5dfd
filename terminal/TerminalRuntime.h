#pragma once
// The terminal's own log ("ParlovaPhoneLog.txt", opened by
// CommPort::LogToFile) and its own instance counter, one of each for the
// whole component.
#include "common/LogFunction.h"

#include <QString>

namespace dorrak {

common::LogFunction& PhoneLog();
// The next instance id of the terminal's objects; the first is 1.
qint32 NextClassID();

}  // namespace dorrak
