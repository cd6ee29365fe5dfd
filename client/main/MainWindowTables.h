#pragma once
// The main window's menu bar and its four toolbars, as tables: names,
// captions, shortcuts, tags and tool tips. The window builds its menus and
// toolbars from them.
#include "client/core/WindowSeams.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace parlova {

struct MenuItemSpec {
    QString name;
    // "-" for a separator.
    QString caption;
    // In QKeySequence's portable text ("Ctrl+N", "Shift+F6"); empty for none.
    QString shortcut;
    // 0 for a top-level menu, 1 for its items.
    int level = 1;
};

// The menus of the main window in order; the recent-file entries follow
// "mnuFileExit" and are not listed.
const std::vector<MenuItemSpec>& MainMenuItems();

struct ToolButtonSpec {
    qint32 tag;
    QString toolTip;
    // The key SetButtonValue finds it by: "Connect", "Disconnect" or the tag.
    QString key;
    // Shows a pressed state set only through SetButtonValue.
    bool checkable = false;
    // Has the drop-down entries "Conferees list", "New message", "Log".
    bool dropDown = false;
};

const std::vector<ToolButtonSpec>& ToolbarButtons(ToolbarId toolbar);
QString ToolbarName(ToolbarId toolbar);
// The drop-down entries, index 1 to 3.
const std::vector<QString>& DropDownEntries();

}  // namespace parlova
