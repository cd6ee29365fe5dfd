#include "client/core/Settings.h"
#include "client/main/TalkExport.h"
#include "platform/ui/DesktopService.h"
#include "support/ui/RecordingDesktopService.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace parlova;

namespace {

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The working folder set for one test.
class WorkingFolder {
public:
    explicit WorkingFolder(const QString& folder) : previous_(Settings::Instance().WorkingFolder())
    {
        Settings::Instance().WorkingFolder(folder);
    }
    ~WorkingFolder() { Settings::Instance().WorkingFolder(previous_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    QString previous_;
};

}  // namespace

TEST(ExportTalk, WritesANewFileInUtf8BesideTheEarlierOnesAndOpensIt)
{
    QTemporaryDir dir;
    const WorkingFolder folder(dir.path());
    Write(dir.filePath(QStringLiteral("Team.TXT")), "first");
    Write(dir.filePath(QStringLiteral("Team_1.TXT")), "second");
    platform::RecordingDesktopService desktop;

    const QString text = QStringLiteral("Привет \u20AC \U0001F600\r\nbye");
    const QString written = ExportTalk(text, QStringLiteral("Team"));

    EXPECT_EQ(written, dir.filePath(QStringLiteral("Team_2.TXT")));
    EXPECT_EQ(Bytes(written), QByteArray("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x82\xAC "
                                         "\xF0\x9F\x98\x80\r\nbye\r\n"));
    EXPECT_EQ(Bytes(dir.filePath(QStringLiteral("Team.TXT"))), QByteArray("first"));
    EXPECT_EQ(Bytes(dir.filePath(QStringLiteral("Team_1.TXT"))), QByteArray("second"));
    ASSERT_EQ(desktop.calls.size(), 1u);
    EXPECT_EQ(desktop.calls[0].kind, platform::RecordingDesktopService::Kind::File);
    EXPECT_EQ(desktop.calls[0].target, written);

    // A theme cannot lead the file out of the working folder.
    EXPECT_EQ(ExportTalk(QString(), QStringLiteral("../Team")), dir.filePath(QStringLiteral(".._Team.TXT")));
    EXPECT_EQ(Bytes(dir.filePath(QStringLiteral(".._Team.TXT"))), QByteArray("\r\n"));
}

TEST(ExportTalk, AFolderThatCannotBeWrittenLeavesNoFileAndOpensNothing)
{
    QTemporaryDir dir;
    // A folder below a plain file can never be made, whoever runs the test.
    Write(dir.filePath(QStringLiteral("file")), "x");
    const WorkingFolder folder(dir.filePath(QStringLiteral("file/sub")));
    platform::RecordingDesktopService desktop;
    EXPECT_EQ(ExportTalk(QStringLiteral("text"), QStringLiteral("Team")), QString());
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("file")});
}
