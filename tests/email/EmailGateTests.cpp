// The e-mail gate and its commands, driven tick by tick against real
// servers on loopback (the aiosmtpd sink, the scripted POP3 server) and the
// local mail store.
#include "MailTestLetters.h"
#include "Pop3ScriptServer.h"
#include "support/MailTestHelpers.h"
#include "support/MaildirProfile.h"
#include "support/SendmailStub.h"
#include "support/SmtpSink.h"

#include "email/CDOSYS.h"
#include "email/EmailGate.h"
#include "email/QuenbyGlobalObjs.h"
#include "email/ReadEmailCommand.h"
#include "email/SendEmailCommand.h"
#include "platform/Clock.h"
#include "platform/UserSettings.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quenby;
using mailtest::Pop3ScriptServer;

namespace {

ServerInfo Server(int port, int interval = 5)
{
    ServerInfo s;
    s.ServerAddress = QStringLiteral("127.0.0.1");
    s.ServerPort = port;
    s.Timeout = 30;
    s.LogonName = QStringLiteral("ann");
    s.LogonPassword = QStringLiteral("pw");
    s.Interval = interval;
    return s;
}

// The outgoing side of the account: the sink asks for no logon.
ServerInfo Outgoing(int port)
{
    ServerInfo s = Server(port);
    s.LogonName.clear();
    s.LogonPassword.clear();
    return s;
}

std::shared_ptr<SendEmailCommand> SendCommand(qint32 owner, const QString& subject,
                                              const QString& address = QStringLiteral("bob@example.org"))
{
    MAPIMessage m;
    m.Subject = subject;
    m.NoteText = QStringLiteral("body of ") + subject;
    m.RecipCount = 1;
    auto c = std::make_shared<SendEmailCommand>();
    c->SetUp({mailtest::To(QStringLiteral("Bob"), address)}, m, owner);
    return c;
}

class Gate : public ::testing::Test {
protected:
    void TearDown() override { qunsetenv(kServiceEnvVar); }

    // Ticks the command timer until done() (real I/O runs in between).
    bool drive(EmailGate& gate, const std::function<bool()>& done, Pop3ScriptServer* script = nullptr)
    {
        return mailtest::WaitFor(
            [&] {
                gate.CommandTick();
                return done();
            },
            20000, script);
    }
    platform::FakeClock clock;
};

TEST_F(Gate, CommandsPushedBeforeConnectRunFirstInOrder)
{
    testsupport::SmtpSink sink;
    ASSERT_TRUE(sink.started()) << sink.error().toStdString();
    Pop3ScriptServer script;
    ASSERT_NE(script.port(), 0);

    EmailGate gate;
    ASSERT_EQ(gate.ServiceType(), CDOSYS_TYPE);
    gate.Push(SendCommand(-1, QStringLiteral("one")));
    gate.Push(SendCommand(-2, QStringLiteral("two")));
    // Not ready: nothing starts.
    gate.CommandTick();
    gate.CommandTick();
    EXPECT_EQ(gate.InQueueCount(), 2);
    EXPECT_FALSE(gate.CurrentCommand());
    EXPECT_FALSE(gate.Pull());

    ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("ann@example.org"), Server(script.port()),
                           Outgoing(sink.port())),
              QString());
    EXPECT_TRUE(gate.Ready());
    EXPECT_EQ(gate.InQueueCount(), 3);
    EXPECT_EQ(gate.PollInterval(), 5);

    ASSERT_TRUE(drive(gate, [&] { return gate.OutQueueCount() == 3; }, &script));
    std::shared_ptr<EmailCommand> first = gate.Pull();
    std::shared_ptr<EmailCommand> second = gate.Pull();
    std::shared_ptr<EmailCommand> third = gate.Pull();
    EXPECT_FALSE(gate.Pull());
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->Owner(), -1);
    EXPECT_EQ(first->Result(), OK_RESULT) << first->Error().toStdString();
    EXPECT_EQ(second->Owner(), -2);
    EXPECT_EQ(second->Result(), OK_RESULT) << second->Error().toStdString();
    EXPECT_EQ(third->Owner(), 0);
    EXPECT_EQ(third->ClassName(), QStringLiteral("ReadEmailCommand"));
    EXPECT_EQ(third->Result(), OK_RESULT) << third->Error().toStdString();
    int count = -1;
    QList<EmailLetter> letters;
    EXPECT_EQ(std::static_pointer_cast<ReadEmailCommand>(third)->GetMessages(count, letters), QString());
    EXPECT_EQ(count, 0);

    const QList<testsupport::SmtpSink::Letter> got = sink.letters();
    ASSERT_EQ(got.size(), 2);
    EXPECT_TRUE(got.at(0).data.contains("Subject: one"));
    EXPECT_TRUE(got.at(1).data.contains("Subject: two"));
}

