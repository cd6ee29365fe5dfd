// The POP3 reader against Dovecot on loopback, and against a scripted server
// for what Dovecot will not do.
#include "MailTestLetters.h"
#include "Pop3ScriptServer.h"
#include "support/DovecotServer.h"
#include "support/MailTestHelpers.h"

#include "email/Pop3Reader.h"
#include "platform/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quenby;
using mailtest::FileBytes;
using mailtest::Lf;
using mailtest::Pop3ScriptServer;
using mailtest::WaitFor;

namespace {

ServerInfo Account(quint16 port, const QString& user = QStringLiteral("ann"),
                   const QString& password = QStringLiteral("s3cret"))
{
    ServerInfo s;
    s.ServerAddress = QStringLiteral("127.0.0.1");
    s.ServerPort = port;
    s.Timeout = 30;
    s.LogonName = user;
    s.LogonPassword = password;
    s.Interval = 5;
    return s;
}

struct ReadOutcome {
    bool completed = false;
    QString error;
    int count = -1;
    QList<EmailLetter> letters;
};

ReadOutcome RunRead(Pop3Reader& reader, int maxSize, const QString& folder, Pop3ScriptServer* script = nullptr)
{
    ReadOutcome out;
    EXPECT_EQ(reader.Read(maxSize, folder), QString());
    out.completed = WaitFor([&] { return reader.ReadCompleted(); }, 20000, script);
    out.error = reader.ReadError();
    if (out.completed && out.error.isEmpty()) {
        EXPECT_EQ(reader.GetReadMessages(out.count, out.letters), QString());
    }
    return out;
}

class ScriptedPop3Folder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(script.port(), 0);
        ASSERT_TRUE(attachments.isValid());
        reader.ConnectPOP3(Account(script.port()));
    }
    platform::FakeClock clock;
    Pop3ScriptServer script;
    QTemporaryDir attachments;
    Pop3Reader reader;
};

class DovecotPop3 : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(server.start(&error)) << error.toStdString();
        ASSERT_TRUE(attachments.isValid());
        folder = attachments.path() + QLatin1Char('/');
        reader.ConnectPOP3(Account(server.port()));
        reader.SetLeftLetters(left);
    }

    platform::FakeClock clock;
    testsupport::DovecotServer server;
    QTemporaryDir attachments;
    QString folder;
    std::shared_ptr<LeftLetters> left = std::make_shared<LeftLetters>();
    Pop3Reader reader;
};

TEST_F(DovecotPop3, EmptyMailboxCompletesWithNoLetters)
{
    const ReadOutcome r = RunRead(reader, 0, folder);
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.count, 0);
    EXPECT_TRUE(r.letters.isEmpty());
}

