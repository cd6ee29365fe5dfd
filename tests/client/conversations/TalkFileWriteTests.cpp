#include "TalkFileRig.h"

#include "platform/VbError.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>

#include <unistd.h>

using namespace talktest;
using parlova::TalkFile;
using parlova::TalkRecord;

namespace {

const QByteArray kTeamSha = "b65faa59ff6766c30482e90b5799c0c022f9fab062813ce6f0fe40696a7a5527";

// bytes with lines replaced inside one section only.
QByteArray WithLines(QByteArray bytes, const QByteArray& section,
                     const std::vector<std::pair<QByteArray, QByteArray>>& changes)
{
    const qsizetype start = bytes.indexOf("[" + section + "]\r\n");
    const qsizetype end = bytes.indexOf("\r\n[", start + 1);
    QByteArray part = bytes.mid(start, end - start);
    for (const auto& [from, to] : changes) {
        const qsizetype at = part.indexOf("\r\n" + from + "\r\n");
        if (at < 0)
            return "no line " + from;
        part.replace(at + 2, from.size(), to);
    }
    return bytes.replace(start, end - start, part);
}

}  // namespace

TEST(TalkFileWrite, GoldenFileIsWrittenAndReadBack)
{
    Folder folder;
    const QString path = folder.path();
    TalkRecord talk = TeamTalk();
    TalkFile file;
    file.SaveToFile(talk, path);

    const QByteArray bytes = Folder::Read(path);
    EXPECT_EQ(bytes.size(), 1156);
    EXPECT_EQ(Folder::Sha256(bytes), kTeamSha);
    EXPECT_TRUE(bytes.contains("\r\n[Archive]\r\n\r\nTEXT:"));
    EXPECT_TRUE(bytes.contains("ok? \xED\xA0\xBD\xED\xB8\x80\r\n"));
    EXPECT_EQ(talk.Pathname, path);
    EXPECT_EQ(talk.Theme, QStringLiteral("Team"));
    EXPECT_FALSE(talk.Dirty);
    EXPECT_TRUE(talk.autosaveEnabled);

    TalkRecord read;
    QString warnings = QStringLiteral("stale");
    EXPECT_EQ(TalkFile().OpenFromFile(read, warnings, path), QString());
    EXPECT_EQ(warnings, QString());
    EXPECT_EQ(read.log.split(QStringLiteral("\r\n")).size(), 10);
    EXPECT_EQ(read, talk);

    // A log entry: the bytes before the new message untouched, same file.
    const ino_t inode = Folder::Inode(path);
    EXPECT_EQ(file.WriteTalkFileEntry(talk, QStringLiteral("Archive"), {}, QStringLiteral("\r\nx")), QString());
    const QByteArray appended = Folder::Read(path);
    EXPECT_EQ(appended.size(), 1157);
    EXPECT_EQ(appended.left(1104), bytes.left(1104));
    EXPECT_EQ(Folder::Inode(path), inode);
    EXPECT_EQ(Folder::Sha256(appended), "a2ed084317777b8dd2f1366a057d5dbbb643d7a9da903b6be89a428471813265");
    TalkRecord again;
    TalkFile().OpenFromFile(again, warnings, path);
    EXPECT_EQ(again.log, talk.log + QStringLiteral("\r\nx")) << "the entry's line end ends the last line";
}

TEST(TalkFileWrite, EdgesOfTheLayout)
{
    Folder folder;
    TalkRecord talk;
    talk.Text = QStringLiteral("a[1]");
    TalkFile().SaveToFile(talk, folder.path());
    const QByteArray bytes = Folder::Read(folder.path());
    EXPECT_TRUE(bytes.contains("\r\n[Conferees]\r\n\r\n[Conferees_font]\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n[Archive]\r\n[New message]\r\na\xEF\xBC\xBB" "1\xEF\xBC\xBD\r\n\r\n"));

    talk.Text.clear();
    TalkFile().SaveToFile(talk, folder.path(QStringLiteral("Other.plv")));
    EXPECT_TRUE(Folder::Read(folder.path(QStringLiteral("Other.plv"))).endsWith("[New message]\r\n\r\n"));
    EXPECT_EQ(Folder::Read(folder.path()), bytes) << "saving elsewhere leaves the old file";
}

