#include "client/main/CommandLine.h"

#include "client/core/Module1.h"
#include "client/core/Procedures.h"

#include <QDir>
#include <QFileInfo>

namespace parlova {

QStringList CommandLinePaths(const QStringList& arguments, const QString& currentFolder)
{
    const QDir folder(currentFolder);
    QStringList paths;
    for (const QString& argument : arguments) {
        for (const QString& item : argument.split(QLatin1Char(';'))) {
            QString set = QStringLiteral("\r\n \b\t\"");
            QString name = TrimSet(item, set);
            if (name.isEmpty())
                continue;
            const QString path = folder.filePath(name);
            if (!QFileInfo(name).fileName().contains(QLatin1Char('.'))) {
                const QString upper = path + QStringLiteral(".PLV");
                const QString lower = path + QStringLiteral(".plv");
                paths << (!QFileInfo::exists(upper) && QFileInfo::exists(lower) ? lower : upper);
            } else {
                paths << path;
            }
        }
    }
    return paths;
}

void OpenCommandLineFiles(const QStringList& arguments, const QString& currentFolder)
{
    try {
        for (const QString& path : CommandLinePaths(arguments, currentFolder))
            Procs().OpenTalkFile(path);
    } catch (...) {
    }
}

}  // namespace parlova