TEST_F(Gate, MinuteTicksQueueReadsOnThePollInterval)
{
    EmailGate gate;
    // Not ready: minutes are not counted.
    gate.MinuteTick();
    EXPECT_EQ(MinuteCounter(), 0);
    EXPECT_EQ(gate.InQueueCount(), 0);

    ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("ann@example.org"), Server(1, 5), Server(1)),
              QString());
    EXPECT_EQ(gate.InQueueCount(), 1);
    for (int minute = 1; minute <= 4; ++minute)
        gate.MinuteTick();
    EXPECT_EQ(gate.InQueueCount(), 1);
    gate.MinuteTick();
    EXPECT_EQ(gate.InQueueCount(), 2);
    EXPECT_EQ(MinuteCounter(), 0);
    for (int minute = 1; minute <= 5; ++minute)
        gate.MinuteTick();
    EXPECT_EQ(gate.InQueueCount(), 3);

    gate.Disconnect();
    gate.MinuteTick();
    EXPECT_EQ(gate.InQueueCount(), 3);
}

TEST_F(Gate, AnIntervalOfZeroOrOneReadsEveryMinute)
{
    for (int interval : {0, 1}) {
        EmailGate gate;
        ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(1, interval), Server(1)),
                  QString());
        gate.MinuteTick();
        gate.MinuteTick();
        EXPECT_EQ(gate.InQueueCount(), 3) << interval;
    }
}

TEST_F(Gate, ARunningReadRestartsTheMinuteCount)
{
    Pop3ScriptServer script;
    script.setLetters({mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        a.silent = command == "STAT";
        return a.silent;
    });
    EmailGate gate;
    ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(script.port(), 5), Server(1)),
              QString());
    gate.CommandTick();
    ASSERT_TRUE(mailtest::WaitFor([&] { return script.received("STAT"); }, 10000, &script));
    for (int minute = 1; minute <= 4; ++minute)
        gate.MinuteTick();
    EXPECT_EQ(MinuteCounter(), 4);
    gate.CommandTick();
    EXPECT_EQ(MinuteCounter(), 0);
    EXPECT_EQ(gate.CurrentCommand()->Result(), IN_PROCESS);
    for (int minute = 1; minute <= 4; ++minute)
        gate.MinuteTick();
    EXPECT_EQ(gate.InQueueCount(), 0);
}

// A read cut by Disconnect must not let the server delete anything.
TEST_F(Gate, DisconnectInTheMiddleOfAReadAbortsItWithoutQuit)
{
    Pop3ScriptServer script;
    script.setLetters({mailtest::PlainLetter(), mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        a.silent = command == "LIST 2";
        return a.silent;
    });
    EmailGate gate;
    ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(script.port()), Server(1)),
              QString());
    gate.CommandTick();
    ASSERT_TRUE(mailtest::WaitFor([&] { return script.received("LIST 2"); }, 10000, &script));
    EXPECT_TRUE(script.received("DELE 1"));

    EXPECT_EQ(gate.Disconnect(), QString());
    EXPECT_FALSE(gate.Ready());
    std::shared_ptr<EmailCommand> read = gate.Pull();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Result(), ABORTED_BY_USER_RESULT);
    EXPECT_EQ(read->Result(), ABORTED_BY_USER_RESULT);
    int count = -1;
    QList<EmailLetter> letters;
    std::static_pointer_cast<ReadEmailCommand>(read)->GetMessages(count, letters);
    EXPECT_EQ(count, 0);

    EXPECT_TRUE(mailtest::WaitFor([&] { return !script.clientConnected(); }, 10000, &script));
    // A late answer finds nobody listening.
    script.sendNow("+OK 2 100\r\n");
    mailtest::WaitFor([] { return false; }, 200, &script);
    EXPECT_FALSE(script.received("QUIT"));
    EXPECT_FALSE(script.received("RETR 2"));
    EXPECT_TRUE(script.committedDeletions().isEmpty());
}