TEST(TalkFileWrite, EntriesRewriteTheirKeysInPlace)
{
    struct Row {
        const char* section;
        const char* key;
        std::function<void(TalkRecord&)> change;
        // The expected file from the golden one.
        std::function<QByteArray(const QByteArray&)> expected;
    };
    auto changeFont = [](TalkRecord& t) {
        parlova::TalkArea& a = t.areas[parlova::kLogArea];
        a.font = {QStringLiteral("Mono \u00C9"), 5, 12, false, true, true, true};
        a.foreColor = 0x00FF00;
        a.backColor = 123;
    };
    const Row rows[] = {
        {"Archive_font", "Name", changeFont,
         [](const QByteArray& b) {
             return WithLines(b, "Archive_font",
                              {{"Name=DejaVu Sans Mono", "Name=Mono \xC3\x89"},
                               {"Size=8.25", "Size=12"},
                               {"Bold=-1", "Bold=0"},
                               {"Italic=0", "Italic=-1"},
                               {"Underline=0", "Underline=-1"},
                               {"Strikethru=0", "Strikethru=-1"},
                               {"Fore_color=255", "Fore_color=65280"}});
         }},
        {"Archive_font", "Charset", changeFont,
         [](const QByteArray& b) { return WithLines(b, "Archive_font", {{"Charset=0", "Charset=5"}}); }},
        {"Archive_font", "Back_color", changeFont,
         [](const QByteArray& b) { return WithLines(b, "Archive_font", {{"Back_color=-2147483643", "Back_color=123"}}); }},
        {"Archive_font", "Height", changeFont, [](const QByteArray& b) { return b; }},
        {"Message parameters", "Relative_validity_period",
         [](TalkRecord& t) {
             t.Coding = 1;
             t.Validity = 3;
             t.validityCode = 7;
             t.validityDate = QDateTime(QDate(2025, 1, 2), QTime(3, 4));
         },
         [](const QByteArray& b) {
             return WithLines(b, "Message parameters",
                              {{"Validity_format=2", "Validity_format=3"},
                               {"Relative_validity_period=170", "Relative_validity_period=7"},
                               {"Absolute_validity_period=2024/05/17  14:30", "Absolute_validity_period=2025/01/02  03:04"}});
         }},
        {"Message parameters", "Coding", [](TalkRecord& t) { t.Coding = 1; t.Class = 0; },
         [](const QByteArray& b) { return WithLines(b, "Message parameters", {{"Coding=10", "Coding=1"}}); }},
        {"Message parameters", "Autosave", [](TalkRecord& t) { t.Autosave = false; t.report = 1; },
         [](const QByteArray& b) { return WithLines(b, "Message parameters", {{"Autosave=1", "Autosave=0"}}); }},
        {"Message parameters", "Speed", [](TalkRecord& t) { t.Coding = 1; }, [](const QByteArray& b) { return b; }},
        {"Conferees", "",
         [](TalkRecord& t) {
             t.conferees.clear();
             for (int i = 1; i <= 12; ++i)
                 t.conferees.append(QStringLiteral("P%1 <+%1>").arg(i));
         },
         [](const QByteArray& b) {
             QByteArray list = "[Conferees]\r\n";
             for (int i = 1; i <= 12; ++i)
                 list += QByteArray("Conf000") + (i < 10 ? "0" : "") + QByteArray::number(i) + "=P" +
                         QByteArray::number(i) + " <+" + QByteArray::number(i) + ">\r\n";
             QByteArray out = b;
             const qsizetype from = b.indexOf("[Conferees]");
             return out.replace(from, b.indexOf("\r\n\r\n[Conferees_font]") + 2 - from, list);
         }},
        {"New message", "", [](TalkRecord& t) { t.Text = QStringLiteral("new [text]"); },
         [](const QByteArray& b) {
             return b.left(b.indexOf("[New message]")) + "[New message]\r\nnew \xEF\xBC\xBBtext\xEF\xBC\xBD\r\n";
         }},
        {"Window", "x", [](TalkRecord& t) { t.Coding = 1; }, [](const QByteArray& b) { return b; }},
    };
    for (const Row& row : rows) {
        Folder folder;
        TalkRecord talk = TeamTalk();
        TalkFile file;
        file.SaveToFile(talk, folder.path());
        const QByteArray before = Folder::Read(folder.path());
        row.change(talk);
        const QString result =
            file.WriteTalkFileEntry(talk, QString::fromLatin1(row.section), QString::fromLatin1(row.key), {});
        EXPECT_EQ(result, QString()) << row.section << " " << row.key;
        EXPECT_EQ(Folder::Read(folder.path()), row.expected(before)) << row.section << " " << row.key;
    }
}

