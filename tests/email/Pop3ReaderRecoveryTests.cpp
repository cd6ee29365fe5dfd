// The POP3 reader against servers and folders that fail it: nothing may be
// lost, nothing left behind, no read may run for ever, no letter may fill
// the memory.
#include "MailTestLetters.h"
#include "Pop3ScriptServer.h"
#include "support/DovecotServer.h"
#include "support/FileSizeLimit.h"

#include "email/Pop3Reader.h"
#include "platform/Clock.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include <sys/resource.h>

using namespace quenby;
using mailtest::Pop3ScriptServer;
using mailtest::WaitFor;

namespace {

#ifdef __SANITIZE_ADDRESS__
// The sanitizer holds freed blocks back (256 MB by default) before reuse.
constexpr qint64 kAllocatorSlack = 256LL * 1024 * 1024;
#else
constexpr qint64 kAllocatorSlack = 0;
#endif

ServerInfo Account(quint16 port, long timeoutS = 30)
{
    ServerInfo s;
    s.ServerAddress = QStringLiteral("127.0.0.1");
    s.ServerPort = port;
    s.Timeout = timeoutS;
    s.LogonName = QStringLiteral("ann");
    s.LogonPassword = QStringLiteral("s3cret");
    return s;
}

class Pop3Recovery : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(script.port(), 0);
        ASSERT_TRUE(attachments.isValid());
        folder = attachments.path() + QLatin1Char('/');
        reader.ConnectPOP3(Account(script.port()));
        reader.SetLeftLetters(left);
    }

    struct Outcome {
        QString error;
        int count = -1;
        QList<EmailLetter> letters;
    };
    Outcome read(int maxSize = 0)
    {
        Outcome out;
        EXPECT_EQ(reader.Read(maxSize, folder), QString());
        EXPECT_TRUE(WaitFor([&] { return reader.ReadCompleted(); }, 20000, &script));
        out.error = reader.ReadError();
        if (out.error.isEmpty())
            reader.GetReadMessages(out.count, out.letters);
        return out;
    }
    QStringList files() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    platform::FakeClock clock;
    Pop3ScriptServer script;
    QTemporaryDir attachments;
    QString folder;
    std::shared_ptr<LeftLetters> left = std::make_shared<LeftLetters>();
    Pop3Reader reader;
};

}  // namespace

