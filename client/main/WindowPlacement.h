#pragma once
// The main window's normal size and position, in twips, kept in the settings
// section "Main window" as "Width", "Height", "Left" and "Top".
#include <QList>
#include <QRectF>

namespace parlova {

class WindowPlacement {
public:
    // The stored placement. A value that is missing or does not convert
    // takes its default: the designed size, centred on the first screen. A
    // window that would lie off every screen is centred, and never larger
    // than the largest screen. Screens are in twips, the first the primary.
    static QRectF Load(double designWidth, double designHeight, const QList<QRectF>& screens);
    // Writes the four values as single-precision numbers.
    static void Save(const QRectF& placement);
};

}  // namespace parlova
