#include "TalkFileRig.h"

#include "platform/VbError.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <functional>

using namespace talktest;
using parlova::TalkFile;
using parlova::TalkRecord;

namespace {

// A record whose every value differs from what the files below hold.
TalkRecord Preset()
{
    TalkRecord t;
    t.Coding = 1;
    t.Class = 0;
    t.Validity = 3;
    t.validityCode = 9;
    t.report = 1;
    t.Autosave = true;
    return t;
}

QString Open(TalkRecord& talk, const QByteArray& bytes, QString* result = nullptr)
{
    Folder folder;
    Folder::Write(folder.path(), bytes);
    QString warnings;
    const QString r = TalkFile().OpenFromFile(talk, warnings, folder.path());
    if (result)
        *result = r;
    return warnings;
}

}  // namespace

TEST(TalkFileRead, ReadsEachPartAsItsLayoutSays)
{
    const QByteArray longLine = "Conf0000%=" + QByteArray(32767, 'x') + "\r\n";
    struct Row {
        const char* name;
        QByteArray file;
        std::function<void(const TalkRecord&)> check;
        QString warnings;
    };
    const Row rows[] = {
        {"no file parameters: lines and names as they are, texts decoded",
         "[Conferees]\r\nConf00001=Zo\xC3\xAB <z@x>\r\n[Conferees_font]\r\nName=Caf\xC3\xA9\r\n"
         "[Archive]\r\n\r\nCaf\xC3\xA9 \xEF\xBC\xBBx\xEF\xBC\xBD\r\n\r\nafter a blank line\r\n"
         "[New message]\r\nd\xC3\xA9j\xC3\xA0\r\n\r\n",
         [](const TalkRecord& t) {
             EXPECT_EQ(t.conferees, QStringList{QStringLiteral("Zo\u00C3\u00AB <z@x>")});
             EXPECT_EQ(t.areas[0].font.name, QStringLiteral("Caf\u00C3\u00A9"));
             EXPECT_EQ(t.log, QStringLiteral("\r\nCaf\u00E9 [x]\r\n\r\nafter a blank line")) << "every line";
             EXPECT_EQ(t.Text, QStringLiteral("d\u00E9j\u00E0"));
         },
         {}},
        {"coding in small letters leaves the switch off",
         "[File parameters]\r\nCoding=utf-8\r\n[Conferees]\r\nConf00001=Zo\xC3\xAB\r\n",
         [](const TalkRecord& t) { EXPECT_EQ(t.conferees, QStringList{QStringLiteral("Zo\u00C3\u00AB")}); }, {}},
        {"no message parameters: the read defaults",
         "[File parameters]\r\nCoding=UTF-8\r\n",
         [](const TalkRecord& t) {
             EXPECT_EQ(std::tie(t.Coding, t.Class, t.Validity, t.validityCode, t.report, t.Autosave),
                       std::make_tuple(0, 2, 2, 170, 0, false));
             EXPECT_EQ(t.Text, QString());
             EXPECT_EQ(t.areas, (std::array<parlova::TalkArea, 3>{}));
         },
         {}},
        {"conferees end at the first missing key",
         "[File parameters]\r\nCoding=UTF-8\r\n[Conferees]\r\nConf00001=A <1>\r\nConf00002=B <2>\r\nConf00004=D <4>\r\n",
         [](const TalkRecord& t) { EXPECT_EQ(t.conferees, (QStringList{QStringLiteral("A <1>"), QStringLiteral("B <2>")})); },
         {}},
        {"long conferee lines are skipped with a warning",
         "[File parameters]\r\nCoding=UTF-8\r\n[Conferees]\r\n" + QByteArray(longLine).replace('%', '1') +
             QByteArray(longLine).replace('%', '2') + "Conf00003=C <3>\r\nConf00004=Zo\xFF\r\nConf00005=E <5>\r\n",
         [](const TalkRecord& t) { EXPECT_EQ(t.conferees, (QStringList{QStringLiteral("C <3>"), QStringLiteral("E <5>")})); },
         QStringLiteral("\r\nConferee Conf00001 was truncated\r\nConferee Conf00002 was truncated")},
        {"chunked layout, newest chunk first",
         "[Chunks]\r\nArchive_saved_chunks=2\r\nNew_message_saved_chunks=1\r\n"
         "[Archive 00001]\r\n~~\r\nfirst a\r\nfirst b\r\n"
         "[Archive 00002]\r\nsecond \xE9\r\n"
         "[New message 00001]\r\nold draft\r\n",
         [](const TalkRecord& t) {
             const QString rule(60, QLatin1Char('_'));
             // A chunk marked "~~" goes on the line its neighbour left off.
             EXPECT_EQ(t.log, QStringLiteral("second \u00E9first a\r\nfirst b\r\n") + rule +
                                  QStringLiteral("\r\n!!! Messages above are in the reverse order !!!\r\n") + rule);
             EXPECT_EQ(t.Text, QStringLiteral("old draft"));
         },
         {}},
        {"a chunk count past the limit",
         "[Chunks]\r\nNew_message_saved_chunks=99999\r\n[New message 00001]\r\nx\r\n[Archive]\r\nkept\r\n",
         [](const TalkRecord& t) {
             EXPECT_EQ(t.Text, QString());
             EXPECT_EQ(t.log, QStringLiteral("kept"));
         },
         QStringLiteral("\r\nSection [New message] corrupted")},
        {"a broken archive keeps what decodes",
         "[Archive]\r\n\r\ncaf\xE9\r\nstill here\r\n[New message]\r\nok\r\n",
         [](const TalkRecord& t) {
             EXPECT_TRUE(t.log.startsWith(QStringLiteral("\r\ncaf")));
             EXPECT_TRUE(t.log.endsWith(QStringLiteral("still here")));
             EXPECT_EQ(t.Text, QStringLiteral("ok"));
         },
         QStringLiteral("\r\nSection [Archive] error: Malformed UTF-8 string")},
        {"regional sizes and dates",
         "[File parameters]\r\nCoding=UTF-8\r\n[Message parameters]\r\nAbsolute_validity_period=17.05.2024 14:30\r\n"
         "[Conferees_font]\r\nSize=8,25\r\n[New_message_font]\r\nSize=\"10.5\"\r\n",
         [](const TalkRecord& t) {
             EXPECT_EQ(t.validityDate, QDateTime(QDate(2024, 5, 17), QTime(14, 30)));
             EXPECT_EQ(t.areas[0].font.size, 8.25);
             EXPECT_EQ(t.areas[1].font.size, 10.5);
         },
         {}},
        {"values the controls refuse keep their defaults",
         "[File parameters]\r\nCoding=UTF-8\r\n[Message parameters]\r\nCoding=1\r\nRelative_validity_period=300\r\n"
         "Absolute_validity_period=tomorrow\r\nReport=7\r\n[Conferees_font]\r\nSize=big\r\nBold=1\r\n",
         [](const TalkRecord& t) {
             EXPECT_EQ(t.Coding, 1);
             EXPECT_EQ(t.validityCode, 170);
             EXPECT_FALSE(t.validityDate.isValid());
             EXPECT_EQ(t.report, 0);
             EXPECT_EQ(t.areas[0].font.size, 10);
             EXPECT_TRUE(t.areas[0].font.bold);
         },
         QStringLiteral("\r\nSection [Message parameters] error: Invalid property value (380)"
                        "\r\nSection [Message parameters] error: Type mismatch (13)"
                        "\r\nSection [Message parameters] error: Invalid property value (380)"
                        "\r\nSection [Conferees_font] error: Type mismatch (13)")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TalkRecord talk = Preset();
        talk.conferees.clear();
        const QString warnings = Open(talk, row.file);
        EXPECT_EQ(warnings, row.warnings);
        row.check(talk);
    }
}

TEST(TalkFileRead, OpeningTakesThePathAndRefusesAnOpenConversation)
{
    Folder folder;
    const QString path = folder.path(QStringLiteral("Not there.plv"));
    TalkRecord talk = Preset();
    QString warnings = QStringLiteral("stale");
    EXPECT_EQ(TalkFile().OpenFromFile(talk, warnings, path), QString());
    EXPECT_EQ(warnings, QString());
    TalkRecord expected = Preset();
    expected.Pathname = path;
    expected.Theme = QStringLiteral("Not there");
    expected.autosaveEnabled = true;
    EXPECT_EQ(talk, expected);

    EXPECT_EQ(TalkFile().OpenFromFile(talk, warnings, folder.path()),
              QStringLiteral("Conference Not there have been already opened"));
    EXPECT_EQ(talk.Pathname, path);

    // There but unreadable: an error, not a conversation of defaults.
    TalkRecord other;
    try {
        TalkFile().OpenFromFile(other, warnings, folder.dir.path());
        ADD_FAILURE() << "no error raised";
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.number(), 21);
    }
    EXPECT_EQ(other.Pathname, QString());
}

TEST(TalkFileRead, RegionalSettingsDoNotReachTheFile)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Folder folder;
    TalkRecord talk = TeamTalk();
    TalkFile().SaveToFile(talk, folder.path());
    QLocale::setDefault(previous);
    const QByteArray bytes = Folder::Read(folder.path());
    EXPECT_TRUE(bytes.contains("\r\nSize=8.25\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nAbsolute_validity_period=2024/05/17  14:30\r\n"));

    QLocale::setDefault(QLocale::c());
    TalkRecord read;
    QString warnings;
    TalkFile().OpenFromFile(read, warnings, folder.path());
    QLocale::setDefault(previous);
    EXPECT_EQ(warnings, QString());
    EXPECT_EQ(read.areas, talk.areas);
    EXPECT_EQ(read.validityDate, talk.validityDate);
}