TEST_F(DovecotPop3, ReadsLettersSavesAttachmentsAndLeavesTheBigOneOnce)
{
    platform::FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 7)));
    // A file of the attachment's name is already there: the new one gets ".1".
    {
        QFile existing(folder + QStringLiteral("report.pdf"));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("old");
    }
    server.dropLetter(mailtest::PlainLetter());
    server.dropLetter(mailtest::LetterWithAttachments());
    const QString big = server.dropLetter(mailtest::BigLetter(5000));

    ReadOutcome r = RunRead(reader, 4000, folder);
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.error, QString());
    ASSERT_EQ(r.count, 3);
    ASSERT_EQ(r.letters.size(), 3);

    const EmailLetter& plain = r.letters.at(0);
    EXPECT_EQ(plain.Originator.Name, QStringLiteral("Ann Lee"));
    EXPECT_EQ(plain.Originator.Address, QStringLiteral("ann@example.org"));
    EXPECT_EQ(plain.Message.Subject, QString::fromUtf8("Äpfel"));
    // The server's added dots are gone, the letter's own are kept.
    EXPECT_EQ(Lf(plain.Message.NoteText), QStringLiteral("Hello\n.hidden line\n..two dots\nBye\n"));
    EXPECT_EQ(plain.Message.Flags, 0);
    EXPECT_EQ(plain.Message.FileCount, 0);
    EXPECT_TRUE(plain.Message.DateReceived.isEmpty());
    EXPECT_TRUE(plain.Message.MessageType.isEmpty());

    const EmailLetter& withFiles = r.letters.at(1);
    EXPECT_EQ(withFiles.Originator.Name, QStringLiteral("Carl"));
    // The line end before a boundary belongs to the boundary.
    EXPECT_EQ(Lf(withFiles.Message.NoteText), QStringLiteral("See attached."));
    EXPECT_EQ(withFiles.Message.Flags, 0);
    ASSERT_EQ(withFiles.Message.FileCount, 2);
    ASSERT_EQ(withFiles.Attachments.size(), 2);
    EXPECT_EQ(withFiles.Attachments.at(0).PathName, folder + QStringLiteral("report.pdf.1"));
    EXPECT_EQ(FileBytes(withFiles.Attachments.at(0).PathName), mailtest::PdfBytes());
    EXPECT_TRUE(withFiles.Attachments.at(0).FileName.isEmpty());
    const QString nameless = QFileInfo(withFiles.Attachments.at(1).PathName).fileName();
    EXPECT_EQ(nameless, QStringLiteral("Attachment_20261209140507.tmp"));
    EXPECT_EQ(FileBytes(withFiles.Attachments.at(1).PathName), mailtest::NamelessBytes());
    EXPECT_EQ(FileBytes(folder + QStringLiteral("report.pdf")), QByteArray("old"));

    const EmailLetter& tooBig = r.letters.at(2);
    EXPECT_EQ(tooBig.Message.Subject, QStringLiteral("Big one"));
    EXPECT_EQ(tooBig.Originator.Address, QStringLiteral("big@example.org"));
    EXPECT_EQ(tooBig.Message.Flags, 64);
    EXPECT_TRUE(tooBig.Message.NoteText.startsWith(QStringLiteral("{The message was not loaded because its size (")));
    EXPECT_TRUE(tooBig.Message.NoteText.endsWith(
        QStringLiteral(" bytes) exceedes the limit. It was left in the mail server.}")));
    EXPECT_TRUE(tooBig.Attachments.isEmpty());

    // Only the big letter stays on the server.
    EXPECT_EQ(server.letters(), QStringList{big});

    // Handed out once: the next read skips it, and it stays.
    r = RunRead(reader, 4000, folder);
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(server.letters(), QStringList{big});
}

TEST_F(DovecotPop3, WithoutALimitTheBigLetterIsFetchedAndDeleted)
{
    server.dropLetter(mailtest::BigLetter(5000));
    const ReadOutcome r = RunRead(reader, 0, folder);
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.letters.at(0).Message.Flags, 0);
    EXPECT_TRUE(r.letters.at(0).Message.NoteText.startsWith(QStringLiteral("0123456789")));
    EXPECT_TRUE(server.letters().isEmpty());
}

TEST_F(DovecotPop3, NoAttachmentsFolderLeavesTheLetterWithANote)
{
    const QString name = server.dropLetter(mailtest::LetterWithAttachments());
    ReadOutcome r = RunRead(reader, 0, QString());
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.count, 1);
    const EmailLetter& l = r.letters.at(0);
    EXPECT_EQ(l.Message.Flags, 2048);
    EXPECT_EQ(l.Message.FileCount, 2);
    EXPECT_TRUE(l.Attachments.isEmpty());
    EXPECT_EQ(Lf(l.Message.NoteText),
              QStringLiteral("See attached.\n{While loading attachments an error occured: Folder for saving "
                             "attachments is not set. The message was left in the mail server.}"));
    EXPECT_EQ(server.letters(), QStringList{name});

    // A local failure is not a reason to skip the letter: once the folder
    // is set, the next read delivers it.
    r = RunRead(reader, 0, folder);
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.letters.at(0).Message.Flags, 0);
    EXPECT_EQ(r.letters.at(0).Attachments.size(), 2);
    EXPECT_TRUE(server.letters().isEmpty());
}