// A read that ended before Disconnect has deleted its letters on the
// server: they must reach the client.
TEST_F(Gate, DisconnectAfterTheReadEndedKeepsItsLetters)
{
    Pop3ScriptServer script;
    script.setLetters({mailtest::PlainLetter()});
    EmailGate gate;
    ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(script.port()), Server(1)),
              QString());
    gate.CommandTick();
    ASSERT_TRUE(CdoService());
    ASSERT_TRUE(mailtest::WaitFor([&] { return CdoService()->ReadCompleted(); }, 10000, &script));
    EXPECT_EQ(script.committedDeletions(), QList<int>{1});

    EXPECT_EQ(gate.Disconnect(), QString());
    std::shared_ptr<EmailCommand> read = gate.Pull();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Result(), OK_RESULT);
    int count = -1;
    QList<EmailLetter> letters;
    std::static_pointer_cast<ReadEmailCommand>(read)->GetMessages(count, letters);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(letters.at(0).Message.Subject, QString::fromUtf8("Äpfel"));
}

TEST_F(Gate, DisconnectAfterTheSendEndedKeepsItsSuccess)
{
    testsupport::SmtpSink sink;
    ASSERT_TRUE(sink.started()) << sink.error().toStdString();
    EmailGate gate;
    gate.Push(SendCommand(-1, QStringLiteral("sent")));
    ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(1), Outgoing(sink.port())),
              QString());
    gate.CommandTick();
    ASSERT_TRUE(gate.CurrentCommand());
    ASSERT_TRUE(mailtest::WaitFor([&] { return !CdoService()->PollSend().inProcess; }));
    EXPECT_EQ(gate.Disconnect(), QString());
    std::shared_ptr<EmailCommand> send = gate.Pull();
    ASSERT_TRUE(send);
    EXPECT_EQ(send->Owner(), -1);
    EXPECT_EQ(send->Result(), OK_RESULT) << send->Error().toStdString();
    EXPECT_EQ(sink.letters().size(), 1);
    // The read queued by Connect waits for the next Connect.
    EXPECT_EQ(gate.InQueueCount(), 1);
}

TEST_F(Gate, DisconnectInTheMiddleOfASendAbortsIt)
{
    testsupport::SmtpSink::Options options;
    options.stall = true;
    testsupport::SmtpSink sink(options);
    ASSERT_TRUE(sink.started()) << sink.error().toStdString();
    EmailGate gate;
    gate.Push(SendCommand(-1, QStringLiteral("stuck")));
    ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(1), Outgoing(sink.port())),
              QString());
    gate.CommandTick();
    gate.CommandTick();
    ASSERT_TRUE(gate.CurrentCommand());
    EXPECT_EQ(gate.CurrentCommand()->Result(), IN_PROCESS);
    EXPECT_EQ(gate.Disconnect(), QString());
    std::shared_ptr<EmailCommand> send = gate.Pull();
    ASSERT_TRUE(send);
    EXPECT_EQ(send->Result(), ABORTED_BY_USER_RESULT);
    EXPECT_TRUE(sink.letters().isEmpty());
}

// After a time-out late replies must not go on deleting letters.
TEST_F(Gate, AReadTimeOutCutsTheSessionAtOnce)
{
    Pop3ScriptServer script;
    script.setLetters({mailtest::PlainLetter(), mailtest::PlainLetter()});
    script.setOverride([](const QByteArray& command, Pop3ScriptServer::Answer& a) {
        a.silent = command == "UIDL 2";
        return a.silent;
    });
    EmailGate gate;
    ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(script.port()), Server(1)),
              QString());
    gate.CommandTick();
    ASSERT_TRUE(mailtest::WaitFor([&] { return script.received("UIDL 2"); }, 10000, &script));
    gate.CommandTick();
    EXPECT_EQ(gate.CurrentCommand()->Result(), IN_PROCESS);
    clock.advance(31000);
    gate.CommandTick();
    ASSERT_EQ(gate.OutQueueCount(), 1);
    std::shared_ptr<EmailCommand> read = gate.Pull();
    EXPECT_EQ(read->Result(), TIME_OUT_RESULT);

    EXPECT_TRUE(mailtest::WaitFor([&] { return !script.clientConnected(); }, 10000, &script));
    script.sendNow("+OK 2 uid-2\r\n");
    mailtest::WaitFor([] { return false; }, 200, &script);
    EXPECT_FALSE(script.received("LIST 2"));
    EXPECT_FALSE(script.received("QUIT"));
    EXPECT_TRUE(script.committedDeletions().isEmpty());
}

