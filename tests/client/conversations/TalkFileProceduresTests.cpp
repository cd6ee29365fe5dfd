// Opening and saving conversation files from the menus: dialogs, messages
// and the recent-files list.
#include "client/support/ConversationRig.h"

#include "platform/ui/Dialogs.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using clienttest::ConversationRig;
using parlova::OpenTalkFile;
using parlova::SaveTalkFile;

TEST(TalkFileProcedures, OpeningNewMissingOpenAndChosenFiles)
{
    ConversationRig rig;
    OpenTalkFile(QString());
    EXPECT_TRUE(rig.conference->TalkExist(QStringLiteral("Conference1")));
    EXPECT_EQ(rig.main.recent, QStringList());

    const QString missing = rig.path(QStringLiteral("Gone.plv"));
    OpenTalkFile(missing);
    EXPECT_EQ(rig.boxTexts(), QStringList{QStringLiteral("File '") + missing + QStringLiteral("' does not exist")});
    EXPECT_EQ(rig.client.boxes.last().style, platform::vbExclamation);

    // A title already open is refused before the file is read.
    const QString clash = rig.path(QStringLiteral("conference1.plv"));
    rig.write(clash, "[Conferees]\r\nConf00001=Ann <+44>\r\n");
    OpenTalkFile(clash);
    EXPECT_EQ(rig.boxTexts().value(1), QStringLiteral("File '") + clash + QStringLiteral("' have already opened"));
    EXPECT_FALSE(rig.conference->ConfereeExist(QStringLiteral("+44")));

    // From the dialog: opened, on top of the recent files, the next dialog
    // starting in its folder.
    const QString team = rig.path(QStringLiteral("Team.plv"));
    rig.write(team, "[Conferees]\r\nConf00001=Ann <+44>\r\nConf00002=Bob\r\n");
    rig.dialogs.answerFile(team);
    OpenTalkFile(std::nullopt);
    ASSERT_EQ(rig.dialogs.files.size(), 1u);
    EXPECT_FALSE(rig.dialogs.files[0].save);
    EXPECT_EQ(rig.dialogs.files[0].filter, QStringLiteral("Parlova Files (*.plv)|*.plv|All Files (*.*)|*.*"));
    EXPECT_TRUE(rig.conference->TalkExist(QStringLiteral("Team")));
    EXPECT_EQ(rig.main.recent, QStringList{team});
    EXPECT_EQ(platform::InitialFolder(), rig.dir.path());
    EXPECT_EQ(rig.boxTexts().value(2), QStringLiteral("While opening file '") + team +
                                           QStringLiteral("' some error(s) occurred: \r\nCan`t parse name and telno "
                                                          "for conferee 1 because of : Invalid procedure call or "
                                                          "argument (5)."));

    // Cancelling the dialog does nothing.
    OpenTalkFile(std::nullopt);
    EXPECT_EQ(rig.conference->TalksCount(), 2);

    // A file that cannot be read.
    const QString folder = rig.path(QStringLiteral("Folder.plv"));
    QDir().mkpath(folder);
    OpenTalkFile(folder);
    EXPECT_TRUE(rig.boxTexts().value(3).startsWith(QStringLiteral("Can`t open file '") + folder +
                                                   QStringLiteral("' because of: \r\n")));
    EXPECT_EQ(rig.client.boxes.last().style, platform::vbCritical);
    EXPECT_EQ(rig.conference->TalksCount(), 2);
}

