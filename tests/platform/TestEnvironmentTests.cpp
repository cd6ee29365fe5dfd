// The test programs keep to folders of their own: a test that creates the
// documents folder or writes settings never reaches the user's home.
#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

TEST(TestEnvironment, HomeAndEveryStandardFolderLieInATemporaryFolder)
{
    const QString temp = QDir::tempPath() + QLatin1Char('/');
    ASSERT_TRUE(QDir::homePath().startsWith(temp)) << QDir::homePath().toStdString();
    for (const auto location : {QStandardPaths::DocumentsLocation, QStandardPaths::DesktopLocation,
                                QStandardPaths::GenericDataLocation, QStandardPaths::GenericConfigLocation,
                                QStandardPaths::GenericCacheLocation, QStandardPaths::RuntimeLocation})
        EXPECT_TRUE(QStandardPaths::writableLocation(location).startsWith(QDir::homePath() + QLatin1Char('/')))
            << QStandardPaths::writableLocation(location).toStdString();
}

}  // namespace
