// The local mail store service over Maildir fixtures and a sendmail stub.
#include "MailTestLetters.h"
#include "Pop3ScriptServer.h"
#include "support/MailTestHelpers.h"
#include "support/MaildirProfile.h"
#include "support/SendmailStub.h"

#include "email/LocalMailStore.h"
#include "email/MAPIVB32.h"
#include "email/QuenbyGlobalObjs.h"
#include "email/SMAPI.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gmime/gmime.h>
#include <gtest/gtest.h>

using namespace quenby;
using mailtest::FileBytes;
using mailtest::Lf;
using mailtest::To;
using testsupport::MaildirProfile;
using testsupport::SendmailStub;

namespace {

class LocalStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(attachments.isValid());
        folder = attachments.path() + QLatin1Char('/');
    }
    void connect() { ASSERT_EQ(smapi.Connect(profile.name()), QString()); }
    struct Outcome {
        QString result;
        int count = -1;
        QList<EmailLetter> letters;
    };
    Outcome read(const QString& where)
    {
        Outcome o;
        o.result = smapi.Read(0, where, o.count, o.letters);
        return o;
    }

    MaildirProfile profile;
    QTemporaryDir attachments;
    QString folder;
    SMAPI smapi;
};

TEST_F(LocalStore, ConnectNeedsAnExistingProfileAndGivesTheBareCode)
{
    EXPECT_EQ(smapi.Connect(QStringLiteral("Nobody")), QStringLiteral("3"));
    EXPECT_EQ(smapi.Connect(QStringLiteral("../Ann")), QStringLiteral("3"));
    EXPECT_EQ(smapi.Connect(QString()), QStringLiteral("3"));
    EXPECT_EQ(smapi.Connect(profile.name()), QString());
    EXPECT_EQ(smapi.Disconnect(), QString());
    // Logged off already.
    EXPECT_EQ(smapi.Disconnect(), QStringLiteral("2"));
}

TEST_F(LocalStore, EmptyMailbox)
{
    connect();
    const Outcome o = read(folder);
    EXPECT_EQ(o.result, QString());
    EXPECT_EQ(o.count, 0);
    EXPECT_TRUE(o.letters.isEmpty());
}

TEST_F(LocalStore, ReadsNewThenCurInDeliveryOrderMovesAttachmentsAndDeletes)
{
    connect();
    {
        QFile existing(folder + QStringLiteral("report.pdf"));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("old");
    }
    profile.deliver(mailtest::LetterWithAttachments(), 2000);
    profile.deliver(mailtest::PlainLetter(), 1000);
    profile.deliver(mailtest::BigLetter(300), 500, true);

    const Outcome o = read(folder);
    ASSERT_EQ(o.result, QString());
    ASSERT_EQ(o.count, 3);
    EXPECT_EQ(o.letters.at(0).Message.Subject, QString::fromUtf8("Äpfel"));
    EXPECT_EQ(o.letters.at(0).Originator.Name, QStringLiteral("Ann Lee"));
    EXPECT_EQ(o.letters.at(0).Originator.Address, QStringLiteral("ann@example.org"));
    // Read from the file itself: no dots were added, none are taken.
    EXPECT_EQ(Lf(o.letters.at(0).Message.NoteText), QStringLiteral("Hello\n.hidden line\n..two dots\nBye\n"));
    EXPECT_EQ(o.letters.at(0).Message.Flags, 0);
    EXPECT_EQ(o.letters.at(0).Message.FileCount, 0);

    const EmailLetter& withFiles = o.letters.at(1);
    EXPECT_EQ(withFiles.Message.Subject, QStringLiteral("Figures"));
    EXPECT_EQ(withFiles.Message.Flags, 0);
    ASSERT_EQ(withFiles.Message.FileCount, 2);
    ASSERT_GE(withFiles.Attachments.size(), 2);
    EXPECT_EQ(withFiles.Attachments.at(0).PathName, folder + QStringLiteral("report.pdf.1"));
    EXPECT_EQ(withFiles.Attachments.at(0).FileName, QStringLiteral("report.pdf"));
    EXPECT_EQ(FileBytes(withFiles.Attachments.at(0).PathName), mailtest::PdfBytes());
    EXPECT_EQ(QFileInfo(withFiles.Attachments.at(1).PathName).absolutePath(), QDir::cleanPath(folder));
    EXPECT_EQ(FileBytes(withFiles.Attachments.at(1).PathName), mailtest::NamelessBytes());
    EXPECT_EQ(FileBytes(folder + QStringLiteral("report.pdf")), QByteArray("old"));

    EXPECT_EQ(o.letters.at(2).Message.Subject, QStringLiteral("Big one"));
    EXPECT_EQ(profile.letterCount(), 0);
}