// Letters left on the server are handed out once per account for the
// gate's life, even across a new Connect.
TEST_F(Gate, ALetterLeftOnTheServerIsHandedOutOnce)
{
    Pop3ScriptServer script;
    script.setLetters({mailtest::BigLetter(5000)});
    EmailGate gate;
    gate.SetMaxSize(4000);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(script.port()), Server(1)),
                  QString());
        ASSERT_TRUE(drive(gate, [&] { return gate.OutQueueCount() == 1; }, &script));
        std::shared_ptr<EmailCommand> read = gate.Pull();
        ASSERT_EQ(read->Result(), OK_RESULT) << read->Error().toStdString();
        int count = -1;
        QList<EmailLetter> letters;
        std::static_pointer_cast<ReadEmailCommand>(read)->GetMessages(count, letters);
        if (round == 0) {
            ASSERT_EQ(count, 1);
            EXPECT_EQ(letters.at(0).Message.Flags, 64);
            EXPECT_EQ(letters.at(0).Message.Subject, QStringLiteral("Big one"));
        } else {
            EXPECT_EQ(count, 0);
        }
        gate.Disconnect();
    }
    EXPECT_TRUE(script.committedDeletions().isEmpty());
}

// Once QUIT is out the server may have removed the letters, whatever it
// answers: they are handed out, and a later read only deletes those it kept.
TEST_F(Gate, LettersReadBeforeAFailedQuitAreHandedOutOnce)
{
    struct Case {
        const char* name;
        Pop3ScriptServer::Answer quit;
        EMC_RESULT_CODEs result;
        QString error;
    };
    const Case cases[] = {
        {"refused", {{"-ERR some deleted messages not removed\r\n"}}, ERROR_RESULT,
         QStringLiteral("POP3 Error: -ERR some deleted messages not removed\r\n")},
        {"closed unanswered", {{}, true}, OK_RESULT, QString()},
        {"never answered", {{}, false, true}, TIME_OUT_RESULT, QString()},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Pop3ScriptServer script;
        script.setLetters({mailtest::LetterWithAttachments(), mailtest::PlainLetter(), mailtest::PlainLetter()});
        bool failQuit = true;
        script.setOverride([&](const QByteArray& c, Pop3ScriptServer::Answer& a) {
            if (c == "UIDL 3") {
                a.pieces = {"-ERR no UIDL for it\r\n"};
            } else if (c == "QUIT" && failQuit) {
                a = k.quit;
                // Silence for longer than the account's time-out.
                if (a.silent)
                    clock.advance(31000);
            } else {
                return false;
            }
            return true;
        });
        QTemporaryDir folder;
        EmailGate gate;
        gate.SetAttachmentsFolder(folder.path());
        int count = -1;
        QList<EmailLetter> letters;
        QString error;
        const auto read = [&] {
            EXPECT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(script.port()), Server(1)),
                      QString());
            EXPECT_TRUE(drive(gate, [&] { return gate.OutQueueCount() == 1; }, &script));
            const std::shared_ptr<EmailCommand> command = gate.Pull();
            gate.Disconnect();
            if (!command)
                return NOT_EXECUTED_RESULT;
            std::static_pointer_cast<ReadEmailCommand>(command)->GetMessages(count, letters);
            error = command->Error();
            return command->Result();
        };
        EXPECT_EQ(read(), k.result);
        EXPECT_EQ(error, k.error);
        EXPECT_EQ(letters.isEmpty() ? QString() : letters.at(0).Message.Subject, QStringLiteral("Figures"));
        EXPECT_EQ(count, 3);

        // The server kept them all; the letter without a UIDL cannot be
        // told apart and comes again.
        failQuit = false;
        EXPECT_EQ(read(), OK_RESULT);
        EXPECT_EQ(count, 1);
        EXPECT_EQ(script.committedDeletions(), (QList<int>{1, 2, 3}));
        // The first read's attachment files stayed, and were not saved twice.
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
    }
}

