// What the readers take from a letter's raw bytes: the body part, the
// attachments and the sender, for the shapes mail clients write.
#include "support/MailTestHelpers.h"

#include "email/AttachmentName.h"
#include "email/LetterComposer.h"
#include "email/MimeLetter.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

using namespace quenby;
using mailtest::Lf;

namespace {

struct LetterCase {
    const char* name;
    const char* raw;
    const char* body;
    int attachments;
    const char* firstFileName;
};

class MimeLetterShapes : public ::testing::TestWithParam<LetterCase> {};

TEST_P(MimeLetterShapes, BodyAndAttachments)
{
    MimeLetter letter;
    ASSERT_TRUE(ParseMimeLetter(QByteArray(GetParam().raw), letter));
    EXPECT_EQ(Lf(letter.body), QString::fromUtf8(GetParam().body));
    ASSERT_EQ(letter.attachments.size(), GetParam().attachments);
    if (GetParam().attachments > 0) {
        EXPECT_EQ(letter.attachments.at(0).fileName, QString::fromUtf8(GetParam().firstFileName));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, MimeLetterShapes,
    ::testing::Values(
        LetterCase{"htmlOnly",
                   "From: a@x.org\nContent-Type: text/html; charset=utf-8\n\n"
                   "<html><head><style>p{}</style></head><body><p>Hello &amp; welcome</p><p>Line&nbsp;two</p>"
                   "</body></html>\n",
                   "Hello & welcome\nLine two", 0, ""},
        LetterCase{"alternativeGivesThePlainText",
                   "From: a@x.org\nMIME-Version: 1.0\nContent-Type: multipart/alternative; boundary=B\n\n"
                   "--B\nContent-Type: text/plain; charset=utf-8\n\nplain text\n"
                   "--B\nContent-Type: text/html; charset=utf-8\n\n<p>html text</p>\n--B--\n",
                   "plain text", 0, ""},
        LetterCase{"mixedWithAlternativeAndAFile",
                   "From: a@x.org\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=M\n\n"
                   "--M\nContent-Type: multipart/alternative; boundary=B\n\n"
                   "--B\nContent-Type: text/plain\n\nthe text\n"
                   "--B\nContent-Type: text/html\n\n<b>the text</b>\n--B--\n"
                   "--M\nContent-Type: application/pdf; name=\"a.pdf\"\nContent-Transfer-Encoding: base64\n\n"
                   "JVBERg==\n--M--\n",
                   "the text", 1, "a.pdf"},
        LetterCase{"textAttachmentIsNotTheBody",
                   "From: a@x.org\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=M\n\n"
                   "--M\nContent-Type: text/plain\nContent-Disposition: attachment; filename=notes.txt\n\nnotes\n"
                   "--M\nContent-Type: text/plain\n\nreal body\n--M--\n",
                   "real body", 1, "notes.txt"},
        LetterCase{"attachedLetterIsAnAttachment",
                   "From: a@x.org\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=M\n\n"
                   "--M\nContent-Type: text/plain\n\nsee below\n"
                   "--M\nContent-Type: message/rfc822\n\nFrom: b@y.org\nSubject: inner\n\ninner body\n--M--\n",
                   "see below", 1, ""},
        LetterCase{"latin1BodyBecomesUnicode",
                   "From: a@x.org\nContent-Type: text/plain; charset=iso-8859-1\nContent-Transfer-Encoding: "
                   "quoted-printable\n\nK=E4se\n",
                   "K\xc3\xa4se\n", 0, ""},
        LetterCase{"noContentTypeIsPlainText", "From: a@x.org\nSubject: s\n\njust text\n", "just text\n", 0, ""},
        LetterCase{"rfc2231ContinuedName",
                   "From: a@x.org\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=M\n\n"
                   "--M\nContent-Type: text/plain\n\nb\n"
                   "--M\nContent-Type: application/octet-stream\nContent-Disposition: attachment;\n"
                   " filename*0*=UTF-8''%C3%9Cber;\n filename*1=sicht.txt\n\nx\n--M--\n",
                   "b", 1, "\xc3\x9c" "bersicht.txt"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MimeLetter, SenderIsTheFirstMailboxAndTheSubjectIsDecoded)
{
    MimeLetter letter;
    ASSERT_TRUE(ParseMimeLetter("From: undisclosed:;, \"Lee, Ann\" <ann@x.org>, bob@y.org\n"
                                "Subject: =?iso-8859-1?q?K=E4se?=\n\nb\n",
                                letter));
    EXPECT_EQ(letter.from.name, QStringLiteral("Lee, Ann"));
    EXPECT_EQ(letter.from.address, QStringLiteral("ann@x.org"));
    EXPECT_EQ(letter.subject, QString::fromUtf8("Käse"));
}

TEST(MimeLetter, WithoutBodyTheAttachmentsAreStillCounted)
{
    MimeLetter letter;
    ASSERT_TRUE(ParseMimeLetter("From: a@x.org\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=M\n\n"
                                "--M\nContent-Type: text/plain\n\nbody\n"
                                "--M\nContent-Type: image/png; name=p.png\n\nxx\n--M--\n",
                                letter, false));
    EXPECT_TRUE(letter.body.isEmpty());
    ASSERT_EQ(letter.attachments.size(), 1);
    EXPECT_TRUE(letter.attachments.at(0).content.isEmpty());
}

TEST(MimeLetter, BrokenBytesNeverCrash)
{
    const QByteArray inputs[] = {
        QByteArray(),
        QByteArray("\0\0\0\xff\xfe", 5),
        "no header at all",
        "From: \xff\xfe <\xc3@x>\nSubject: =?utf-8?b?////?=\nContent-Type: multipart/mixed; boundary=\n\n--\n--\n",
        "Content-Type: multipart/mixed; boundary=A\n\n--A\nContent-Type: multipart/mixed; boundary=A\n\n--A\n",
        QByteArray(200000, '<'),
    };
    for (const QByteArray& raw : inputs) {
        MimeLetter letter;
        ParseMimeLetter(raw, letter);
        for (const MimeAttachment& a : letter.attachments)
            EXPECT_FALSE(AttachmentFileName(a.fileName).contains(QLatin1Char('/')));
    }
}

struct NameCase {
    const char* in;
    const char* out;
};

class SafeNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeNames, StayInsideTheFolder)
{
    EXPECT_EQ(SafeAttachmentName(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Table, SafeNames,
                         ::testing::Values(NameCase{"report.pdf", "report.pdf"}, NameCase{"../../x", "x"},
                                           NameCase{"/etc/passwd", "passwd"}, NameCase{"C:\\Temp\\a.doc", "a.doc"},
                                           NameCase{"a\x01" "b\tc.txt", "abc.txt"}, NameCase{"..", ""},
                                           NameCase{".", ""}, NameCase{"dir/", ""}, NameCase{"", ""},
                                           NameCase{" spaced.txt ", "spaced.txt"}));

TEST(SafeNames, LongNamesAreCutAndKeepTheirExtension)
{
    const QString name = QString(300, QChar(0x00e9)) + QStringLiteral(".pdf");
    const QString safe = SafeAttachmentName(name);
    EXPECT_LE(safe.toUtf8().size(), 200);
    EXPECT_TRUE(safe.endsWith(QStringLiteral(".pdf")));
    platform::FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 58)));
    EXPECT_EQ(AttachmentFileName(QStringLiteral("..")), QStringLiteral("Attachment_20261209235958.tmp"));
}

}  // namespace

namespace {

TEST(MimeLetter, HtmlWithManyUnclosedBlocksIsReadInOnePass)
{
    // Each unclosed head once made the whole rest of the letter be searched
    // again. tools/bench times it.
    QByteArray html = "<p>kept</p>";
    for (int i = 0; i < 100000; ++i)
        html += "<head>x";
    html += "<script>gone</script>end\n";
    qsizetype searched = 0;
    const QString text = HtmlToText(QString::fromUtf8(html), &searched);
    EXPECT_LE(searched, 3 * html.size());
    EXPECT_TRUE(text.startsWith(QStringLiteral("kept\r\n"))) << text.left(40).toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("xend"))) << text.right(40).toStdString();

    MimeLetter letter;
    ASSERT_TRUE(ParseMimeLetter("From: a@x.org\nContent-Type: text/html; charset=utf-8\n\n" + html, letter));
    EXPECT_EQ(letter.body, text);
}

TEST(LetterComposer, SubjectAndNamesKeepTheirInnerBlanksButNoLineBreaks)
{
    const QString subject = QString::fromUtf8("Re:  two  blanks \xc3\x84  here");
    const QByteArray raw =
        ComposeLetter(ComposedAddress{QStringLiteral("Ann  Lee"), QStringLiteral("ann@example.org")},
                      {ComposedAddress{QStringLiteral("Bob\r\nBcc: evil@x.org"), QStringLiteral("bob@example.org")}},
                      subject, QStringLiteral("b"), true);
    MimeLetter letter;
    ASSERT_TRUE(ParseMimeLetter(raw, letter));
    EXPECT_EQ(letter.subject, subject);
    EXPECT_EQ(letter.from.name, QStringLiteral("Ann  Lee"));
    ASSERT_EQ(letter.to.size(), 1);
    EXPECT_EQ(letter.to.at(0).address, QStringLiteral("bob@example.org"));
    EXPECT_FALSE(raw.contains("\nBcc:"));
}

}  // namespace
