#pragma once
// Window layout is worked out in twips, 1440 to the inch: 15 to a pixel at
// 96 dots per inch. The scale follows the screen's logical DPI.
namespace platform {

double TwipsPerPixelX();
double TwipsPerPixelY();
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(int pixels);
double PixelsToTwipsY(int pixels);

}  // namespace platform