TEST_F(DovecotPop3, AttachmentNamesCannotLeaveTheFolder)
{
    platform::FakeClock clock;
    clock.setNow(QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5)));
    QDir(attachments.path()).mkdir(QStringLiteral("in"));
    const QString inner = folder + QStringLiteral("in/");
    server.dropLetter(mailtest::LetterWithAttachments("..%2F..%2Fescaped.txt"));
    server.dropLetter(mailtest::LetterWithAttachments("%2Fabsolute.txt"));
    server.dropLetter(mailtest::LetterWithAttachments("bad%01%0Aname.txt"));
    server.dropLetter(mailtest::LetterWithAttachments(".."));

    const ReadOutcome r = RunRead(reader, 0, inner);
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.error, QString());
    ASSERT_EQ(r.count, 4);
    QStringList names;
    for (const EmailLetter& l : r.letters) {
        ASSERT_EQ(l.Attachments.size(), 2);
        const QString path = l.Attachments.at(0).PathName;
        EXPECT_EQ(QFileInfo(path).absolutePath(), QDir::cleanPath(inner)) << path.toStdString();
        EXPECT_EQ(FileBytes(path), mailtest::PdfBytes());
        names << QFileInfo(path).fileName();
    }
    EXPECT_EQ(names.at(0), QStringLiteral("escaped.txt"));
    EXPECT_EQ(names.at(1), QStringLiteral("absolute.txt"));
    EXPECT_EQ(names.at(2), QStringLiteral("badname.txt"));
    // The three nameless attachments before it took the name in the same second.
    EXPECT_EQ(names.at(3), QStringLiteral("Attachment_20270102030405.tmp.3"));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("escaped.txt")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/absolute.txt")));
}

TEST_F(ScriptedPop3Folder, AFolderWithoutItsSlashStillHoldsTheFiles)
{
    script.setLetters({mailtest::LetterWithAttachments()});
    const ReadOutcome r = RunRead(reader, 0, attachments.path(), &script);
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.count, 1);
    ASSERT_EQ(r.letters.at(0).Attachments.size(), 2);
    EXPECT_EQ(r.letters.at(0).Attachments.at(0).PathName, attachments.path() + QStringLiteral("/report.pdf"));
}

TEST_F(DovecotPop3, RejectedPasswordEndsWithTheServersReply)
{
    reader.ConnectPOP3(Account(server.port(), QStringLiteral("ann"), QStringLiteral("wrong")));
    server.dropLetter(mailtest::PlainLetter());
    const ReadOutcome r = RunRead(reader, 0, folder);
    ASSERT_TRUE(r.completed);
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("POP3 Error: -ERR"))) << r.error.toStdString();
    EXPECT_TRUE(r.error.endsWith(QStringLiteral("\r\n")));
    EXPECT_EQ(server.letters().size(), 1);
}

class DovecotPop3s : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::DovecotServer::Options options;
        options.implicitTls = true;
        server = std::make_unique<testsupport::DovecotServer>(options);
        QString error;
        ASSERT_TRUE(server->start(&error)) << error.toStdString();
        ServerInfo account = Account(server->port());
        account.SSLRequired = true;
        reader.ConnectPOP3(account);
    }
    void TearDown() override { qunsetenv("PARLOVA_POP3_CAFILE"); }

    platform::FakeClock clock;
    std::unique_ptr<testsupport::DovecotServer> server;
    Pop3Reader reader;
};

TEST_F(DovecotPop3s, ImplicitTlsWithAVerifiedCertificate)
{
    qputenv("PARLOVA_POP3_CAFILE", QFile::encodeName(server->certificateFile()));
    server->dropLetter(mailtest::PlainLetter());
    const ReadOutcome r = RunRead(reader, 0, QString());
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.error, QString());
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.letters.at(0).Message.Subject, QString::fromUtf8("Äpfel"));
    EXPECT_TRUE(server->letters().isEmpty());
}

TEST_F(DovecotPop3s, AnUntrustedCertificateEndsTheSessionBeforeLogin)
{
    server->dropLetter(mailtest::PlainLetter());
    const ReadOutcome r = RunRead(reader, 0, QString());
    ASSERT_TRUE(r.completed);
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("POP3 Error: "))) << r.error.toStdString();
    EXPECT_FALSE(server->log().contains(QStringLiteral("Login: user=<ann>")));
    EXPECT_EQ(server->letters().size(), 1);
}

class ScriptedPop3 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(script.port(), 0);
        reader.ConnectPOP3(Account(script.port()));
        reader.SetLeftLetters(left);
    }
    ReadOutcome read(int maxSize = 0, const QString& folder = QString())
    {
        return RunRead(reader, maxSize, folder, &script);
    }

    platform::FakeClock clock;
    Pop3ScriptServer script;
    std::shared_ptr<LeftLetters> left = std::make_shared<LeftLetters>();
    Pop3Reader reader;
};

