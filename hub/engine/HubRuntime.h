#pragma once
// The hub's own log ("ParlovaHubLog.txt", opened by Gate::LogToFile) and its
// own instance counter, one of each for the whole component.
#include <QString>

namespace corvane {

class HubLogWriter {
public:
    void OpenLogFile(const QString& fullPath);
    void CloseLogFile();
    void WriteLogLine(const QString& text);
};

HubLogWriter& HubLog();
// The next instance id of the hub's objects; the first is 1.
qint32 NextClassID();
QString EnsureTrailingSlash(const QString& path);

}  // namespace corvane
