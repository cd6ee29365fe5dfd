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
    // The path is looked for in the whole stored list, the part beyond the
    // shown length too, so that it never stands there twice.
    QStringList next = Stored();
    const qsizetype at = next.indexOf(path);
    if (at >= 0)
        next.removeAt(at);
    else if (next.size() >= n)
        next.removeAt(n - 1);
    next.prepend(path);
    for (int k = 1; k <= kMaxEntries; ++k) {
        const QString was = Read(k);
        if (k <= next.size() && was != next.at(k - 1))
            platform::SaveSetting(app, kSection, Key(k), next.at(k - 1));
        else if (k > next.size() && !was.isEmpty())
            platform::DeleteSetting(app, kSection, Key(k));
    }
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