TEST_F(ScriptedPop3, RepliesSplitAcrossSegmentsAreJoined)
{
    script.setLetters({mailtest::PlainLetter()});
    script.setGreeting({{"+OK rea", "dy\r\n"}});
    script.setOverride([&](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        if (command == "STAT") {
            a.pieces = {"+OK 1", " 250\r", "\n"};
            return true;
        }
        if (command == "LIST 1") {
            a.pieces = {"+OK 1 ", "9", "000\r\n"};
            return true;
        }
        if (command == "RETR 1") {
            const QByteArray whole = mailtest::MultiLine("+OK", mailtest::PlainLetter());
            // Cut inside the status line and inside the terminator.
            a.pieces = {whole.left(2), whole.mid(2, 20), whole.mid(22, whole.size() - 25), whole.right(3).left(1),
                        whole.right(2)};
            return true;
        }
        return false;
    });
    // 9000 bytes is below this limit only when the size was read whole.
    const ReadOutcome r = read(10000);
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.error, QString());
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.letters.at(0).Message.Flags, 0);
    EXPECT_EQ(Lf(r.letters.at(0).Message.NoteText), QStringLiteral("Hello\n.hidden line\n..two dots\nBye\n"));
    EXPECT_EQ(script.committedDeletions(), QList<int>{1});
}

TEST_F(ScriptedPop3, ErrorToRetrEndsTheSession)
{
    script.setLetters({mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        if (command.startsWith("RETR")) {
            a.pieces = {"-ERR message locked\r\n"};
            return true;
        }
        return false;
    });
    const ReadOutcome r = read();
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.error, QStringLiteral("POP3 Error: -ERR message locked\r\n"));
    EXPECT_FALSE(script.received("DELE"));
}

TEST_F(ScriptedPop3, ALetterLeftByAFailedReadIsHandedOutByTheNext)
{
    // The big letter is fetched with TOP and left; then the session fails, so
    // nobody was told about it: the next read must hand it out, and only that
    // one.
    script.setLetters({mailtest::BigLetter(5000), mailtest::PlainLetter()});
    bool failRetr = true;
    script.setOverride([&](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        if (failRetr && command.startsWith("RETR")) {
            a.pieces = {"-ERR message locked\r\n"};
            return true;
        }
        return false;
    });
    ReadOutcome r = read(4000);
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.error, QStringLiteral("POP3 Error: -ERR message locked\r\n"));
    EXPECT_TRUE(left->isEmpty());

    failRetr = false;
    r = read(4000);
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.error, QString());
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ(r.letters.at(0).Message.Flags, 64);
    EXPECT_EQ(r.letters.at(0).Message.Subject, QStringLiteral("Big one"));

    // The plain letter is gone now; the big one is known.
    script.setLetters({mailtest::BigLetter(5000)});
    r = read(4000);
    ASSERT_TRUE(r.completed);
    ASSERT_EQ(r.error, QString());
    EXPECT_EQ(r.count, 0);
}

TEST_F(ScriptedPop3, ALetterFarLongerThanListedEndsTheSession)
{
    script.setLetters({mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        if (command.startsWith("RETR")) {
            // No end in sight: 2 MB of one line for a letter listed as ~250 bytes.
            a.pieces = {"+OK message follows\r\n", QByteArray(2 * 1024 * 1024, 'x')};
            return true;
        }
        return false;
    });
    const ReadOutcome r = read();
    ASSERT_TRUE(r.completed);
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("POP3 Error: letter 1 is longer than the "))) << r.error.toStdString();
    EXPECT_FALSE(script.received("DELE"));
}

TEST_F(ScriptedPop3, ErrorToTopEndsTheSession)
{
    script.setLetters({mailtest::BigLetter(5000)});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        if (command.startsWith("TOP")) {
            a.pieces = {"-ERR no TOP here\r\n"};
            return true;
        }
        return false;
    });
    const ReadOutcome r = read(100);
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.error, QStringLiteral("POP3 Error: -ERR no TOP here\r\n"));
}

TEST_F(ScriptedPop3, AHugeCountDoesNotMakeAHugeList)
{
    script.setLetters({mailtest::PlainLetter(), mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        if (command == "STAT") {
            a.pieces = {"+OK 99999999999999999999 1\r\n"};
            return true;
        }
        return false;
    });
    const ReadOutcome r = read();
    ASSERT_TRUE(r.completed);
    // The third letter does not exist.
    EXPECT_EQ(r.error, QStringLiteral("POP3 Error: -ERR no such message\r\n"));
    EXPECT_TRUE(script.committedDeletions().isEmpty());
}

