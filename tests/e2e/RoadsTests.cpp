// The roads a user walks, through the whole program: its main(), its windows
// offscreen, the simulated phone on a pseudo-terminal and the real mail
// servers on loopback. Each road is checked by what the phone and the
// servers hold, what the windows show and what the files hold.
#include "e2e/ProgramRun.h"

#include "client/conversations/Conference.h"
#include "client/conversations/ui/TalkWindows.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/Orders.h"
#include "client/main/RecentFiles.h"
#include "client/core/Settings.h"
#include "client/main/ui/frmOptions.h"
#include "client/main/ui/OptionsPages.h"
#include "client/main/ui/frmPort.h"
#include "client/orders/SendSMS.h"
#include "email/QuenbyGlobalObjs.h"
#include "hub/SmsTestPdus.h"
#include "platform/UserSettings.h"
#include "support/DovecotServer.h"
#include "tools/phonesim/ConnectCommands.h"
#include "tools/phonesim/MessageMemory.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using e2e::ProgramRun;

const QString kRule = QString(30, QLatin1Char('_'));

QString Pane(ProgramRun& run, int n) { return run.window().PaneLabel(n)->text(); }
QString PaneTip(ProgramRun& run, int n) { return run.window().PaneLabel(n)->toolTip(); }

QString Setting(const char* section, const char* key)
{
    return platform::GetSetting(QStringLiteral("Parlova"), QString::fromLatin1(section), QString::fromLatin1(key),
                                QStringLiteral("<none>"));
}

// What a user left behind: the phone remembered on COM7, every Connect
// going straight to it.
void RememberPhone()
{
    platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Options"), QStringLiteral("LastChoice"),
                          QStringLiteral("True"));
    platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Options"), QStringLiteral("LastPort"),
                          QStringLiteral("7"));
}

void Option(const char* key, const QString& value)
{
    platform::SaveSetting(QStringLiteral("Parlova"), QStringLiteral("Options"), QString::fromLatin1(key), value);
}

// Tools, Connect until the phone pane reads "SMS".
bool Connect(ProgramRun& run)
{
    run.window().MenuAction(QStringLiteral("mnuToolsConnect"))->trigger();
    return run.runUntil([&] { return Pane(run, 3) == QStringLiteral("SMS"); });
}

phonesim::MessageMemory& Memory(ProgramRun& run) { return run.sim().state().get<phonesim::MessageMemory>(); }

// The conversation windows of the main window, in the order they opened.
QList<parlova::frmTalk*> TalkWindowsShown(ProgramRun& run)
{
    QList<parlova::frmTalk*> shown;
    for (QMdiSubWindow* sub : run.window().MdiArea()->subWindowList())
        if (parlova::frmTalk* talk = parlova::TalkWindows::Of(sub); talk && sub->isVisible())
            shown << talk;
    return shown;
}

// A question the program asks while it closes, and the user's answer.
struct Answer {
    QString question;
    int reply;
};
Answer Unread(int n, int reply)
{
    return {QStringLiteral("There are %1 unread messages.\r\nDo you want to close the conference?").arg(n), reply};
}
Answer Unsaved(int reply)
{
    return {QStringLiteral("There are unsaved changes.\r\nDo you want to save the changes?"), reply};
}

// Closes the program as its close box does: it asks exactly these questions.
void Close(ProgramRun& run, const std::vector<Answer>& answers)
{
    const size_t before = run.boxes.count();
    for (const Answer& a : answers)
        run.boxes.answer(a.reply);
    EXPECT_TRUE(run.closeWindow());
    QStringList asked, expected;
    for (size_t i = before; i < run.boxes.count(); ++i)
        asked << run.boxes.boxes()[i].prompt;
    for (const Answer& a : answers)
        expected << a.question;
    EXPECT_EQ(asked, expected);
}

}  // namespace

