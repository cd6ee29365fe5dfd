// The roads a user walks, through the whole program: its main(), its windows
// offscreen, the simulated phone on a pseudo-terminal and the real mail
// servers on loopback. Each road is checked by what the phone and the
// servers hold, what the windows show and what the files hold.
#include "e2e/RoadSteps.h"

#include "client/conversations/Conference.h"
#include "client/conversations/ui/TalkMenus.h"
#include "client/conversations/ui/TalkWindows.h"
#include "client/conversations/ui/frmConf.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/Globals.h"
#include "client/core/Orders.h"
#include "client/stores/ui/PhonebookHandle.h"
#include "client/main/RecentFiles.h"
#include "client/core/Settings.h"
#include "client/main/ui/frmOptions.h"
#include "client/main/ui/OptionsPages.h"
#include "client/main/ui/frmPort.h"
#include "email/QuenbyGlobalObjs.h"
#include "hub/messages/SMS.h"
#include "hub/SmsTestPdus.h"
#include "platform/UserSettings.h"
#include "support/DovecotServer.h"
#include "support/SmtpSink.h"
#include "tools/phonesim/BookCommands.h"
#include "tools/phonesim/ConnectCommands.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/StatusReports.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <map>

#include <gtest/gtest.h>

using namespace e2e;

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

