// Test entry: widgets run offscreen, timers never fire by themselves, and the
// settings store lives in a folder of its own for the whole run.
#include "platform/Timer.h"
#include "platform/UserSettings.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::SetTimersInert(true);
    QTemporaryDir settings;
    platform::SetSettingsFolder(settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    platform::SetSettingsFolder(QString());
    return rc;
}