TEST(Roads, FirstStartScansListsThePhoneAndConnects)
{
    ProgramRun run;
    run.sim().state().get<phonesim::ConnectProfile>().maker = QStringLiteral("Parvik Mobile");
    const QString ini = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Parlova/Parlova.ini");
    ASSERT_FALSE(QFile::exists(ini));
    const int result = run.run({}, [&] {
        parlova::frmMDI& window = run.window();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(Pane(run, 3), QStringLiteral("Phone"));
        EXPECT_EQ(PaneTip(run, 3), QStringLiteral("No connection"));

        parlova::frmPort& port = window.PortWindow();
        window.MenuAction(QStringLiteral("mnuToolsConnect"))->trigger();
        ASSERT_TRUE(run.runUntil([&] { return port.isVisible(); }, 600000));
        ASSERT_EQ(port.List1->count(), 1);
        EXPECT_EQ(port.List1->item(0)->text(), QStringLiteral("COM7: Model 6230 ( made by Parvik Mobile )"));
        port.List1->setCurrentRow(0);
        port.Check1->setChecked(true);
        port.cmdOK->click();
        ASSERT_TRUE(run.runUntil([&] { return Pane(run, 3) == QStringLiteral("SMS"); }));
        EXPECT_EQ(PaneTip(run, 3), QStringLiteral("SMS available, COM7, 115200 bit/sec, Model 6230"));
        EXPECT_TRUE(window.PaneLabel(3)->isEnabled());
        // The choice is remembered in the user's configuration folder.
        EXPECT_EQ(Setting("Options", "LastPort"), QStringLiteral("7"));
        EXPECT_TRUE(QFile::exists(ini));
        EXPECT_EQ(QFile::permissions(ini) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(run.boxes.count(), 0u);
}

TEST(Roads, ATwoPartMessageAndItsReportFromAStrangerOpenAConversation)
{
    ProgramRun run;
    RememberPhone();
    const int result = run.run({}, [&] {
        ASSERT_TRUE(Connect(run));
        run.phone.clock().setNow(QDateTime(QDate(2024, 5, 17), QTime(14, 2)));
        phonesim::MessageMemory& memory = Memory(run);
        parlova::Conference& registry = parlova::Conferences();
        ASSERT_EQ(registry.TalksCount(), 0);

        // The parts arrive out of order, as the network may deliver them.
        const struct {
            const char* storage;
            int index;
            QString pdu;
            const char* indication;
        } arrivals[] = {
            {"SM", 2, smstest::Deliver8(smstest::Concat8(0x5A, 2, 2), QStringLiteral(" see you at noon.")),
             "+CMTI: \"SM\",2"},
            {"SM", 1, smstest::Deliver8(smstest::Concat8(0x5A, 2, 1), QStringLiteral("Lunch on Friday?")),
             "+CMTI: \"SM\",1"},
            {"SR", 3, smstest::StatusReport(42), "+CDSI: \"SR\",3"},
        };
        for (const auto& a : arrivals) {
            SCOPED_TRACE(a.indication);
            memory.storeAt(QString::fromLatin1(a.storage), a.index, a.pdu);
            const QString before = registry.TalksCount() ? registry.Talk(1).Log() : QString();
            run.sim().inject(QString::fromLatin1(a.indication));
            if (a.index == 2) {
                // Half a message is read and held back until the other half comes.
                ASSERT_TRUE(run.runUntil([&] { return run.sim().commands().contains(QStringLiteral("AT+CMGR=2")); },
                                         30000));
                run.runFor(3000);
                EXPECT_EQ(registry.TalksCount(), 0);
            } else
                ASSERT_TRUE(run.runUntil(
                    [&] { return registry.TalksCount() == 1 && registry.Talk(1).Log() != before; }, 30000));
        }

        ASSERT_EQ(registry.TalksCount(), 1);
        const QList<parlova::frmTalk*> shown = TalkWindowsShown(run);
        ASSERT_EQ(shown.size(), 1);
        parlova::frmTalk& talk = *shown[0];
        EXPECT_EQ(talk.AllConferees(), QStringList{QStringLiteral("Noname <+15551234567>")});
        EXPECT_EQ(talk.Log(),
                  QStringLiteral("\r\nTEXT:     Lunch on Friday? see you at noon.\r\nAT:     2024/05/17  14:02\r\n"
                                 "FROM:     Noname <+15551234567>\r\n") +
                      kRule +
                      QStringLiteral("\r\nTO:     Noname <+15551234567>\r\nMR:     42\r\nSTATUS TIME:     "
                                     "2024/03/15  13:55\r\nSTATUS REPORT:     Delivered\r\n") +
                      kRule)
            << talk.Log().toStdString();
        // The window shows what the conversation holds.
        EXPECT_TRUE(talk.Text5->toPlainText().contains(QStringLiteral("Lunch on Friday? see you at noon.")));
        // Read and gone from the phone: nothing is read twice.
        EXPECT_TRUE(memory.sm.filled.empty());
        EXPECT_TRUE(memory.sr.filled.empty());
        Close(run, {Unread(2, platform::vbYes), Unsaved(platform::vbNo)});
    });
    EXPECT_EQ(result, 0);
}

TEST(Roads, ASavedConversationAndTheOptionsComeBackAtTheNextStart)
{
    ProgramRun run;
    RememberPhone();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = documents + QStringLiteral("/Lunch.plv");
    const QString draft = QStringLiteral("Friday is fine, see you then");
    QString log;
    int result = run.run({}, [&] {
        ASSERT_TRUE(Connect(run));
        run.phone.clock().setNow(QDateTime(QDate(2024, 5, 17), QTime(14, 2)));
        Memory(run).storeAt(QStringLiteral("SM"), 1, smstest::Deliver8(QString(), QStringLiteral("Lunch?")));
        run.sim().inject(QStringLiteral("+CMTI: \"SM\",1"));
        ASSERT_TRUE(run.runUntil([&] { return TalkWindowsShown(run).size() == 1; }, 30000));
        parlova::frmTalk& talk = *TalkWindowsShown(run)[0];
        talk.Text4->setPlainText(draft);
        log = talk.Log();

        // Tools, Options: a simplified log from now on.
        run.forms.answerWith<parlova::frmOptions>([](parlova::frmOptions& form) {
            form.Pages().Check2->setChecked(true);
            form.cmdOK->click();
        });
        run.window().MenuAction(QStringLiteral("mnuToolsOptions"))->trigger();
        ASSERT_EQ(run.forms.forms.size(), 1u);

        // Save from the conversation's toolbar, in the documents folder the
        // save dialog opens in.
        run.window().MdiArea()->setActiveSubWindow(talk.SubWindow());
        run.dialogs.answerFile(path);
        run.window().ButtonAction(parlova::tlbTalk, QStringLiteral("3"))->trigger();
        ASSERT_EQ(run.dialogs.files.size(), 1u);
        EXPECT_TRUE(run.dialogs.files[0].save);
        EXPECT_EQ(platform::InitialFolder(), documents);
        ASSERT_TRUE(QFile::exists(path));
        Close(run, {Unread(1, platform::vbYes)});
    });
    ASSERT_EQ(result, 0);
    EXPECT_EQ(Setting("Options", "SimplifiedLog"), QStringLiteral("True"));

    result = run.run({path}, [&] {
        const QList<parlova::frmTalk*> shown = TalkWindowsShown(run);
        ASSERT_EQ(shown.size(), 1);
        parlova::frmTalk& talk = *shown[0];
        EXPECT_EQ(talk.Pathname(), path);
        EXPECT_EQ(talk.AllConferees(), QStringList{QStringLiteral("Noname <+15551234567>")});
        // The file keeps the entries, not the empty lines between them.
        EXPECT_EQ(talk.Log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts),
                  log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts));
        EXPECT_EQ(talk.Text4->toPlainText(), draft);
        // The recent-file list holds it; the options dialog shows the option.
        QAction* recent = run.window().MenuAction(QStringLiteral("mnuRecentFile1"));
        ASSERT_TRUE(recent);
        EXPECT_TRUE(recent->isVisible());
        EXPECT_TRUE(recent->text().contains(path)) << recent->text().toStdString();
        bool simplified = false;
        run.forms.answerWith<parlova::frmOptions>([&](parlova::frmOptions& form) {
            simplified = form.Pages().Check2->isChecked();
            form.cmdCancel->click();
        });
        run.window().MenuAction(QStringLiteral("mnuToolsOptions"))->trigger();
        EXPECT_TRUE(simplified);
    });
    EXPECT_EQ(result, 0);
}

TEST(Roads, APhoneUnpluggedMidSendIsReportedAndConnectsAgainOnceItIsBack)
{
    ProgramRun run;
    RememberPhone();
    const int result = run.run({}, [&] {
        ASSERT_TRUE(Connect(run));
        parlova::Orders& orders = *run.app().globals().PhoneOrders;
        // New conversation (File, New), one conferee, and a message queued
        // for it as the conversation's Send queues it.
        run.window().MenuAction(QStringLiteral("mnuFileNew"))->trigger();
        ASSERT_EQ(TalkWindowsShown(run).size(), 1);
        parlova::frmTalk& talk = *TalkWindowsShown(run)[0];
        parlova::Conferences().AddConferee(QStringLiteral("+4479000001"), QStringLiteral("Bob"), talk.Theme());
        auto send = std::make_shared<parlova::SendSMS>();
        send->SetUp(QStringLiteral("Running late"), 0, {QStringLiteral("+4479000001")}, 4, QVariant(), 0, QString(),
                    talk.Theme());
        orders.Add(send, 0);
        talk.UpdateCaption(1, 0);

        // The cable goes the moment the phone was asked to send.
        ASSERT_TRUE(run.runUntil([&] {
            return run.sim().commands().filter(QStringLiteral("AT+CMGS=")).size() == 1;
        }, 30000));
        run.unplugPhone();
        ASSERT_TRUE(run.runUntil([&] { return Pane(run, 3) == QStringLiteral("Phone"); }, 60000))
            << Pane(run, 1).toStdString();
        // The status bar and the conversation's log say so; nothing is left
        // waiting as if it were still going out.
        EXPECT_EQ(Pane(run, 1), QStringLiteral("Conference1. The Send SMS operation failed. Unknown error"));
        EXPECT_EQ(PaneTip(run, 3), QStringLiteral("No connection"));
        EXPECT_TRUE(talk.Log().contains(QStringLiteral("FAIL TO SEND:\r\nTO:       Bob <+4479000001>")))
            << talk.Log().toStdString();
        EXPECT_EQ(talk.Caption(), QStringLiteral("Conference1"));
        EXPECT_TRUE(Memory(run).sentPdus().isEmpty());
        EXPECT_EQ(orders.Count(), 0);
        EXPECT_EQ(orders.ActiveOrder(), nullptr);

        // Still at the user's service: another conversation opens, time
        // passes without a hang or a box.
        run.window().MenuAction(QStringLiteral("mnuFileNew"))->trigger();
        EXPECT_EQ(TalkWindowsShown(run).size(), 2);
        const size_t boxesBefore = run.boxes.count();
        run.runFor(10000);
        EXPECT_EQ(run.boxes.count(), boxesBefore);

        // Back in: Connect finds it, and the next message goes out.
        run.plugPhoneIn();
        ASSERT_TRUE(Connect(run));
        auto again = std::make_shared<parlova::SendSMS>();
        again->SetUp(QStringLiteral("Running late, sorry"), 0, {QStringLiteral("+4479000001")}, 4, QVariant(), 0,
                     QString(), talk.Theme());
        orders.Add(again, 0);
        ASSERT_TRUE(run.runUntil([&] { return !orders.ActiveOrder() && orders.Count() == 0; }, 60000));
        EXPECT_EQ(Memory(run).sentPdus().size(), 1);
        EXPECT_TRUE(talk.Log().endsWith(QStringLiteral("TEXT:     Running late, sorry\r\nAT:       2024/05/17  10:00\r\n"
                                                       "TO:       Bob <+4479000001>\r\n") +
                                        kRule))
            << talk.Log().toStdString();
        Close(run, {Unsaved(platform::vbNo)});
    });
    EXPECT_EQ(result, 0);
}

TEST(Roads, ALetterWithAnAttachmentLandsInItsSendersConversation)
{
    testsupport::DovecotServer pop3;
    QString error;
    ASSERT_TRUE(pop3.start(&error)) << error.toStdString();
    pop3.dropLetter("From: Ann <ann@example.org>\nTo: me@example.org\nSubject: Menu\nMIME-Version: 1.0\n"
                    "Content-Type: multipart/mixed; boundary=\"b\"\n\n"
                    "--b\nContent-Type: text/plain\n\nThe menu for Friday\n"
                    "--b\nContent-Type: text/plain; name=\"menu.txt\"\n"
                    "Content-Disposition: attachment; filename=\"menu.txt\"\n\nSoup, bread\n--b--\n");
    ProgramRun run;
    qunsetenv(quenby::kServiceEnvVar);
    const QTemporaryDir working;
    const struct {
        const char* key;
        QString value;
    } account[] = {
        {"UserName", QStringLiteral("Me")},        {"EmailAddress", QStringLiteral("me@example.org")},
        {"Login", pop3.user()},                    {"Password", pop3.password()},
        {"POP3Address", pop3.host()},              {"POP3Port", QString::number(pop3.port())},
        {"SMTPAddress", QStringLiteral("127.0.0.1")}, {"WorkingFolder", working.path()},
    };
    for (const auto& a : account)
        Option(a.key, a.value);
    const int result = run.run({}, [&] {
        // Ann is a conferee of an open conversation.
        run.window().MenuAction(QStringLiteral("mnuFileNew"))->trigger();
        ASSERT_EQ(TalkWindowsShown(run).size(), 1);
        parlova::frmTalk& talk = *TalkWindowsShown(run)[0];
        parlova::Conferences().AddConferee(QStringLiteral("ann@example.org"), QStringLiteral("Ann"), talk.Theme());

        QAction* connectEmail = run.window().MenuAction(QStringLiteral("mnuToolsConnectEmail"));
        ASSERT_TRUE(connectEmail->isEnabled());
        connectEmail->trigger();
        ASSERT_TRUE(run.runWithServersUntil([&] { return talk.Log().contains(QStringLiteral("ATTACHMENT: ")); }))
            << Pane(run, 1).toStdString() << " / " << pop3.log().toStdString();
        EXPECT_EQ(parlova::Conferences().TalksCount(), 1);
        EXPECT_TRUE(talk.Log().contains(QStringLiteral("TEXT:     The menu for Friday"))) << talk.Log().toStdString();
        EXPECT_TRUE(talk.Log().contains(QStringLiteral("FROM:     Ann <ann@example.org>"))) << talk.Log().toStdString();
        const QStringList attachments =
            talk.Log().split(QStringLiteral("\r\n")).filter(QStringLiteral("ATTACHMENT: "));
        ASSERT_EQ(attachments.size(), 1);
        QFile saved(attachments[0].mid(12));
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << saved.fileName().toStdString();
        EXPECT_TRUE(saved.readAll().startsWith("Soup, bread"));
        EXPECT_TRUE(saved.fileName().startsWith(working.path()));
        EXPECT_TRUE(talk.Text5->toPlainText().contains(QStringLiteral("The menu for Friday")));
        Close(run, {Unread(1, platform::vbYes), Unsaved(platform::vbNo)});
    });
    EXPECT_EQ(result, 0);
}

