#include "client/main/WindowPlacement.h"

#include "client/core/Globals.h"
#include "platform/UserSettings.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace parlova {

namespace {

const QString kSection = QStringLiteral("Main window");

std::optional<double> Stored(const QString& key)
{
    bool ok = false;
    const float value = platform::GetSetting(G().AppName, kSection, key).trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return double(value);
}

// Enough of the window on a screen to be found and dragged back.
bool OnScreen(const QRectF& window, const QList<QRectF>& screens)
{
    const double minWidth = std::min(window.width(), 1500.0);
    const double minHeight = std::min(window.height(), 300.0);
    for (const QRectF& screen : screens) {
        const QRectF seen = window.intersected(screen);
        if (seen.width() >= minWidth && seen.height() >= minHeight)
            return true;
    }
    return false;
}

}  // namespace

QRectF WindowPlacement::Load(double designWidth, double designHeight, const QList<QRectF>& screens)
{
    const QRectF primary = screens.isEmpty() ? QRectF(0, 0, designWidth, designHeight) : screens.front();
    double maxWidth = 0, maxHeight = 0;
    for (const QRectF& screen : screens) {
        maxWidth = std::max(maxWidth, screen.width());
        maxHeight = std::max(maxHeight, screen.height());
    }

    double width = Stored(QStringLiteral("Width")).value_or(designWidth);
    double height = Stored(QStringLiteral("Height")).value_or(designHeight);
    // A window a third of its designed size no longer shows its menus and
    // toolbars; such a value is damaged, not chosen.
    if (width < designWidth / 3)
        width = designWidth;
    if (height < designHeight / 3)
        height = designHeight;
    if (maxWidth > 0)
        width = std::min(width, maxWidth);
    if (maxHeight > 0)
        height = std::min(height, maxHeight);

    const double centredLeft = primary.left() + (primary.width() - width) / 2;
    const double centredTop = primary.top() + (primary.height() - height) / 2;
    QRectF placement(Stored(QStringLiteral("Left")).value_or(centredLeft),
                     Stored(QStringLiteral("Top")).value_or(centredTop), width, height);
    if (!screens.isEmpty() && !OnScreen(placement, screens))
        placement.moveTo(centredLeft, centredTop);
    return placement;
}

void WindowPlacement::Save(const QRectF& placement)
{
    const QString app = G().AppName;
    const auto text = [](double value) { return QString::number(float(value), 'g', 7); };
    platform::SaveSetting(app, kSection, QStringLiteral("Width"), text(placement.width()));
    platform::SaveSetting(app, kSection, QStringLiteral("Height"), text(placement.height()));
    platform::SaveSetting(app, kSection, QStringLiteral("Left"), text(placement.left()));
    platform::SaveSetting(app, kSection, QStringLiteral("Top"), text(placement.top()));
}

}  // namespace parlova