TEST_F(LocalStore, ClashingNamesCountOnOverTheObjectsLife)
{
    connect();
    {
        QFile existing(folder + QStringLiteral("report.pdf"));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    }
    profile.deliver(mailtest::LetterWithAttachments(), 1000);
    profile.deliver(mailtest::LetterWithAttachments(), 1001);
    const Outcome o = read(folder);
    ASSERT_EQ(o.count, 2);
    EXPECT_EQ(o.letters.at(0).Attachments.at(0).PathName, folder + QStringLiteral("report.pdf.1"));
    // report.pdf.1 is taken by now; the counter goes on to 2.
    EXPECT_EQ(o.letters.at(1).Attachments.at(0).PathName, folder + QStringLiteral("report.pdf.2"));
}

TEST_F(LocalStore, NoFolderLeavesALetterWithAttachmentsOnceAndReadsOneWithout)
{
    connect();
    const QString kept = profile.deliver(mailtest::LetterWithAttachments(), 1000);
    profile.deliver(mailtest::PlainLetter(), 1001);
    Outcome o = read(QString());
    ASSERT_EQ(o.result, QString());
    ASSERT_EQ(o.count, 2);
    EXPECT_EQ(o.letters.at(0).Message.Flags, 2048);
    EXPECT_EQ(Lf(o.letters.at(0).Message.NoteText),
              QStringLiteral("See attached.\n{While loading attachments an error occured: Folder for saving "
                             "attachments is not set. The message was left in the mail server.}"));
    EXPECT_EQ(o.letters.at(1).Message.Flags, 0);
    EXPECT_EQ(profile.letterCount(), 1);
    EXPECT_TRUE(QFileInfo::exists(profile.maildir() + QLatin1Char('/') + kept));

    // Handed out once; the next read leaves it alone.
    o = read(QString());
    EXPECT_EQ(o.result, QString());
    EXPECT_EQ(o.count, 0);
    EXPECT_EQ(profile.letterCount(), 1);
}

// One unreadable letter must not cost the others (they are deleted once read).
TEST_F(LocalStore, AnUnreadableLetterStaysAndTheOthersAreHandedOut)
{
    connect();
    profile.deliver(mailtest::PlainLetter(), 1000);
    const QString broken = profile.deliver(QByteArray(), 2000);
    Outcome o = read(folder);
    EXPECT_EQ(o.result, QString());
    ASSERT_EQ(o.count, 1);
    EXPECT_EQ(o.letters.at(0).Message.Subject, QString::fromUtf8("Äpfel"));
    EXPECT_EQ(profile.letterCount(), 1);
    EXPECT_TRUE(QFileInfo::exists(profile.maildir() + QLatin1Char('/') + broken));

    // With nothing readable at all the code is the result.
    o = read(folder);
    EXPECT_EQ(o.result, QStringLiteral("MAPI error (17)"));
    EXPECT_EQ(o.count, 0);
    EXPECT_EQ(profile.letterCount(), 1);
}