TEST_F(ScriptedPop3, ClosingWithoutAnsweringQuitIsCompletion)
{
    script.setLetters({mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        if (command == "QUIT") {
            a.close = true;
            return true;
        }
        return false;
    });
    const ReadOutcome r = read();
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.count, 1);
}

TEST_F(ScriptedPop3, ClosingInTheMiddleIsAnError)
{
    script.setLetters({mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        if (command.startsWith("LIST")) {
            a.close = true;
            return true;
        }
        return false;
    });
    const ReadOutcome r = read();
    ASSERT_TRUE(r.completed);
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("POP3 Error: "))) << r.error.toStdString();
    EXPECT_TRUE(r.error.endsWith(QStringLiteral(" (1)"))) << r.error.toStdString();
}

TEST_F(ScriptedPop3, ServerWithoutUidlIsStillRead)
{
    script.setLetters({mailtest::PlainLetter(), mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        if (command.startsWith("UIDL")) {
            a.pieces = {"-ERR unknown command\r\n"};
            return true;
        }
        return false;
    });
    const ReadOutcome r = read();
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.count, 2);
    EXPECT_EQ(script.committedDeletions(), (QList<int>{1, 2}));
}

TEST_F(ScriptedPop3, LogonTextsCannotAddCommandLines)
{
    reader.ConnectPOP3(Account(script.port(), QStringLiteral("ann\r\nDELE 1"), QStringLiteral("pw\r\nQUIT")));
    const ReadOutcome r = read();
    ASSERT_TRUE(r.completed);
    ASSERT_GE(script.commands().size(), 2);
    EXPECT_EQ(script.commands().at(0), QByteArray("USER annDELE 1"));
    EXPECT_EQ(script.commands().at(1), QByteArray("PASS pwQUIT"));
}

TEST_F(ScriptedPop3, TimeoutCountsSecondsWithoutSocketActivity)
{
    script.setLetters({mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        a.silent = command == "STAT";
        return a.silent;
    });
    ASSERT_EQ(reader.Read(0, QString()), QString());
    int count = 0;
    QList<EmailLetter> letters;
    EXPECT_EQ(reader.GetReadMessages(count, letters), QStringLiteral("Read operation is not completed"));
    ASSERT_TRUE(WaitFor([&] { return script.received("STAT"); }, 10000, &script));
    clock.advance(30999);
    EXPECT_FALSE(reader.Timeout());
    clock.advance(1);
    EXPECT_TRUE(reader.Timeout());
    reader.Abort();
    // A reply that comes after the cut drives nothing.
    script.sendNow("+OK 1 100\r\n");
    WaitFor([&] { return !script.clientConnected(); }, 5000, &script);
    EXPECT_FALSE(script.clientConnected());
    EXPECT_FALSE(script.received("UIDL"));
    EXPECT_FALSE(reader.ReadCompleted());
}

struct FromCase {
    const char* from;
    const char* name;
    const char* address;
};

class ParseFromFieldTest : public ::testing::TestWithParam<FromCase> {};

TEST_P(ParseFromFieldTest, SplitsNameAndAddress)
{
    QString name = QStringLiteral("x");
    QString address = QStringLiteral("y");
    EXPECT_EQ(Pop3Reader::ParseFromField(name, address, QString::fromUtf8(GetParam().from)), QString());
    EXPECT_EQ(name, QString::fromUtf8(GetParam().name));
    EXPECT_EQ(address, QString::fromUtf8(GetParam().address));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ParseFromFieldTest,
    ::testing::Values(FromCase{"\"Ann Lee\" <ann@example.org>", "Ann Lee", "ann@example.org"},
                      FromCase{"ann@example.org", "", "ann@example.org"},
                      FromCase{"a@x.org, b@y.org", "", "a@x.org"},
                      FromCase{"Ann <ann@x.org>, Bob <bob@y.org>", "Ann", "ann@x.org"},
                      FromCase{"Ann Lee <ann@x.org>", "Ann Lee", "ann@x.org"}, FromCase{"no address here", "", ""},
                      FromCase{" <a@x.org>", "", "a@x.org"}, FromCase{"", "", ""}));

}  // namespace