TEST_F(Pop3Recovery, AFailedSessionLeavesNoFilesAndTheNextWritesThemOnce)
{
    struct Case {
        const char* name;
        std::function<bool(const QByteArray&, Pop3ScriptServer::Answer&)> failure;
    };
    const Case cases[] = {
        {"second letter cut",
         [](const QByteArray& c, Pop3ScriptServer::Answer& a) {
             if (c != "TOP 2 0")
                 return false;
             a.pieces = {"+OK\r\nFrom: x@example.org\r\n"};
             a.close = true;
             return true;
         }},
        {"DELE answered by a closed line",
         [](const QByteArray& c, Pop3ScriptServer::Answer& a) {
             a.close = c.startsWith("DELE");
             return a.close;
         }},
        {"TOP refused",
         [](const QByteArray& c, Pop3ScriptServer::Answer& a) {
             if (!c.startsWith("TOP"))
                 return false;
             a.pieces = {"-ERR no TOP here\r\n"};
             return true;
         }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        for (const QString& f : files())
            QFile::remove(folder + f);
        left->clear();
        script.setLetters({mailtest::LetterWithAttachments(), mailtest::BigLetter(5000)});
        script.setOverride(k.failure);
        Outcome r = read(4000);
        EXPECT_TRUE(r.error.startsWith(QStringLiteral("POP3 Error: "))) << r.error.toStdString();
        EXPECT_EQ(files(), QStringList());

        script.setOverride({});
        r = read(4000);
        ASSERT_EQ(r.error, QString());
        ASSERT_EQ(r.count, 2);
        ASSERT_EQ(r.letters.at(0).Attachments.size(), 2);
        EXPECT_EQ(r.letters.at(0).Attachments.at(0).PathName, folder + QStringLiteral("report.pdf"));
        EXPECT_EQ(files().size(), 2) << files().join(u' ').toStdString();
    }
}

TEST_F(Pop3Recovery, ALetterTheServerWillNotDeleteIsHandedOutOnce)
{
    script.setLetters({mailtest::LetterWithAttachments(), mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& c, Pop3ScriptServer::Answer& a) {
        if (c != "DELE 1")
            return false;
        a.pieces = {"-ERR mailbox is read-only\r\n"};
        return true;
    });
    int handedOut = 0;
    for (int poll = 0; poll < 5; ++poll) {
        SCOPED_TRACE(poll);
        const Outcome r = read();
        ASSERT_EQ(r.error, QString());
        for (const EmailLetter& l : r.letters)
            handedOut += l.Message.Subject == QStringLiteral("Figures") ? 1 : 0;
        // The second letter goes as usual (the script's mailbox keeps it).
        EXPECT_GE(r.count, 1);
    }
    EXPECT_EQ(handedOut, 1);
    EXPECT_EQ(files().size(), 2) << files().join(u' ').toStdString();
}

TEST_F(Pop3Recovery, ARefusedDeletionIsAskedAgainAndTheLetterForgottenOnceDone)
{
    script.setLetters({mailtest::LetterWithAttachments(), mailtest::BigLetter(5000)});
    bool refuse = true;
    script.setOverride([&](const QByteArray& c, Pop3ScriptServer::Answer& a) {
        if (!refuse || c != "DELE 1")
            return false;
        a.pieces = {"-ERR mailbox is busy\r\n"};
        return true;
    });
    Outcome r = read(4000);
    ASSERT_EQ(r.error, QString());
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ(r.letters.at(0).Message.Subject, QStringLiteral("Figures"));
    EXPECT_EQ(*left, (LeftLetters{{QStringLiteral("uid-1"), LeftLetter::Undeleted},
                                  {QStringLiteral("uid-2"), LeftLetter::TooBig}}));

    // Deleted now without being handed out again; the big one is still skipped.
    refuse = false;
    r = read(4000);
    ASSERT_EQ(r.error, QString());
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(script.committedDeletions(), QList<int>{1});
    EXPECT_EQ(*left, (LeftLetters{{QStringLiteral("uid-2"), LeftLetter::TooBig}}));
    EXPECT_EQ(files().size(), 2) << files().join(u' ').toStdString();

    // Gone from the server, the big letter is forgotten too.
    script.setLetters({});
    r = read(4000);
    ASSERT_EQ(r.error, QString());
    EXPECT_TRUE(left->isEmpty());
}

TEST_F(Pop3Recovery, AUidlReplyThatDoesNotTellTheLetterAskedIsNotTrusted)
{
    struct Case {
        const char* name;
        LeftLetter remembered;  // letter 1, "uid-1"
        QByteArray secondUidl;  // the answer to "UIDL 2"
    };
    const Case cases[] = {
        {"another letter's number, refused deletion", LeftLetter::Undeleted, "+OK 1 uid-1\r\n"},
        {"another letter's number, too big", LeftLetter::TooBig, "+OK 1 uid-1\r\n"},
        {"letter 1's UIDL again", LeftLetter::Undeleted, "+OK 2 uid-1\r\n"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        *left = LeftLetters{{QStringLiteral("uid-1"), k.remembered}};
        script.setLetters({mailtest::BigLetter(5000), mailtest::PlainLetter()});
        const qsizetype before = script.commands().size();
        script.setOverride([&](const QByteArray& c, Pop3ScriptServer::Answer& a) {
            if (c != "UIDL 2")
                return false;
            a.pieces = {k.secondUidl};
            return true;
        });
        const Outcome r = read(4000);
        ASSERT_EQ(r.error, QString());
        // Letter 2 is new: read and handed out before it is deleted.
        ASSERT_EQ(r.count, 1);
        EXPECT_EQ(r.letters.at(0).Message.Subject, QString::fromUtf8("Äpfel"));
        const QList<QByteArray> session = script.commands().mid(before);
        EXPECT_LT(session.indexOf("RETR 2"), session.indexOf("DELE 2"));
        EXPECT_GE(session.indexOf("RETR 2"), 0);
        EXPECT_FALSE(session.contains("RETR 1"));
    }
}

TEST_F(Pop3Recovery, RememberedLettersStayBoundedWhenALetterHasNoUidl)
{
    // Each read finds a letter the server will not delete, one without a
    // UIDL and twenty big ones, which someone else takes before the next.
    QList<QByteArray> uids;
    script.setOverride([&](const QByteArray& c, Pop3ScriptServer::Answer& a) {
        if (c == "DELE 1") {
            a.pieces = {"-ERR mailbox is read-only\r\n"};
            return true;
        }
        if (!c.startsWith("UIDL "))
            return false;
        const int n = c.mid(5).toInt();
        const QByteArray uid = uids.value(n - 1);
        a.pieces = {uid.isEmpty() ? QByteArray("-ERR no UIDL for it\r\n")
                                  : "+OK " + QByteArray::number(n) + " " + uid + "\r\n"};
        return true;
    });
    const auto big = [](int poll, int i) { return QStringLiteral("big-%1-%2").arg(poll).arg(i); };
    // The letters of one read and the margin.
    const qsizetype bound = 22 + Pop3Reader::kLeftMargin;
    for (int poll = 1; poll <= 6; ++poll) {
        SCOPED_TRACE(poll);
        QList<QByteArray> letters{mailtest::PlainLetter(), mailtest::PlainLetter()};
        uids = {"kept", ""};
        for (int i = 1; i <= 20; ++i) {
            letters << mailtest::BigLetter(5000);
            uids << big(poll, i).toLatin1();
        }
        script.setLetters(letters);
        const Outcome r = read(4000);
        ASSERT_EQ(r.error, QString());
        EXPECT_EQ(r.count, poll == 1 ? 22 : 21);
        EXPECT_EQ(left->size(), std::min<qsizetype>(1 + 20 * poll, bound));
        EXPECT_EQ(left->value(QStringLiteral("kept")), LeftLetter::Undeleted);
        EXPECT_TRUE(left->contains(big(poll, 1)));
        // Of the letters gone, the oldest are dropped first.
        if (poll > 1) {
            EXPECT_TRUE(left->contains(big(poll - 1, 20)));
            EXPECT_FALSE(left->contains(big(poll - 1, 1)));
        }
        EXPECT_FALSE(left->contains(big(poll - 2, 20)));
    }

    // A read that tells every letter forgets all the others.
    script.setLetters({mailtest::PlainLetter(), mailtest::PlainLetter()});
    uids = {"kept", "plain"};
    const Outcome r = read(4000);
    ASSERT_EQ(r.error, QString());
    EXPECT_EQ(*left, (LeftLetters{{QStringLiteral("kept"), LeftLetter::Undeleted}}));
}

TEST_F(Pop3Recovery, AnEndlessReplyEndsTheReadWithNothingDeleted)
{
    struct Case {
        const char* name;
        int maxSize;
        QByteArray command;
        QByteArray listSize;
        QByteArray status;
        QByteArray endless;
        QString error;
        qint64 bound;
    };
    QByteArray lines;
    while (lines.size() < 16 * 1024)
        lines += "X-Filler: " + QByteArray(70, 'x') + "\r\n";
    const QByteArray noLineEnd(16 * 1024, 'x');
    // A lowered cap, so that the letter case need not stream 256 MB.
    reader.SetLetterCap(2 * 1024 * 1024);
    const Case cases[] = {
        // A terabyte is over any limit: only the headers are asked for.
        {"headers", 4000, "TOP 1 0", "1099511627776", "+OK\r\n", lines,
         QStringLiteral("POP3 Error: the headers of letter 1 are longer than 1048576 bytes"), 1 << 20},
        {"letter", 0, "RETR 1", "1500000", "+OK\r\n", lines,
         QStringLiteral("POP3 Error: letter 1 is longer than the 2097152 bytes a letter may have"), 3 << 20},
        {"single line", 0, "UIDL 1", "250", "+OK 1 ", noLineEnd,
         QStringLiteral("POP3 Error: +OK 1 ") + QString(194, u'x'), 64 << 10},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        script.setLetters({mailtest::PlainLetter()});
        script.setOverride([&](const QByteArray& c, Pop3ScriptServer::Answer& a) {
            if (c == "LIST 1")
                a.pieces = {"+OK 1 " + k.listSize + "\r\n"};
            else if (c == k.command)
                a = {{k.status}, false, false, k.endless};
            else
                return false;
            return true;
        });
        const Outcome r = read(k.maxSize);
        EXPECT_EQ(r.error, k.error) << r.error.toStdString();
        // The server was still streaming: the reader stopped taking it in.
        EXPECT_LT(reader.ReceivedBytes(), k.bound + (1 << 20));
        EXPECT_FALSE(script.received("DELE"));
        EXPECT_TRUE(script.committedDeletions().isEmpty());
    }
}

TEST_F(Pop3Recovery, ATricklingServerEndsAtTheSessionsDeadline)
{
    script.setLetters({mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& c, Pop3ScriptServer::Answer& a) {
        if (c != "RETR 1")
            return false;
        a.pieces = {"+OK here it comes\r\n"};
        return true;
    });
    ASSERT_EQ(reader.Read(0, folder), QString());
    ASSERT_TRUE(WaitFor([&] { return script.received("RETR"); }, 10000, &script));
    ASSERT_TRUE(WaitFor([&] { return reader.ReceivedBytes() > 0 && reader.state() == Pop3Reader::Retr; }, 10000,
                        &script));

    // A byte every 5 seconds: never idle, yet the session may take only the
    // account's 30 seconds for the logon and 30 for the one letter.
    for (int second = 5; second <= 70; second += 5) {
        SCOPED_TRACE(second);
        clock.advance(5000);
        const qint64 before = reader.ReceivedBytes();
        script.sendNow("x");
        ASSERT_TRUE(WaitFor([&] { return reader.ReceivedBytes() > before; }, 10000, &script));
        EXPECT_EQ(reader.Timeout(), second > 60);
    }
    // What the read command does at its time-out: cut, without QUIT.
    reader.Abort();
    EXPECT_FALSE(script.received("DELE"));
    EXPECT_FALSE(script.received("QUIT"));
    EXPECT_TRUE(script.committedDeletions().isEmpty());
}

TEST_F(Pop3Recovery, ASessionEndsWithinHalfAnHourWhateverTheTimeOut)
{
    reader.ConnectPOP3(Account(script.port(), 100000));
    script.setLetters({mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& c, Pop3ScriptServer::Answer& a) {
        a.silent = c == "STAT";
        return a.silent;
    });
    ASSERT_EQ(reader.Read(0, folder), QString());
    ASSERT_TRUE(WaitFor([&] { return script.received("STAT"); }, 10000, &script));
    clock.advance(30 * 60 * 1000);
    EXPECT_FALSE(reader.Timeout());
    clock.advance(1);
    EXPECT_TRUE(reader.Timeout());
    reader.Abort();
}

TEST_F(Pop3Recovery, ALetterLeftForAFullFolderArrivesAtTheNextRead)
{
    script.setLetters({mailtest::LetterWithAttachments()});
    Outcome r;
    {
        // Room for a few bytes: the first attachment cannot be written whole.
        testsupport::FileSizeLimit full(8);
        r = read();
    }
    ASSERT_EQ(r.error, QString());
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.letters.at(0).Message.Flags, 2048);
    EXPECT_FALSE(script.received("DELE"));
    EXPECT_EQ(files(), QStringList());

    r = read();
    ASSERT_EQ(r.error, QString());
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.letters.at(0).Message.Flags, 0);
    EXPECT_EQ(r.letters.at(0).Attachments.size(), 2);
    EXPECT_EQ(script.committedDeletions(), QList<int>{1});
}