TEST(TalkFileWrite, EntriesRefuseWhatTheyMayNotTouch)
{
    Folder folder;
    TalkRecord talk = TeamTalk();
    TalkFile file;
    EXPECT_EQ(file.WriteTalkFileEntry(talk, QStringLiteral("Conferees"), {}, {}), QStringLiteral("The file was not saved"));

    const QByteArray old = "[Chunks]\r\nChunk_size=1000\r\n[Archive 00001]\r\nold\r\n";
    Folder::Write(folder.path(), old);
    talk.Pathname = folder.path();
    for (const char* section : {"Conferees", "Archive", "Message parameters"})
        EXPECT_EQ(file.WriteTalkFileEntry(talk, QString::fromLatin1(section), QStringLiteral("Coding"), QStringLiteral("\r\nx")),
                  QStringLiteral("The file has an old format"));
    EXPECT_EQ(Folder::Read(folder.path()), old);

    // Deleted after opening: nothing is made from one entry.
    ASSERT_TRUE(QFile::remove(folder.path()));
    EXPECT_EQ(file.WriteTalkFileEntry(talk, QStringLiteral("Archive"), {}, QStringLiteral("\r\nx")),
              QStringLiteral("The file was not saved"));
    EXPECT_FALSE(QFile::exists(folder.path()));
}

TEST(TalkFileWrite, GoldenFileOpenedAndSavedAgainIsItself)
{
    const QByteArray golden = Folder::Read(QStringLiteral(PARLOVA_TEST_DATA_DIR "/Team.plv"));
    ASSERT_EQ(Folder::Sha256(golden), kTeamSha);
    Folder folder;
    Folder::Write(folder.path(), golden);
    TalkRecord talk;
    QString warnings;
    TalkFile file;
    ASSERT_EQ(file.OpenFromFile(talk, warnings, folder.path()), QString());
    EXPECT_EQ(warnings, QString());
    EXPECT_EQ(talk.log.size(), 248);
    EXPECT_EQ(talk.log, TeamTalk().log) << "the leading line end too";
    EXPECT_EQ(talk.Text, TeamTalk().Text);
    file.SaveToFile(talk, folder.path());
    EXPECT_EQ(Folder::Read(folder.path()), golden);
}

