#include "client/main/TalkExport.h"

#include "client/core/Settings.h"
#include "platform/ui/DesktopService.h"

#include <QFile>
#include <QFileInfo>

namespace parlova {
namespace {

// Far more than a folder ever holds of one conversation; only a folder
// that refuses every name gets this far.
constexpr int kMaxSuffix = 100000;

}  // namespace

QString ExportTalk(const QString& text, const QString& theme)
{
    // A theme is a file title; one holding a separator must not reach
    // another folder.
    QString name = theme;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString stem = Settings::Instance().WorkingFolder() + QLatin1Char('/') + name;
    for (int n = 0; n <= kMaxSuffix; ++n) {
        const QString path =
            stem + (n == 0 ? QString() : QLatin1Char('_') + QString::number(n)) + QStringLiteral(".TXT");
        QFile file(path);
        // New-only: a file that appears meanwhile is never overwritten.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
                continue;
            return QString();
        }
        const QByteArray bytes = (text + QStringLiteral("\r\n")).toUtf8();
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            file.close();
            file.remove();
            return QString();
        }
        file.close();
        platform::Desktop().OpenFile(path);
        return path;
    }
    return QString();
}

}  // namespace parlova