TEST_F(Gate, AReadWhoseStartFailsEndsWithItsError)
{
    EmailGate gate;
    ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(1), Server(1)), QString());
    CdoService().reset();
    gate.CommandTick();
    gate.CommandTick();
    std::shared_ptr<EmailCommand> read = gate.Pull();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Result(), ERROR_RESULT);
    EXPECT_EQ(read->Error(), QStringLiteral("Object variable or With block variable not set (91)"));
}

TEST_F(Gate, AFinishedReadIsNotReadAgain)
{
    Pop3ScriptServer script;
    script.setLetters({mailtest::PlainLetter()});
    EmailGate gate;
    ASSERT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(script.port()), Server(1)),
              QString());
    ASSERT_TRUE(drive(gate, [&] { return gate.OutQueueCount() == 1; }, &script));
    auto read = std::static_pointer_cast<ReadEmailCommand>(gate.Pull());
    const int connections = script.connections();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(read->Result(), OK_RESULT);
        int count = -1;
        QList<EmailLetter> letters;
        EXPECT_EQ(read->GetMessages(count, letters), QString());
        EXPECT_EQ(count, 1);
    }
    EXPECT_EQ(script.connections(), connections);
}

TEST_F(Gate, AnUnknownServiceTypeConnectsNothing)
{
    EmailGate gate;
    SetServiceType(NOT_SUPPORTED);
    EXPECT_EQ(gate.ServiceType(), NOT_SUPPORTED);
    EXPECT_EQ(gate.Connect(QStringLiteral("Ann"), QStringLiteral("a@x.org"), Server(1), Server(1)),
              QStringLiteral("No supported email service"));
    EXPECT_FALSE(gate.Ready());
    EXPECT_EQ(gate.InQueueCount(), 0);
    EXPECT_EQ(gate.Disconnect(), QStringLiteral("No supported email service"));

    auto send = SendCommand(-1, QStringLiteral("x"));
    send->Execute();
    EXPECT_EQ(send->Result(), ERROR_RESULT);
    EXPECT_EQ(send->Error(), QStringLiteral("No supported email service"));
    ReadEmailCommand read;
    read.Execute();
    EXPECT_EQ(read.Result(), NOT_EXECUTED_RESULT);
}

TEST_F(Gate, AttachmentsFolderKeepsOnlyAnExistingFolder)
{
    QTemporaryDir dir;
    QFile file(dir.path() + QStringLiteral("/plain.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EmailGate gate;
    gate.SetAttachmentsFolder(dir.path());
    EXPECT_EQ(gate.AttachmentsFolder(), dir.path() + QLatin1Char('/'));
    gate.SetAttachmentsFolder(file.fileName());
    EXPECT_EQ(gate.AttachmentsFolder(), QString());
    gate.SetAttachmentsFolder(dir.path() + QStringLiteral("/"));
    EXPECT_EQ(gate.AttachmentsFolder(), dir.path() + QLatin1Char('/'));
    gate.SetAttachmentsFolder(dir.path() + QStringLiteral("/missing"));
    EXPECT_EQ(gate.AttachmentsFolder(), QString());
}

TEST_F(Gate, SendCommandKeepsCopiesOfItsRecipients)
{
    QList<MapiRecip> to(3);
    to[2].Name = QStringLiteral("Third");
    MAPIMessage m;
    m.Subject = QStringLiteral("S");
    SendEmailCommand c;
    c.SetUp(to, m, -7);
    to[2].Name = QStringLiteral("changed");
    EXPECT_EQ(c.RecipientsCount(), 3);
    EXPECT_EQ(c.Recipients(2).Name, QStringLiteral("Third"));
    EXPECT_EQ(c.Message().Subject, QStringLiteral("S"));
    EXPECT_EQ(c.Owner(), -7);
    EXPECT_EQ(c.Result(), NOT_EXECUTED_RESULT);
    try {
        c.Recipients(3);
        ADD_FAILURE() << "no error for an index outside the list";
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.number(), 9);
    }
}

TEST_F(Gate, TheServiceTypeIsSmtpUnlessTheLocalStoreIsChosen)
{
    const struct {
        const char* env;
        const char* setting;
        EmailServiceTypes type;
    } cases[] = {{nullptr, nullptr, CDOSYS_TYPE}, {"local", nullptr, SIMPLE_MAPI_TYPE},
                 {"2", nullptr, SIMPLE_MAPI_TYPE}, {"smtp", "local", CDOSYS_TYPE},
                 {nullptr, "local", SIMPLE_MAPI_TYPE}, {"0", nullptr, CDOSYS_TYPE}};
    for (const auto& c : cases) {
        if (c.env)
            qputenv(kServiceEnvVar, c.env);
        else
            qunsetenv(kServiceEnvVar);
        if (c.setting)
            platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Email"), QStringLiteral("Service"),
                                  QString::fromUtf8(c.setting));
        else
            platform::DeleteSetting(QStringLiteral("Parlova"), QStringLiteral("Email"), QStringLiteral("Service"));
        EXPECT_EQ(DetectServiceType(), c.type) << (c.env ? c.env : "-") << " " << (c.setting ? c.setting : "-");
    }
    platform::DeleteSetting(QStringLiteral("Parlova"), QStringLiteral("Email"), QStringLiteral("Service"));
}

