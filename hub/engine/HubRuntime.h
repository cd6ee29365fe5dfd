#pragma once
// The hub's own log ("ParlovaHubLog.txt", opened by Gate::LogToFile) and its
// own instance counter, one of each for the whole component.
#include "common/LogFunction.h"

#include <QString>

namespace corvane {

common::LogFunction& HubLog();
// The next instance id of the hub's objects; the first is 1.
qint32 NextClassID();
inline QString EnsureTrailingSlash(const QString& path) { return common::EnsureTrailingSlash(path); }

}  // namespace corvane