TEST(Roads, ALongUnicodeTextGoesToTwoContactsChosenFromThePhoneBook)
{
    ProgramRun run;
    RememberPhone();
    run.sim().state().get<phonesim::BookProfile>().putSampleContacts();
    // The reports come back once every part is out, so the send's own entry
    // comes first in the log.
    run.sim().state().get<phonesim::ReportProfile>().delayMs = 5000;
    const QString text = QString::fromUtf8("Встречаемся в пятницу у реки, столик на троих уже заказан. ")
                             .repeated(8)
                             .left(399) +
                         QLatin1Char('!');
    const int result = run.run({}, [&] {
        ASSERT_TRUE(Connect(run));
        // Tools, Phonebook: the books are read from the phone.
        run.boxes.answer(platform::vbYes);
        run.window().MenuAction(QStringLiteral("mnuToolsPhonebook"))->trigger();
        ASSERT_TRUE(run.runUntil([&] { return parlova::PhonebookHandle::CurrentWindow() != nullptr; }, 60000));

        // File, New, then Conferee, Add from Phone...: Ann and Bob picked.
        run.window().MenuAction(QStringLiteral("mnuFileNew"))->trigger();
        ASSERT_EQ(TalkWindowsShown(run).size(), 1);
        parlova::frmTalk& talk = *TalkWindowsShown(run)[0];
        QStringList offered;
        run.forms.answerWith<parlova::frmConf>([&](parlova::frmConf& picker) {
            picker.Combo1->setCurrentIndex(2);
            EXPECT_EQ(picker.Combo1->currentText(), QStringLiteral("Phone & SIM"));
            for (int i = 0; i < picker.List1->count(); ++i)
                offered << picker.List1->item(i)->text();
            for (const QString& name : {QStringLiteral("Ann"), QStringLiteral("Bob")}) {
                picker.Text1->setText(name);
                picker.Command1->click();
            }
            picker.Command6->click();
        });
        talk.MenuSet().Item(QStringLiteral("mnuConfereeAddFromPhone"))->trigger();
        ASSERT_EQ(run.forms.forms.size(), 1u);
        EXPECT_EQ(run.forms.forms[0].caption, QStringLiteral("Select Conferees for Conference1"));
        EXPECT_TRUE(offered.contains(QString::fromUtf8("Zoë <+1010>"))) << offered.join(u',').toStdString();
        EXPECT_EQ(talk.AllConferees(), (QStringList{QStringLiteral("Ann <+111>"), QStringLiteral("Bob <+222>")}));

        // A report asked for, the text typed, the toolbar's Send.
        talk.Check1->click();
        talk.Text4->setPlainText(text);
        run.window().MdiArea()->setActiveSubWindow(talk.SubWindow());
        run.window().ButtonAction(parlova::tlbTalk, QStringLiteral("8"))->trigger();
        ASSERT_TRUE(run.runUntil([&] { return talk.Sending() == 0; }, 120000)) << Pane(run, 1).toStdString();
        EXPECT_EQ(run.boxes.count(), 1u) << run.boxes.last().prompt.toStdString();

        // Each number got the whole text in UCS2 parts, as a phone joins them.
        std::map<QString, corvane::SMS> got;
        std::map<QString, QStringList> references;
        const QStringList sent = Memory(run).sentPdus();
        for (int i = 0; i < sent.size(); ++i) {
            corvane::SMS part;
            part.PDU(sent[i]);
            got[part.Address()].PDU(sent[i]);
            references[part.Address()] << QString::number(i);
        }
        ASSERT_EQ(got.size(), 2u);
        for (const QString& number : {QStringLiteral("+111"), QStringLiteral("+222")}) {
            SCOPED_TRACE(number.toStdString());
            EXPECT_EQ(got[number].UserData(), text);
            EXPECT_EQ(got[number].Coding(), corvane::UCS2);
            EXPECT_EQ(references[number].size(), 6);
        }
        EXPECT_EQ(talk.Log(), QStringLiteral("\r\nTEXT:     ") + text + QStringLiteral("\r\nAT:       2024/05/17  10:00\r\n"
                                                                              "TO:       Ann <+111>\r\n"
                                                                              "TO:       Bob <+222>\r\nMR:       ") +
                                  (references[QStringLiteral("+111")] + references[QStringLiteral("+222")]).join(u' ') +
                                  QStringLiteral("\r\n") + kRule)
            << talk.Log().toStdString();
        EXPECT_EQ(Pane(run, 1), QStringLiteral("Conference1. Send SMS...Done"));

        // A moment later the network reports each part delivered; the phone
        // indicates each report, and the log shows them all.
        const auto reported = [&] { return talk.Log().count(QStringLiteral("STATUS REPORT:")); };
        ASSERT_TRUE(run.runUntil([&] { return reported() == 12; }, 60000)) << talk.Log().toStdString();
        for (int mr = 0; mr < 12; ++mr) {
            const QString to = mr < 6 ? QStringLiteral("Ann <+111>") : QStringLiteral("Bob <+222>");
            EXPECT_TRUE(talk.Log().contains(QStringLiteral("TO:     %1\r\nMR:     %2\r\nSTATUS TIME:     "
                                                           "2024/05/17  10:00\r\nSTATUS REPORT:     Delivered\r\n")
                                                .arg(to)
                                                .arg(mr)))
                << mr;
        }
        EXPECT_TRUE(Memory(run).sr.filled.empty());
        Close(run, {Unread(12, platform::vbYes), Unsaved(platform::vbNo)});
    });
    EXPECT_EQ(result, 0);
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
        // New conversation (File, New), one conferee, a message typed and
        // the toolbar's Send.
        run.window().MenuAction(QStringLiteral("mnuFileNew"))->trigger();
        ASSERT_EQ(TalkWindowsShown(run).size(), 1);
        parlova::frmTalk& talk = *TalkWindowsShown(run)[0];
        parlova::Conferences().AddConferee(QStringLiteral("+4479000001"), QStringLiteral("Bob"), talk.Theme());
        const auto send = [&](const QString& text) {
            run.window().MdiArea()->setActiveSubWindow(talk.SubWindow());
            talk.Text4->setPlainText(text);
            run.window().ButtonAction(parlova::tlbTalk, QStringLiteral("8"))->trigger();
        };
        send(QStringLiteral("Running late"));
        EXPECT_EQ(talk.Caption(), QStringLiteral("Conference1 (sending 1)"));

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
        send(QStringLiteral("Running late, sorry"));
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

TEST(Roads, ALetterWithAnAttachmentLandsInItsSendersConversationAndTheReplyGoesOut)
{
    testsupport::DovecotServer pop3;
    QString error;
    ASSERT_TRUE(pop3.start(&error)) << error.toStdString();
    pop3.dropLetter("From: Ann <ann@example.org>\nTo: me@example.org\nSubject: Menu\nMIME-Version: 1.0\n"
                    "Content-Type: multipart/mixed; boundary=\"b\"\n\n"
                    "--b\nContent-Type: text/plain\n\nThe menu for Friday\n"
                    "--b\nContent-Type: text/plain; name=\"menu.txt\"\n"
                    "Content-Disposition: attachment; filename=\"menu.txt\"\n\nSoup, bread\n--b--\n");
    testsupport::SmtpSink::Options logon;
    logon.auth = testsupport::SmtpSink::Auth::Basic;
    logon.user = pop3.user();
    logon.password = pop3.password();
    const testsupport::SmtpSink smtp(logon);
    ASSERT_TRUE(smtp.started()) << smtp.error().toStdString();
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
        {"SMTPAddress", QStringLiteral("127.0.0.1")}, {"SMTPPort", QString::number(smtp.port())},
        {"WorkingFolder", working.path()},
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

        // The reply, to Ann and to Bob, who joins the conversation, with the
        // toolbar's Send.
        parlova::Conferences().AddConferee(QStringLiteral("bob@example.com"), QStringLiteral("Bob"), talk.Theme());
        run.window().MdiArea()->setActiveSubWindow(talk.SubWindow());
        talk.Text4->setPlainText(QStringLiteral("Soup for me, please"));
        run.window().ButtonAction(parlova::tlbTalk, QStringLiteral("8"))->trigger();
        ASSERT_TRUE(run.runWithServersUntil([&] { return talk.Sending() == 0; })) << Pane(run, 1).toStdString();
        const QList<testsupport::SmtpSink::Letter> letters = smtp.letters();
        ASSERT_EQ(letters.size(), 1);
        EXPECT_EQ(letters[0].mailFrom, QStringLiteral("me@example.org"));
        QStringList recipients = letters[0].rcptTos;
        recipients.sort();
        EXPECT_EQ(recipients, (QStringList{QStringLiteral("ann@example.org"), QStringLiteral("bob@example.com")}));
        EXPECT_EQ(letters[0].authUser, pop3.user());
        EXPECT_TRUE(letters[0].data.contains("Subject: Conference1")) << letters[0].data.toStdString();
        EXPECT_TRUE(talk.Log().contains(QStringLiteral("TO:       Bob <bob@example.com>"))) << talk.Log().toStdString();
        Close(run, {Unread(1, platform::vbYes), Unsaved(platform::vbNo)});
    });
    EXPECT_EQ(result, 0);
}