TEST_F(Gate, AnOverrideOfBlanksNamesNothing)
{
    const char* env = "PARLOVA_SMTP_CAFILE";
    const QString key = QStringLiteral("SmtpCAFile");
    platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Email"), key, QStringLiteral("/etc/ca.pem"));
    qputenv(env, "  ");
    EXPECT_EQ(EmailOverride(env, key), QStringLiteral("/etc/ca.pem"));
    platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Email"), key, QStringLiteral(" "));
    EXPECT_EQ(EmailOverride(env, key), QString());
    qputenv(env, " /tmp/test-ca.pem ");
    EXPECT_EQ(EmailOverride(env, key), QStringLiteral("/tmp/test-ca.pem"));
    qunsetenv(env);
    platform::DeleteSetting(QStringLiteral("Parlova"), QStringLiteral("Email"), key);
}

TEST_F(Gate, TheLocalStoreRunsPushedSendsThenTheRead)
{
    testsupport::MaildirProfile profile;
    testsupport::SendmailStub stub;
    profile.writeProfileIni({QStringLiteral("From=ann@example.org"), QStringLiteral("Sendmail=") + stub.commandLine()});
    profile.deliver(mailtest::PlainLetter(), 1000);
    qputenv(kServiceEnvVar, "local");
    EmailGate gate;
    ASSERT_EQ(gate.ServiceType(), SIMPLE_MAPI_TYPE);
    EXPECT_EQ(gate.Connect(QStringLiteral("Nobody"), QString(), Server(0), Server(0)), QStringLiteral("3"));
    EXPECT_FALSE(gate.Ready());

    profile.writeAddressBook({QStringLiteral("Bob <bob@example.org>")});
    gate.Push(SendCommand(-3, QStringLiteral("local")));
    // A name alone is resolved in the address book, and the command then
    // holds the address it went to (the client logs it).
    gate.Push(SendCommand(-4, QStringLiteral("by name"), QString()));
    ASSERT_EQ(gate.Connect(profile.name(), QString(), Server(0, 5), Server(0)), QString());
    ASSERT_TRUE(drive(gate, [&] { return gate.OutQueueCount() == 2; }));
    std::shared_ptr<EmailCommand> send = gate.Pull();
    EXPECT_EQ(send->Owner(), -3);
    EXPECT_EQ(send->Result(), OK_RESULT) << send->Error().toStdString();
    std::shared_ptr<EmailCommand> byName = gate.Pull();
    EXPECT_EQ(byName->Owner(), -4);
    EXPECT_EQ(byName->Result(), OK_RESULT) << byName->Error().toStdString();
    EXPECT_EQ(std::static_pointer_cast<SendEmailCommand>(byName)->Recipients(0).Address,
              QStringLiteral("bob@example.org"));
    EXPECT_TRUE(stub.input().contains("Subject: by name"));
    ASSERT_TRUE(drive(gate, [&] { return gate.OutQueueCount() == 1; }));
    auto read = std::static_pointer_cast<ReadEmailCommand>(gate.Pull());
    EXPECT_EQ(read->Result(), OK_RESULT) << read->Error().toStdString();
    int count = -1;
    QList<EmailLetter> letters;
    read->GetMessages(count, letters);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(letters.at(0).Originator.Address, QStringLiteral("ann@example.org"));
    EXPECT_EQ(profile.letterCount(), 0);
    EXPECT_EQ(gate.Disconnect(), QString());
}

}  // namespace