TEST(TalkFileProcedures, HostileFilesAreRefusedOrReadWithoutHarm)
{
    ConversationRig rig;
    auto named = [&](const char* name) { return rig.path(QString::fromUtf8(name)); };
    ASSERT_EQ(mkfifo(QFile::encodeName(named("Pipe.plv")).constData(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", QFile::encodeName(named("Zero.plv")).constData()), 0);
    rig.write(named(".plv"), "[Conferees]\r\nConf00001=Ann <+44>\r\n");
    rig.write(named("Huge.plv"), {});
    // Sparse: the bound is passed without writing it.
    ASSERT_EQ(truncate(QFile::encodeName(named("Huge.plv")).constData(), 256 * 1024 * 1024 + 1), 0);
    rig.write(named("Bom.plv"), "\xEF\xBB\xBF[File parameters]\r\nCoding=UTF-8\r\n[Conferees]\r\n"
                                "Conf00001=Zo\xC3\xAB <+45>\r\n");

    struct Row { const char* file; QString reason; };
    const Row rows[] = {
        {"Pipe.plv", QStringLiteral("Not a regular file (22)")},
        {"Zero.plv", QStringLiteral("Not a regular file (22)")},
        {"Huge.plv", QStringLiteral("The file is larger than 256 MB, too large for a conversation (27)")},
        {".plv", QStringLiteral("The file name '.plv' has no name before its extension, and a conference is named "
                                "after its file")},
        {"Bom.plv", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        rig.client.boxes.clear();
        OpenTalkFile(named(row.file));
        if (row.reason.isEmpty()) {
            EXPECT_EQ(rig.boxTexts(), QStringList());
            continue;
        }
        EXPECT_EQ(rig.boxTexts(), QStringList{QStringLiteral("Can`t open file '") + named(row.file) +
                                              QStringLiteral("' because of: \r\n") + row.reason + QStringLiteral(".")});
    }
    EXPECT_EQ(rig.conference->TalksCount(), 1);
    EXPECT_EQ(rig.talk(QStringLiteral("Bom")).AllConferees(), QStringList{QStringLiteral("Zo\u00EB <+45>")});
    EXPECT_EQ(rig.main.recent, QStringList{named("Bom.plv")});
}

TEST(TalkFileProcedures, SavingAsReplacesAnExistingFile)
{
    ConversationRig rig;
    parlova::Conversation& t = rig.open();
    t.Log(2, QStringLiteral("kept line"));
    const QString target = rig.path(QStringLiteral("Old.plv"));
    rig.write(target, "[Archive]\r\nsomething else\r\n");

    rig.dialogs.answerFile(target);
    EXPECT_EQ(SaveTalkFile(t, false), QString());
    ASSERT_EQ(rig.dialogs.files.size(), 1u);
    EXPECT_TRUE(rig.dialogs.files[0].save);
    EXPECT_EQ(rig.dialogs.files[0].fileName, QString());
    EXPECT_EQ(t.Theme(), QStringLiteral("Old"));
    EXPECT_FALSE(t.Dirty());
    EXPECT_TRUE(rig.bytes(target).contains("kept line"));
    EXPECT_FALSE(rig.bytes(target).contains("something else"));
    EXPECT_EQ(rig.main.recent, QStringList{target});

    // Plain Save writes to its file without a dialog or a recent entry.
    t.Log(2, QStringLiteral("second"));
    EXPECT_EQ(SaveTalkFile(t, false), QString());
    EXPECT_EQ(rig.dialogs.files.size(), 1u);
    EXPECT_EQ(rig.main.recent.size(), 1);
    EXPECT_TRUE(rig.bytes(target).contains("second"));

    // Refused: another conversation holds that theme.
    rig.open();
    rig.dialogs.answerFile(rig.path(QStringLiteral("Conference2.plv")));
    EXPECT_EQ(SaveTalkFile(t, true), QStringLiteral("Conference 'Conference2' already exists"));
    EXPECT_EQ(rig.boxTexts(), QStringList{QStringLiteral("Can`t save because of: Conference 'Conference2' "
                                                         "already exists")});
    EXPECT_EQ(rig.dialogs.files.back().fileName, target);
    // Refused: a name that gives no theme.
    rig.client.boxes.clear();
    rig.dialogs.answerFile(rig.path(QStringLiteral(".plv")));
    EXPECT_EQ(SaveTalkFile(t, true), QStringLiteral("The file name '.plv' has no name before its extension, and a "
                                                    "conference is named after its file"));
    EXPECT_EQ(t.Theme(), QStringLiteral("Old"));
    EXPECT_FALSE(QFile::exists(rig.path(QStringLiteral(".plv"))));
    // Cancelled: nothing, no error.
    EXPECT_EQ(SaveTalkFile(t, true), QString());
}
