#include "support/TestEnvironment.h"

#include "platform/Timer.h"
#include "platform/UserSettings.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace support {

TestEnvironment::TestEnvironment()
{
    // QStandardPaths and QDir::homePath read these at every call. The
    // runtime folder must be private to the user.
    const QString home = home_.path();
    const struct {
        const char* name;
        const char* under;
    } kFolders[] = {{"HOME", ""},
                    {"XDG_CONFIG_HOME", "/.config"},
                    {"XDG_DATA_HOME", "/.local/share"},
                    {"XDG_STATE_HOME", "/.local/state"},
                    {"XDG_CACHE_HOME", "/.cache"},
                    {"XDG_RUNTIME_DIR", "/.run"}};
    for (const auto& f : kFolders) {
        const QString path = home + QString::fromLatin1(f.under);
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(f.name, QFile::encodeName(path));
    }
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