TEST_F(LocalStore, AttachmentNamesCannotLeaveTheFolder)
{
    connect();
    QDir(attachments.path()).mkdir(QStringLiteral("in"));
    const QString inner = folder + QStringLiteral("in/");
    profile.deliver(mailtest::LetterWithAttachments("..%2F..%2Fescaped.txt"), 1000);
    profile.deliver(mailtest::LetterWithAttachments("%2Fetc%2Fabsolute.txt"), 1001);
    profile.deliver(mailtest::LetterWithAttachments("a%5Cb%01c%0D.txt"), 1002);
    const Outcome o = read(inner);
    ASSERT_EQ(o.result, QString());
    ASSERT_EQ(o.count, 3);
    QStringList names;
    for (const EmailLetter& l : o.letters) {
        ASSERT_EQ(l.Message.Flags, 0);
        EXPECT_EQ(QFileInfo(l.Attachments.at(0).PathName).absolutePath(), QDir::cleanPath(inner));
        names << QFileInfo(l.Attachments.at(0).PathName).fileName();
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("escaped.txt"), QStringLiteral("absolute.txt"),
                                  QStringLiteral("bc.txt")}));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("escaped.txt")));
}

TEST_F(LocalStore, ALinkInTheFolderIsNeverFollowed)
{
    connect();
    QTemporaryDir elsewhere;
    const QString target = elsewhere.path() + QStringLiteral("/victim");
    ASSERT_TRUE(QFile::link(target, folder + QStringLiteral("report.pdf")));
    profile.deliver(mailtest::LetterWithAttachments(), 1000);
    const Outcome o = read(folder);
    ASSERT_EQ(o.count, 1);
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(o.letters.at(0).Attachments.at(0).PathName, folder + QStringLiteral("report.pdf.1"));
}

class LocalSend : public LocalStore {
protected:
    void SetUp() override
    {
        LocalStore::SetUp();
        profile.writeAddressBook({QStringLiteral("Bob Brown <bob@example.org>"),
                                  QStringLiteral("\"Twin\" <twin1@example.org>"),
                                  QStringLiteral("twin <twin2@example.org>"), QStringLiteral("# a comment")});
    }
    void useStub(const SendmailStub& stub)
    {
        profile.writeProfileIni({QStringLiteral("From=Ann Lee <ann@example.org>"),
                                 QStringLiteral("Sendmail=") + stub.commandLine()});
        connect();
    }
    QString send(QList<MapiRecip> to, const QString& subject = QStringLiteral("Hi"),
                 const QString& body = QStringLiteral("Body"))
    {
        MAPIMessage m;
        m.Subject = subject;
        m.NoteText = body;
        m.RecipCount = static_cast<qint32>(to.size());
        const QString started = smapi.Send(to, m);
        if (!started.isEmpty())
            return started;
        SMAPI::SendState s;
        mailtest::WaitFor([&] {
            s = smapi.PollSend();
            return !s.inProcess;
        });
        EXPECT_FALSE(s.inProcess);
        return s.result;
    }
    // The To header of what the stub received, decoded.
    static QString ToHeader(const QByteArray& letter)
    {
        EnsureGMime();
        GMimeStream* stream = g_mime_stream_mem_new_with_buffer(letter.constData(), static_cast<size_t>(letter.size()));
        GMimeParser* parser = g_mime_parser_new_with_stream(stream);
        GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
        QString out;
        if (message) {
            char* to = internet_address_list_to_string(g_mime_message_get_to(message), nullptr, FALSE);
            out = QString::fromUtf8(to);
            g_free(to);
            g_object_unref(message);
        }
        g_object_unref(parser);
        g_object_unref(stream);
        return out;
    }
};

TEST_F(LocalSend, AGivenAddressIsUsedAsItIsEvenWhenTheNameIsInTheBook)
{
    SendmailStub stub;
    useStub(stub);
    ASSERT_EQ(send({To(QStringLiteral("Bob Brown"), QStringLiteral("robert@other.org"))}), QString());
    ASSERT_TRUE(stub.ran());
    // -t: the addresses are in the letter, never on the command line.
    EXPECT_EQ(stub.arguments(), (QStringList{QStringLiteral("-t"), QStringLiteral("-i")}));
    EXPECT_EQ(ToHeader(stub.input()), QStringLiteral("Bob Brown <robert@other.org>"));
    EXPECT_TRUE(stub.input().contains("From: Ann Lee <ann@example.org>"));
}