TEST_F(Pop3Recovery, ALetterOverTheHardCapStaysOnTheServer)
{
    script.setLetters({mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& c, Pop3ScriptServer::Answer& a) {
        if (c != "LIST 1")
            return false;
        a.pieces = {"+OK 1 300000000\r\n"};
        return true;
    });
    const Outcome r = read(0);
    ASSERT_EQ(r.error, QString());
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.letters.at(0).Message.Flags, 64);
    EXPECT_EQ(r.letters.at(0).Message.NoteText,
              QStringLiteral("{The message was not loaded because its size (300000000 bytes) exceedes the limit. "
                             "It was left in the mail server.}"));
    EXPECT_FALSE(script.received("RETR"));
    EXPECT_TRUE(script.committedDeletions().isEmpty());
}

// The server is Dovecot, in a process of its own, so the rise of this
// process's peak resident size is the reader's alone.
TEST(Pop3Memory, AFiftyMegabyteLetterWithoutALimitStaysUnderItsBound)
{
    platform::FakeClock clock;
    testsupport::DovecotServer server;
    QString error;
    ASSERT_TRUE(server.start(&error)) << error.toStdString();
    QTemporaryDir attachments;
    ASSERT_TRUE(attachments.isValid());

    // 50 MB: a body and one attachment of 36 MB (48 MB in base64).
    constexpr qsizetype kLetter = 50 * 1024 * 1024;
    QByteArray letter = "From: big@example.org\nSubject: Fifty\nMIME-Version: 1.0\n"
                        "Content-Type: multipart/mixed; boundary=\"B\"\n\n--B\nContent-Type: text/plain\n\n";
    while (letter.size() < kLetter / 25)
        letter += "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor.\n";
    letter += "--B\nContent-Type: application/octet-stream\nContent-Disposition: attachment; filename=\"big.bin\"\n"
              "Content-Transfer-Encoding: base64\n\n";
    const QByteArray line = QByteArray(57, '\x5A').toBase64() + '\n';
    while (letter.size() < kLetter - 200)
        letter += line;
    letter += "--B--\n";
    server.dropLetter(letter);
    const qsizetype size = letter.size();
    letter = QByteArray();

    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    {
        Pop3Reader reader;
        reader.ConnectPOP3(Account(server.port()));
        ASSERT_EQ(reader.Read(0, attachments.path()), QString());
        ASSERT_TRUE(WaitFor([&] { return reader.ReadCompleted(); }, 110000));
        ASSERT_EQ(reader.ReadError(), QString());
        int count = 0;
        QList<EmailLetter> letters;
        reader.GetReadMessages(count, letters);
        ASSERT_EQ(count, 1);
        ASSERT_EQ(letters.at(0).Attachments.size(), 1);
        EXPECT_GT(QFileInfo(letters.at(0).Attachments.at(0).PathName).size(), 35 * 1024 * 1024);
    }
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    // ru_maxrss is in kilobytes. The bound: four times the letter, which
    // covers the letter as received, the parser's copy and the decoded
    // attachment; held as it streamed, with copies, it took more.
    const qint64 rise = qint64(after.ru_maxrss - before.ru_maxrss) * 1024;
    std::printf("peak resident size rose by %lld MB for a %lld MB letter\n", rise >> 20, qint64(size) >> 20);
    EXPECT_LT(rise, 4 * qint64(size) + kAllocatorSlack);
}
