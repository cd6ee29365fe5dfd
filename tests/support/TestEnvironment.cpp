#include "support/TestEnvironment.h"

#include "platform/Timer.h"
#include "platform/UserSettings.h"

#include <gtest/gtest.h>

namespace support {

TestEnvironment::TestEnvironment()
{
    platform::SetTimersInert(true);
    platform::SetSettingsFolder(settings_.path());
}

TestEnvironment::~TestEnvironment() { platform::SetSettingsFolder(QString()); }

int RunTests(int& argc, char** argv)
{
    TestEnvironment environment;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace support