TEST_F(LocalSend, AnEmptyAddressIsResolvedInTheAddressBook)
{
    SendmailStub stub;
    useStub(stub);
    ASSERT_EQ(send({To(QStringLiteral("bob brown"), QString())}), QString());
    EXPECT_EQ(ToHeader(stub.input()), QStringLiteral("Bob Brown <bob@example.org>"));
}

TEST_F(LocalSend, UnknownAndAmbiguousNamesSendNothing)
{
    SendmailStub stub;
    useStub(stub);
    EXPECT_EQ(send({To(QStringLiteral("Bob Brown"), QStringLiteral("b@x.org")),
                    To(QStringLiteral("Nobody"), QString())}),
              QStringLiteral("MAPI error (14)"));
    EXPECT_EQ(send({To(QStringLiteral("Twin"), QString())}), QStringLiteral("MAPI error (21)"));
    EXPECT_EQ(send({To(QStringLiteral("Evil"), QStringLiteral("x@y.org\r\nBcc: z@w.org"))}),
              QStringLiteral("MAPI error (14)"));
    EXPECT_FALSE(stub.ran());
}

TEST_F(LocalSend, AFailingSubmissionCommandIsAFailure)
{
    SendmailStub stub(75);
    useStub(stub);
    EXPECT_EQ(send({To(QStringLiteral("Bob"), QStringLiteral("bob@example.org"))}), QStringLiteral("MAPI error (2)"));
    EXPECT_TRUE(stub.ran());
}

TEST_F(LocalSend, AMissingSubmissionCommandIsAFailure)
{
    profile.writeProfileIni({QStringLiteral("Sendmail=/nonexistent/sendmail -t -i")});
    connect();
    EXPECT_EQ(send({To(QStringLiteral("Bob"), QStringLiteral("bob@example.org"))}), QStringLiteral("MAPI error (2)"));
}

TEST_F(LocalSend, AHangingSubmissionIsRunningUntilAborted)
{
    SendmailStub stub(-1);
    useStub(stub);
    MAPIMessage m;
    m.RecipCount = 1;
    QList<MapiRecip> to{To(QStringLiteral("Bob"), QStringLiteral("bob@example.org"))};
    ASSERT_EQ(smapi.Send(to, m), QString());
    ASSERT_TRUE(mailtest::WaitFor([&] { return stub.ran(); }));
    EXPECT_TRUE(smapi.PollSend().inProcess);
    smapi.AbortSend(QStringLiteral("cut"));
    EXPECT_FALSE(smapi.PollSend().inProcess);
    EXPECT_EQ(smapi.PollSend().result, QStringLiteral("cut"));
    // Nothing waited for the killed command; the event loop lets it go.
    EXPECT_TRUE(mailtest::WaitFor([] { return LocalMailStore::ProcessesBeingEnded() == 0; }));
}

TEST(MapiHelpers, TrimAtNull)
{
    EXPECT_EQ(TrimAtNull(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(TrimAtNull(QString(QChar(0)) + QStringLiteral("abc")), QString());
    EXPECT_EQ(TrimAtNull(QStringLiteral("ab") + QChar(0) + QStringLiteral("c")), QStringLiteral("ab"));
}

TEST(MapiHelpers, EnsureTrailingSlash)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"/home/ann/Mail  ", "/home/ann/Mail/"}, {"/home/ann/Mail/", "/home/ann/Mail/"},
                 {"C:\\Mail\\", "C:\\Mail\\"}, {"", "/"}};
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(c.in);
        EnsureTrailingSlash(text);
        EXPECT_EQ(text, QString::fromUtf8(c.out)) << c.in;
    }
}

}  // namespace
