#include "client/main/RecentFiles.h"

#include "client/core/Globals.h"
#include "client/core/Module1.h"
#include "client/core/Settings.h"
#include "platform/UserSettings.h"

#include <algorithm>

namespace parlova {

namespace {

const QString kSection = QStringLiteral("Recent Files");

QString Key(int number) { return QStringLiteral("RecentFile") + QString::number(number); }

QString Read(int number) { return platform::GetSetting(G().AppName, kSection, Key(number)); }

// RecentFilesNumber as far as a list of at most nine entries can honour it.
int Limit() { return std::clamp<qint32>(Settings::Instance().RecentFilesNumber(), 0, RecentFiles::kMaxEntries); }

}  // namespace

QStringList RecentFiles::Stored()
{
    QStringList paths;
    for (int k = 1; k <= kMaxEntries; ++k) {
        const QString path = Read(k);
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

bool RecentFiles::Update(const QString& path)
{
    const Settings& s = Settings::Instance();
    const qint32 n = s.RecentFilesNumber();
    if (!s.RememberRecentFiles() || n < 1 || n > kMaxEntries)
        return false;
    const QString app = G().AppName;
    if (Read(1).isEmpty()) {
        platform::SaveSetting(app, kSection, Key(1), path);
        return true;
    }
    const QStringList current = Stored();
    const int c = int(current.size());
    int m = c < n ? c + 1 : n;
    // Only the entries above an already listed path move down.
    for (int i = 1; i <= m - 1; ++i) {
        if (current.at(i - 1) == path) {
            m = i;
            break;
        }
    }
    for (int j = m; j >= 2; --j)
        platform::SaveSetting(app, kSection, Key(j), current.at(j - 2));
    platform::SaveSetting(app, kSection, Key(1), path);
    return true;
}

std::optional<RecentFiles::Menu> RecentFiles::Load(bool separatorShown)
{
    if (!Settings::Instance().RememberRecentFiles()) {
        if (separatorShown)
            return Menu{};
        return std::nullopt;
    }
    if (Read(1).isEmpty())
        return std::nullopt;
    Menu menu;
    menu.separator = true;
    menu.paths = Stored().mid(0, Limit());
    return menu;
}

QString RecentFiles::Caption(const QString& path)
{
    return MenuCaption(path);
}

}  // namespace parlova