TEST(TalkFileWrite, FailedWritesLeaveTheOldFileWhole)
{
    Folder folder;
    const QString path = folder.path();
    TalkRecord talk = TeamTalk();
    TalkFile file;
    file.SaveToFile(talk, path);
    const QByteArray before = Folder::Read(path);

    // The temporary file cannot be made: a folder stands in its way.
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral(".~/x")));
    talk.conferees.append(QStringLiteral("Bob <+1>"));
    const QString error = file.WriteTalkFileEntry(talk, QStringLiteral("Conferees"), {}, {});
    EXPECT_EQ(error, QStringLiteral("Is a directory (21)"));
    EXPECT_EQ(Folder::Read(path), before);
    try {
        file.SaveToFile(talk, path);
        ADD_FAILURE() << "no error raised";
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.number(), 21);
    }
    EXPECT_EQ(Folder::Read(path), before);
    ASSERT_TRUE(QDir(path + QStringLiteral(".~")).removeRecursively());

    if (geteuid() != 0) {  // a read-only folder does not stop root
        QFile::setPermissions(folder.dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(file.WriteTalkFileEntry(talk, QStringLiteral("Conferees"), {}, {}), QStringLiteral("Permission denied (13)"));
        EXPECT_THROW(file.SaveToFile(talk, path), platform::VbError);
        QFile::setPermissions(folder.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(Folder::Read(path), before);
    }
}

TEST(TalkFileWrite, ValuesCannotBreakTheLayout)
{
    Folder folder;
    TalkRecord talk = TeamTalk();
    talk.conferees.append(QStringLiteral("Eve\r\n[Archive]\r\nx=1 <+2>"));
    talk.areas[parlova::kConfereeArea].font.name = QStringLiteral("Bad\nFont");
    TalkFile file;
    file.SaveToFile(talk, folder.path());
    talk.conferees.append(QStringLiteral("Mal\rlory\0 <+3>"));
    ASSERT_EQ(file.WriteTalkFileEntry(talk, QStringLiteral("Conferees"), {}, {}), QString());

    TalkRecord read;
    QString warnings;
    TalkFile().OpenFromFile(read, warnings, folder.path());
    EXPECT_EQ(warnings, QString());
    EXPECT_EQ(read.conferees.mid(2), (QStringList{QStringLiteral("Eve  [Archive]  x=1 <+2>"), QStringLiteral("Mal lory  <+3>")}));
    EXPECT_EQ(read.areas[parlova::kConfereeArea].font.name, QStringLiteral("Bad Font"));
    EXPECT_EQ(read.log, talk.log);
}

TEST(TalkFileWrite, LogEntriesStayInTheArchiveWhateverSectionsAreAdded)
{
    Folder folder;
    TalkRecord talk = TeamTalk();
    QByteArray bytes = TalkFile::Layout(talk);
    const qsizetype from = bytes.indexOf("[Conferees_font]");
    bytes.remove(from, bytes.indexOf("[New_message_font]") - from);
    Folder::Write(folder.path(), bytes);
    talk.Pathname = folder.path();

    TalkFile file;
    ASSERT_EQ(file.WriteTalkFileEntry(talk, QStringLiteral("Conferees_font"), QStringLiteral("Name"), {}), QString());
    ASSERT_EQ(file.WriteTalkFileEntry(talk, QStringLiteral("Archive"), {}, QStringLiteral("\r\nlate entry")), QString());
    talk.Text = QStringLiteral("changed");
    ASSERT_EQ(file.WriteTalkFileEntry(talk, QStringLiteral("New message"), {}, {}), QString());

    const QByteArray after = Folder::Read(folder.path());
    EXPECT_LT(after.indexOf("[Conferees_font]"), after.indexOf("[Archive]"));
    EXPECT_TRUE(after.endsWith("late entry\r\n[New message]\r\nchanged\r\n"));
    TalkRecord read;
    QString warnings;
    TalkFile().OpenFromFile(read, warnings, folder.path());
    EXPECT_TRUE(read.log.endsWith(Rule() + QStringLiteral("\r\nlate entry")));
    EXPECT_EQ(read.Text, QStringLiteral("changed"));
    EXPECT_EQ(read.areas, talk.areas);
}

TEST(TalkFileWrite, AppendToALongLogTouchesOnlyItsTail)
{
    auto appendCost = [](int entries, qint64& read, qint64& written) {
        Folder folder;
        TalkRecord talk = TeamTalk();
        for (int i = 0; i < entries; ++i)
            talk.log += QStringLiteral("\r\nTEXT:     entry %1\r\nAT:     2024/05/17  14:02\r\n").arg(i) + Rule();
        TalkFile file;
        file.SaveToFile(talk, folder.path());
        TalkRecord opened;
        QString warnings;
        file.OpenFromFile(opened, warnings, folder.path());
        const QByteArray before = Folder::Read(folder.path());
        const qint64 read0 = file.profile().bytesRead();
        const qint64 written0 = file.profile().bytesWritten();
        for (int i = 0; i < 2; ++i)
            ASSERT_EQ(file.WriteTalkFileEntry(opened, QStringLiteral("Archive"), {}, QStringLiteral("\r\nnew")), QString());
        read = file.profile().bytesRead() - read0;
        written = file.profile().bytesWritten() - written0;
        const qsizetype head = before.indexOf("[New message]");
        EXPECT_EQ(Folder::Read(folder.path()).left(head), before.left(head));
    };
    qint64 shortRead = -1, shortWritten = -1, longRead = -1, longWritten = -1;
    appendCost(10, shortRead, shortWritten);
    appendCost(10000, longRead, longWritten);
    EXPECT_EQ(longRead, shortRead);
    EXPECT_EQ(longWritten, shortWritten);
    EXPECT_LT(longWritten, 500);  // each tail twice: aside, then in place
}
