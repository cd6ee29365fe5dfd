#include "hub/engine/HubRuntime.h"

namespace corvane {

void HubLogWriter::OpenLogFile(const QString&) {}
void HubLogWriter::CloseLogFile() {}
void HubLogWriter::WriteLogLine(const QString&) {}

HubLogWriter& HubLog()
{
    static HubLogWriter log;
    return log;
}

qint32 NextClassID()
{
    static qint32 counter = 0;
    return ++counter;
}

QString EnsureTrailingSlash(const QString& path)
{
    QString p = path;
    while (p.endsWith(u' '))
        p.chop(1);
    if (!p.endsWith(u'/') && !p.endsWith(u'\\'))
        p.append(u'/');
    return p;
}

}  // namespace corvane
