#include "platform/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace platform;

TEST(Twips, FollowTheScreensLogicalDpi)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const double dpiX = screen->logicalDotsPerInchX();
    const double dpiY = screen->logicalDotsPerInchY();
    EXPECT_DOUBLE_EQ(TwipsPerPixelX(), 1440.0 / dpiX);
    EXPECT_DOUBLE_EQ(TwipsPerPixelY(), 1440.0 / dpiY);
    EXPECT_EQ(TwipsToPixelsX(1440), qRound(dpiX)) << "an inch";
    EXPECT_EQ(TwipsToPixelsY(1440), qRound(dpiY));
    if (dpiX == 96.0 && dpiY == 96.0) {
        EXPECT_DOUBLE_EQ(TwipsPerPixelX(), 15.0);
        EXPECT_EQ(TwipsToPixelsX(7), 0);
        EXPECT_EQ(TwipsToPixelsX(8), 1);
        EXPECT_EQ(TwipsToPixelsX(-30), -2);
        EXPECT_DOUBLE_EQ(PixelsToTwipsY(100), 1500.0);
    }
}
