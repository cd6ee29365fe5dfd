#pragma once
// The picture of a toolbar button, by its tag: the desktop's icon theme
// where it has one, else the style's own pictures.
#include <QIcon>

namespace parlova {

QIcon ToolbarIcon(qint32 tag);

}  // namespace parlova
