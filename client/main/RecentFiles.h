#pragma once
// The list of recently used conversation files under the File menu, kept in
// the settings section "Recent Files" as "RecentFile1" (the newest) to
// "RecentFile9". Only those nine keys count, whatever else a hand-edited
// file holds.
#include <QString>
#include <QStringList>

#include <optional>

namespace parlova {

class RecentFiles {
public:
    static constexpr int kMaxEntries = 9;

    // What the menu shows: the separator in front of the entries, and the
    // paths of entries 1 to 9 (the rest hidden).
    struct Menu {
        bool separator = false;
        QStringList paths;
    };

    // The stored paths in number order, missing and empty values skipped.
    static QStringList Stored();

    // Puts path at the top of the stored list, unless the settings keep no
    // list. True when the menu is to be rebuilt.
    static bool Update(const QString& path);

    // The menu as the settings make it; nothing when it keeps its state
    // (no list stored while the list is remembered, or an already hidden
    // list while it is not).
    static std::optional<Menu> Load(bool separatorShown);

    // A path as a menu caption: "&" shown as itself, not as an access key.
    static QString Caption(const QString& path);
};

}  // namespace parlova
