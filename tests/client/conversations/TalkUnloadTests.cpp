// Closing a conversation: the questions about unread and unsaved entries,
// the silent draft write of autosave, and what a failed write leaves.
#include "client/support/ConversationRig.h"

#include "client/core/ModalQuestion.h"
#include "platform/ProfileFile.h"
#include "support/FileSizeLimit.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using clienttest::ConversationRig;
using parlova::Conversation;

namespace {

const QString kUnread = QStringLiteral("There are 2 unread messages.\r\nDo you want to close the conference?");
const QString kUnsaved = QStringLiteral("There are unsaved changes.\r\nDo you want to save the changes?");

}  // namespace

TEST(TalkUnload, UnreadAndUnsavedAreAskedAbout)
{
    struct Case {
        const char* name;
        bool unread, dirty;
        std::vector<int> answers;
        std::optional<QString> saveAs;  // the Save dialog's answer
        QStringList boxes;
        bool closed;
    };
    const Case cases[] = {
        {"unread, No", true, false, {platform::vbNo}, std::nullopt, {kUnread}, false},
        {"unread, Yes", true, false, {platform::vbYes}, std::nullopt, {kUnread}, true},
        {"unsaved, Cancel", false, true, {platform::vbCancel}, std::nullopt, {kUnsaved}, false},
        {"unsaved, No", false, true, {platform::vbNo}, std::nullopt, {kUnsaved}, true},
        {"unsaved, Yes, dialog cancelled", false, true, {platform::vbYes}, std::nullopt, {kUnsaved}, false},
        {"unsaved, Yes, saved", false, true, {platform::vbYes}, QStringLiteral("Kept.plv"), {kUnsaved}, true},
        {"both, Yes and No", true, true, {platform::vbYes, platform::vbNo}, std::nullopt, {kUnread, kUnsaved}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConversationRig rig;
        Conversation& t = rig.open();
        if (c.unread)
            t.UpdateCaption(0, 2);
        t.SetDirty(c.dirty);
        for (int a : c.answers)
            rig.client.boxes.answer(a);
        if (c.saveAs)
            rig.dialogs.answerFile(rig.path(*c.saveAs));
        t.CloseWindow();
        EXPECT_EQ(rig.boxTexts(), c.boxes);
        for (const platform::MessageBoxRequest& b : rig.client.boxes.boxes())
            EXPECT_EQ(b.title, QStringLiteral("Conference1"));
        EXPECT_EQ(rig.conference->TalksCount(), c.closed ? 0 : 1);
        if (!c.closed) {
            EXPECT_EQ(t.Dirty(), c.dirty);
            EXPECT_EQ(t.Unread(), c.unread ? 2 : 0);
        }
        if (c.unread && c.closed) {
            EXPECT_EQ(rig.main.captions.value(0), 0);
        }
        if (c.saveAs) {
            EXPECT_TRUE(QFile::exists(rig.path(*c.saveAs)));
        }
    }
}

TEST(TalkUnload, AutosaveWritesTheDraftSilently)
{
    ConversationRig rig;
    Conversation& t = rig.autosaved();
    const QString file = rig.path(QStringLiteral("Team.plv"));
    t.OnDraftChanged(QStringLiteral("draft [1]"));
    t.CloseWindow();
    EXPECT_EQ(rig.boxTexts(), QStringList());
    EXPECT_EQ(rig.conference->TalksCount(), 0);
    EXPECT_TRUE(rig.bytes(file).endsWith("[New message]\r\ndraft \xEF\xBC\xBB" "1\xEF\xBC\xBD\r\n"))
        << rig.bytes(file).toStdString();
}

TEST(TalkUnload, AFailedAutosaveWriteKeepsTheWindowAsking)
{
    ConversationRig rig;
    Conversation& t = rig.autosaved();
    const QString file = rig.path(QStringLiteral("Team.plv"));
    ASSERT_TRUE(QFile::remove(file));

    t.Log(1, QStringLiteral("an arrival"));
    EXPECT_EQ(rig.main.alerts, QStringList{QStringLiteral("Team: The file was not saved")});
    EXPECT_TRUE(t.Dirty());
    EXPECT_TRUE(t.Log().endsWith(QStringLiteral("an arrival")));

    // Closing tries the draft write, fails, says so and stays.
    rig.client.boxes.answer(platform::vbYes);
    t.CloseWindow();
    EXPECT_EQ(rig.boxTexts().value(1), QStringLiteral("Team: The file was not saved"));
    EXPECT_EQ(rig.client.boxes.last().style, platform::vbExclamation);
    EXPECT_EQ(rig.conference->TalksCount(), 1);
}

TEST(TalkUnload, EntriesThatFoundNoRoomReachTheFileWithTheNextWrite)
{
    ConversationRig rig;
    Conversation& t = rig.autosaved();
    const QString file = rig.path(QStringLiteral("Team.plv"));
    QStringList lines;
    for (int i = 0; i < 20000; ++i)
        lines << QStringLiteral("draft line %1").arg(i);
    const QByteArray draft = lines.join(QStringLiteral("\r\n")).toUtf8();
    t.SetDraft(QString::fromUtf8(draft));
    int entries = 0;
    auto arrive = [&] { t.Log(1, QStringLiteral("entry %1").arg(++entries)); };
    // Lines that are not empty: the file keeps an empty one between entries.
    auto fileLines = [&](const char* name) {
        platform::ProfileFile read(file);
        read.load();
        QByteArrayList out = read.sectionLines(name).value_or(QByteArrayList());
        out.removeAll(QByteArray());
        return out;
    };
    auto shownLines = [](const QString& log) {
        QByteArrayList out;
        for (const QString& line : log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            out << line.toUtf8();
        return out;
    };
    arrive();
    ASSERT_EQ(rig.main.alerts, QStringList());

    // Room for the file to grow by an entry, not for the side file, which
    // holds the long draft twice (the new tail and the bytes it replaces);
    // then no room at all.
    for (const bool roomForEntry : {true, false}) {
        SCOPED_TRACE(roomForEntry ? "room for an entry" : "no room");
        rig.main.alerts.clear();
        {
            testsupport::FileSizeLimit full(roomForEntry ? QFileInfo(file).size() + 40 : 1000);
            for (int i = 0; i < 5; ++i) {
                arrive();
                const QByteArrayList written = fileLines("Archive");
                EXPECT_EQ(shownLines(t.Log()).mid(0, written.size()), written);
                EXPECT_EQ(fileLines("New message").join("\r\n"), draft);
            }
        }
        EXPECT_EQ(rig.main.alerts.value(0), QStringLiteral("Team: File too large (27)"));
        EXPECT_FALSE(QFile::exists(platform::ProfileFile::TailFileName(file)));
        EXPECT_TRUE(t.Dirty());
        EXPECT_NE(fileLines("Archive"), shownLines(t.Log()));
        if (roomForEntry) {
            arrive();  // room again
            EXPECT_EQ(fileLines("Archive"), shownLines(t.Log()));
        }
    }
    const QByteArrayList shown = shownLines(t.Log());
    t.CloseWindow();
    EXPECT_EQ(rig.conference->TalksCount(), 0);
    EXPECT_EQ(fileLines("Archive"), shown);
    EXPECT_EQ(fileLines("New message").join("\r\n"), draft);
}

TEST(TalkUnload, AnEntryThatFoundNoRoomOutlivesAChangeOfTheFilesStatus)
{
    ConversationRig rig;
    Conversation& t = rig.autosaved();
    const QString file = rig.path(QStringLiteral("Team.plv"));
    t.Log(1, QStringLiteral("entry 1"));
    {
        testsupport::FileSizeLimit full(QFileInfo(file).size());
        t.Log(1, QStringLiteral("entry 2"));
    }
    EXPECT_EQ(rig.main.alerts, QStringList{QStringLiteral("Team: File too large (27)")});
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    t.Log(1, QStringLiteral("entry 3"));
    EXPECT_EQ(t.Log(), QStringLiteral("\r\nentry 1\r\nentry 2\r\nentry 3"));
    // Asked about the unread entries only: nothing is left unsaved.
    rig.client.boxes.answer(platform::vbYes);
    t.CloseWindow();
    EXPECT_EQ(rig.boxTexts(), QStringList{QString(kUnread).replace(QLatin1Char('2'), QLatin1Char('3'))});
    EXPECT_EQ(rig.conference->TalksCount(), 0);
    platform::ProfileFile read(file);
    ASSERT_TRUE(read.load());
    QByteArrayList archive = read.sectionLines("Archive").value_or(QByteArrayList());
    archive.removeAll(QByteArray());
    EXPECT_EQ(archive, (QByteArrayList{"entry 1", "entry 2", "entry 3"}));
}

TEST(TalkUnload, QuestionsHoldTheMainLoopAndActivationChangesNothing)
{
    ConversationRig rig;
    Conversation& t = rig.open();
    t.SetDirty(false);
    t.Activate();
    EXPECT_FALSE(t.Dirty());

    const QString file = rig.path(QStringLiteral("Team.plv"));
    ASSERT_EQ(rig.conference->SaveFile(t.Theme(), file), QString());
    t.OnAutosaveClick(1);
    const QByteArray before = rig.bytes(file);
    t.Activate();
    EXPECT_EQ(rig.bytes(file), before);

    t.SetAutosave(0);
    t.UpdateCaption(0, 1);
    t.SetDirty(true);
    QList<bool> held;
    const parlova::ModalQuestion::Asker previous =
        parlova::ModalQuestion::SetAsker([&](const platform::MessageBoxRequest&) {
            held << parlova::ModalQuestion::IsOpen();
            return platform::vbNo;
        });
    t.CloseWindow();
    parlova::ModalQuestion::SetAsker(previous);
    EXPECT_EQ(held, QList<bool>{true});
    EXPECT_EQ(rig.conference->TalksCount(), 1);
}
