#include "platform/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace platform {
namespace {

constexpr double kTwipsPerInch = 1440.0;

double Dpi(bool horizontal)
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    const double dpi = !screen ? 0.0 : horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}

}  // namespace

double TwipsPerPixelX() { return kTwipsPerInch / Dpi(true); }
double TwipsPerPixelY() { return kTwipsPerInch / Dpi(false); }
int TwipsToPixelsX(double twips) { return int(std::lround(twips / TwipsPerPixelX())); }
int TwipsToPixelsY(double twips) { return int(std::lround(twips / TwipsPerPixelY())); }
double PixelsToTwipsX(int pixels) { return pixels * TwipsPerPixelX(); }
double PixelsToTwipsY(int pixels) { return pixels * TwipsPerPixelY(); }

}  // namespace platform
