// The message-store procedures over the real queue, gate, loop, message-store
// window, conference registry and conversation windows, against the
// simulated phone; boxes and forms answered through the hooks.
#include "client/support/ClientRig.h"
#include "hub/MessageStorePdus.h"

#include "client/conversations/Conference.h"
#include "client/conversations/ui/frmConf.h"
#include "client/conversations/ui/frmNewConf.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/Module1.h"
#include "client/core/Procedures.h"
#include "client/core/ui/StoreGrid.h"
#include "client/core/ui/frmAllItems.h"
#include "client/orders/DeleteMessage.h"
#include "client/orders/ReadStore.h"
#include "client/orders/SendSMS.h"
#include "client/stores/MessageStoreProcedures.h"
#include "client/stores/StoreProcedureTexts.h"
#include "client/stores/ui/MessageStoreHandle.h"
#include "client/stores/ui/PhonebookProcedures.h"
#include "client/stores/ui/StoreProcedureForms.h"
#include "client/stores/ui/frmMessageStore.h"
#include "hub/engine/BagKeys.h"
#include "hub/messages/SMS.h"
#include "support/ui/ModalFormRecorder.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/StoreCommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>

using namespace parlova;

namespace {

const QString kThreeParts = QStringLiteral("The first part of a long one, ") + QStringLiteral("then the second part of it, ") +
                            QStringLiteral("and the third part ends it.");
const QString kCRLF = QStringLiteral("\r\n");
const QString kRule = QString(30, QLatin1Char('_'));
const QString kOwner = QStringLiteral("Message Store ");

// A STATUS-REPORT for reference mr to +15551234567, discharged 13:55:30.
QString StatusReport(int mr)
{
    return QStringLiteral("0006") + storetest::Hex2(mr) + storetest::kAlice + storetest::kStamp +
           QStringLiteral("42305131550300") + QStringLiteral("00");
}

// A SUBMIT of "Hi" to +15551234567, GSM coded, with or without a report.
QString Submit(bool report)
{
    return QStringLiteral("00") + (report ? QStringLiteral("21") : QStringLiteral("01")) + QStringLiteral("00") +
           storetest::kAlice + QStringLiteral("0000") + QStringLiteral("02C834");
}

class StoreProcs : public clienttest::PhoneOrderTest {
protected:
    void SetUp() override
    {
        sim().state().get<phonesim::StoreProfile>().locations =
            QStringLiteral("(\"SM\",\"ME\",\"SR\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")");
        phone.clock().setNow(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 42)));
        memory().storeAt(QStringLiteral("SM"), 1, storetest::Deliver(QStringLiteral("Hello")));
        for (int part = 0; part < 3; ++part)
            memory().storeAt(QStringLiteral("SM"), 2 + part,
                             storetest::Deliver(kThreeParts.mid(part * 30, 30), storetest::kBob, 9, 3, part + 1));
        memory().storeAt(QStringLiteral("SR"), 1, StatusReport(23));
        app.globals().Conferences = conference;
        StoreProcedureForms::Install(app);
    }
    void TearDown() override
    {
        while (conference->TalksCount() > 0)
            conference->Talk(1).Discard();
    }
    phonesim::MessageMemory& memory() { return sim().state().get<phonesim::MessageMemory>(); }
    frmMessageStore& read()
    {
        EXPECT_TRUE(connect());
        EXPECT_TRUE(run(std::make_shared<ReadStore>()));
        EXPECT_NE(handle.Window(), nullptr);
        boxes.clear();
        window.alerts.clear();
        return *handle.Window();
    }
    qint32 location(const char* name)
    {
        qint32 index = -1;
        messages().StoreIndexByName(index, QLatin1String(name));
        return index;
    }
    // The grid row of a stored message, as the user clicks it.
    static void click(frmMessageStore& w, const QString& label, int index)
    {
        for (int r = 1; r < w.MSFlexGrid1->Rows(); ++r)
            if (w.MSFlexGrid1->TextMatrix(r, 0) == label && w.MSFlexGrid1->TextMatrix(r, 1).toInt() == index)
                w.MSFlexGrid1->setCurrentCell(r - 1, 0);
    }
    // A new message: the first edit of a shown message resets the editor.
    static void compose(frmMessageStore& w, const QString& text)
    {
        w.Text4->setPlainText(text);
        w.Text4->setPlainText(text);
    }
    Conversation& team(const QStringList& conferees)
    {
        QString theme, warnings;
        EXPECT_EQ(conference->AddTalk(theme, warnings, QString()), QString());
        for (const QString& line : conferees) {
            QString name, address, combined = line;
            NameAndAddress(name, address, combined);
            EXPECT_EQ(conference->AddConferee(address, name, theme), QString());
        }
        EXPECT_EQ(conference->SaveFile(theme, dir.filePath(QStringLiteral("Team.plv"))), QString());
        return conference->Talk(QStringLiteral("Team"));
    }
    QStringList prompts() const
    {
        QStringList out;
        for (const platform::MessageBoxRequest& b : boxes.boxes())
            out << b.prompt;
        return out;
    }

    QMdiArea area;
    MessageStoreHandle handle{[this] { return &area; }};
    std::shared_ptr<Conference> conference =
        std::make_shared<Conference>([this] { return frmTalk::Create(&area); });
    platform::ModalFormRecorder forms;
    QTemporaryDir dir;
};

TEST_F(StoreProcs, StoreRefusesOrAsksBeforeQueueing)
{
    frmMessageStore& w = read();
    const QString nothing = QStringLiteral("There is nothing to store. Please type some text");
    const QString gsm = QStringLiteral(
        "Your text contains characters, that are not part of the GSM code page. \rTo store it you should use Unicode "
        "coding.\rIf you store such text using GSM coding, most likely nobody can read it!\r\rContinue anyway?");
    const struct {
        const char* what;
        QString text;
        qint32 coding;
        bool noLocation;
        int answer;  // to the GSM question; 0 none asked
        QString box;
        int style, queued;
    } cases[] = {
        {"empty", QString(), 10, false, 0, nothing, 48, 0},
        {"blank", QStringLiteral(" \n\t "), 10, false, 0, nothing, 48, 0},
        {"GSM, No", QStringLiteral("Привет"), 0, false, platform::vbNo, gsm, 308, 0},
        {"GSM, Yes", QStringLiteral("Привет"), 0, false, platform::vbYes, gsm, 308, 1},
        {"Auto", QStringLiteral("Привет"), 10, false, 0, QString(), 0, 1},
        {"nowhere", QStringLiteral("Hi"), 10, true, 0, QStringLiteral("There is nowhere to store."), 48, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        while (orders->Count() > 0)
            orders->Remove(1);
        compose(w, c.text);
        w.Coding(c.coding);
        c.noLocation ? w.List1->clearSelection() : w.List1->setCurrentRow(0);
        boxes.answer(c.answer ? c.answer : platform::vbOK);
        Procs().StoreNewMessage(kOwner);
        EXPECT_EQ(boxes.last().prompt, c.box);
        EXPECT_EQ(boxes.last().style, c.style);
        EXPECT_EQ(orders->Count(), c.queued);
    }
}

TEST_F(StoreProcs, StoredMessagesReachThePhoneAndTheGrid)
{
    const QString letters = QString(200, QLatin1Char('a'));
    const struct {
        const char* what;
        QString text;
        qint32 coding;
        bool join;
        int writes, rows;
        corvane::DATA_CODING stored;
    } cases[] = {
        {"joined", letters, 0, true, 2, 1, corvane::DEFAULT7BIT},
        {"separate", letters, 0, false, 2, 2, corvane::DEFAULT7BIT},
        {"Auto", QStringLiteral("Привет"), 10, true, 1, 1, corvane::UCS2},
    };
    read();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        frmMessageStore& w = *handle.Window();
        settings().JoinParts(c.join);
        const int rows = w.MSFlexGrid1->Rows();
        const qsizetype writes = commandsOf(QStringLiteral("AT+CMGW")).size();
        compose(w, c.text);
        w.Text1->setText(QStringLiteral("+44 (20) 7946-0000"));
        w.Coding(c.coding);
        w.Validity(2);
        w.Slider2->setValue(167);
        w.List1->setCurrentRow(0);
        Procs().StoreNewMessage(w.windowTitle());
        ASSERT_TRUE(runUntilIdle());
        EXPECT_TRUE(boxes.boxes().empty());
        EXPECT_EQ(commandsOf(QStringLiteral("AT+CMGW")).size() - writes, c.writes);
        ASSERT_EQ(handle.Window()->MSFlexGrid1->Rows(), rows + c.rows);
        qint32 sm = location("SM"), index = -1;
        ASSERT_EQ(handle.Window()->ActiveMessage(sm, index), QString());
        EXPECT_EQ(messages().MessageAddress(sm, index), QStringLiteral("+442079460000"));
        // Not joined, the last part's row is the current one.
        const QString data = messages().MessageData(sm, index);
        EXPECT_EQ(data, c.join ? c.text : QStringLiteral("(2/2)") + QString(data.size() - 5, QLatin1Char('a')));
        EXPECT_EQ(messages().MessageCoding(sm, index), c.stored);
        EXPECT_EQ(messages().MessageVP(sm, index).toInt(), 167);
        EXPECT_EQ(window.Pane(1).text, QStringLiteral("Message Store . Store Message...Done"));
    }
    // Typed on before the phone answers: the row comes, the text stays.
    frmMessageStore& w = *handle.Window();
    compose(w, QStringLiteral("first"));
    Procs().StoreNewMessage(kOwner);
    w.Text4->setPlainText(QStringLiteral("second"));
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(w.MSFlexGrid1->Row(), 0);
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("second"));
}

TEST_F(StoreProcs, RepliesWaitWhileAQuestionIsOpen)
{
    memory().sr.filled.clear();
    read();
    // A delete is queued when the user stores a text that asks first.
    auto pending = std::make_shared<DeleteMessage>();
    pending->SetUp(location("SM"), 2, kOwner);
    orders->Add(pending, 0);
    compose(*handle.Window(), QStringLiteral("Привет"));
    handle.Window()->Coding(0);
    bool waited = false;
    const platform::MessageBoxHook previous = platform::SetMessageBoxHook([&](const platform::MessageBoxRequest&) {
        for (int i = 0; i < 120; ++i)
            round();
        waited = orders->Count() == 1 && !pending->Finished();
        return platform::vbYes;
    });
    Procs().StoreNewMessage(kOwner);
    platform::SetMessageBoxHook(previous);
    EXPECT_TRUE(waited);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(pending->Result(), QString());
    ASSERT_NE(handle.Window(), nullptr);
    EXPECT_EQ(handle.Window()->MSFlexGrid1->Rows(), 3);
}

TEST_F(StoreProcs, DeleteAsksThenRemovesEveryPartAndTheLastLeavesTheWindowEmpty)
{
    memory().sr.filled.clear();
    frmMessageStore& w = read();
    click(w, QStringLiteral("SIM"), 2);
    boxes.answer(platform::vbNo);
    Procs().DeleteStoreMessage(kOwner);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("You are about to delete the following message:\r") +
                                       kThreeParts.left(35) + QStringLiteral("...\rDo you want to continue?"));
    EXPECT_EQ(boxes.last().style, 36);
    EXPECT_EQ(orders->Count(), 0);

    Procs().DeleteStoreMessage(kOwner);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(commandsOf(QStringLiteral("AT+CMGD")).size(), 3);
    EXPECT_EQ(w.MSFlexGrid1->Rows(), 2);
    EXPECT_EQ(w.List1->item(0)->text(), QStringLiteral("SIM: total 20 / free 19"));
    EXPECT_EQ(window.Pane(1).text, QStringLiteral("Message Store . Delete Message...Done"));

    // The last message gone, the window shows none, as it was, keeping
    // what the user typed meanwhile.
    handle.SetWindowState(vbMaximized);
    click(w, QStringLiteral("SIM"), 1);
    Procs().DeleteStoreMessage(kOwner);
    compose(w, QStringLiteral("draft"));
    ASSERT_TRUE(runUntilIdle());
    ASSERT_EQ(handle.Window(), &w);
    EXPECT_EQ(w.MSFlexGrid1->Rows(), 1);
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("draft"));
    EXPECT_EQ(handle.WindowState(), vbMaximized);
}

TEST_F(StoreProcs, AMessageTheCodecRefusesIsShownWithoutTextAndCanBeDeleted)
{
    memory().sr.filled.clear();
    memory().storeAt(QStringLiteral("SM"), 7, QStringLiteral("0004ZZ"), phonesim::kRecRead);
    frmMessageStore& w = read();
    EXPECT_EQ(w.MSFlexGrid1->Rows(), 4);
    EXPECT_EQ(w.List1->item(0)->text(), QStringLiteral("SIM: total 20 / free 15"));
    click(w, QStringLiteral("SIM"), 7);
    EXPECT_EQ(w.MSFlexGrid1->TextMatrix(w.MSFlexGrid1->Row(), 2), QStringLiteral("received read"));
    EXPECT_EQ(w.MSFlexGrid1->TextMatrix(w.MSFlexGrid1->Row(), 5), QString());
    EXPECT_EQ(w.Text4->toPlainText(), QString());

    Procs().DeleteStoreMessage(kOwner);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(commandsOf(QStringLiteral("AT+CMGD")), QStringList{QStringLiteral("AT+CMGD=7")});
    EXPECT_EQ(memory().message(QStringLiteral("SM"), 7), nullptr);
    EXPECT_EQ(w.MSFlexGrid1->Rows(), 3);
    EXPECT_EQ(w.List1->item(0)->text(), QStringLiteral("SIM: total 20 / free 16"));
}

TEST_F(StoreProcs, RereadEmptiesTheStoreOnlyWhenTheReadStartsSoADeleteQueuedBeforeItRuns)
{
    frmMessageStore& w = read();
    click(w, QStringLiteral("SIM"), 1);
    Procs().DeleteStoreMessage(kOwner);
    StoreProcedures().RereadMessageStore(kOwner);
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("You are about to reread messages from your phone.\rThis procedure takes some time.\r"
                             "Current data from the phone's message store will be cleared.\rDo you want to continue?"));
    EXPECT_EQ(handle.Window(), nullptr);
    EXPECT_EQ(messages().Count(), 3);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(window.alerts.filter(QStringLiteral("failed")), QStringList());
    EXPECT_EQ(memory().sm.filled.count(1), 0u);
    ASSERT_NE(handle.Window(), nullptr);
    EXPECT_EQ(handle.Window()->MSFlexGrid1->Rows(), 3);
    EXPECT_EQ(messages().Count(), 2);

    // No: nothing unloaded, nothing queued.
    boxes.answer(platform::vbNo);
    StoreProcedures().RereadMessageStore(kOwner);
    EXPECT_NE(handle.Window(), nullptr);
    EXPECT_EQ(orders->Count(), 0);
}

struct TalkCase {
    const char* what;
    QString label;
    int index;
    bool simplified, books;
    QString entry, conferee;  // "%1" in the entry stands for the report's text
};

TEST_F(StoreProcs, TalkOpensANewConversationWithTheMessageAsItsFirstEntry)
{
    memory().storeAt(QStringLiteral("SM"), 5, Submit(true), phonesim::kStoSent);
    const QString hello = QStringLiteral("TEXT:     Hello\r\nFROM:     %1 <+15551234567>\r\nAT:     2024/03/15  13:45\r\n") + kRule;
    const QString report = QStringLiteral("TO:     Noname <+15551234567>\r\nMR:     23\r\nSTATUS REPORT:     %1\r\n"
                                          "STATUS TIME:     2024/03/15  13:55\r\n") + kRule;
    const QString noname = QStringLiteral("Noname <+15551234567>");
    const TalkCase cases[] = {
        {"received", QStringLiteral("SIM"), 1, false, false, hello.arg(QStringLiteral("Noname")), noname},
        {"received, known", QStringLiteral("SIM"), 1, false, true, hello.arg(QStringLiteral("Ann")),
         QStringLiteral("Ann <+15551234567>")},
        {"received, simplified", QStringLiteral("SIM"), 1, true, false,
         QStringLiteral("+15551234567, 2024/03/15  13:45>>> Hello"), noname},
        {"report", QStringLiteral("SR"), 1, false, false, report, noname},
        {"report, simplified", QStringLiteral("SR"), 1, true, false,
         QStringLiteral("+15551234567, 2024/03/15  13:45, #23<<< Report: %1, at 2024/03/15  13:55"), noname},
        {"sent with a report", QStringLiteral("SIM"), 5, false, false,
         QStringLiteral("TEXT:     Hi\r\nTO:       Noname <+15551234567>\r\nAT: n/a\r\nMR: n/a\r\n") + kRule, noname},
    };
    frmMessageStore& w = read();
    const QString status = messages().MessageData(location("SR"), 1);
    ASSERT_FALSE(status.isEmpty());
    for (const TalkCase& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        settings().SimplifiedLog(c.simplified);
        books().RemoveAll();
        books().setFilled(c.books);
        if (c.books) {
            books().ResolveBookLocations(QStringLiteral("+CPBS: (\"SM\")"));
            ASSERT_EQ(books().Add(1, 0, QStringLiteral("Ann"), QStringLiteral("+15551234567")), QString());
        }
        click(w, c.label, c.index);
        Procs().StartTalkFromStore(kOwner);
        EXPECT_TRUE(boxes.boxes().empty());
        ASSERT_EQ(conference->TalksCount(), 1);
        Conversation& talk = conference->Talk(1);
        EXPECT_EQ(talk.AllConferees(), QStringList{c.conferee});
        EXPECT_EQ(talk.Log(), kCRLF + (c.entry.contains(QStringLiteral("%1")) ? c.entry.arg(status) : c.entry));
        EXPECT_EQ(talk.Unread(), 1);
        EXPECT_EQ(window.Caption(), QStringLiteral("Parlova (1)"));
    }
}

TEST_F(StoreProcs, AStoredUnsentTextBecomesTheNewMessageAndMoveToStillDeletesIt)
{
    memory().storeAt(QStringLiteral("SM"), 6, Submit(false), phonesim::kStoUnsent);
    frmMessageStore& w = read();
    Conversation& t = team({});
    click(w, QStringLiteral("SIM"), 6);
    // Over a draft it asks first; No keeps the draft and the message.
    t.SetDraft(QStringLiteral("mine"));
    StoreProcedures().ChooseConferenceAndCopy(TalkChoice{QStringLiteral("Team")});
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(prompts(), QStringList{StoreProcedureTexts::ReplaceDraftQuestion(QStringLiteral("Team"))});
    EXPECT_EQ(t.DraftText(), QStringLiteral("mine"));
    EXPECT_EQ(memory().sm.filled.count(6), 1u);

    boxes.answer(platform::vbYes);
    StoreProcedures().ChooseConferenceAndCopy(TalkChoice{QStringLiteral("Team")});
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(t.DraftText(), QStringLiteral("Hi"));
    EXPECT_EQ(static_cast<frmTalk&>(t).Text4->toPlainText(), QStringLiteral("Hi"));
    EXPECT_EQ(t.Log(), QString());
    EXPECT_EQ(memory().sm.filled.count(6), 0u);
    EXPECT_EQ(window.Pane(1).text, QStringLiteral("Team. Delete Message...Done"));
    EXPECT_EQ(w.MSFlexGrid1->Rows(), 4);
}

struct SendCase { const char* what; QStringList conferees; bool pduMode; QString box; QStringList addresses; };

TEST_F(StoreProcs, SendToQueuesOneSmsForTheTelephoneNumbersOnly)
{
    const QString ann = QStringLiteral("Ann <+441111>"), bob = QStringLiteral("Bob <+442222>"),
                  zoe = QStringLiteral("Zoë <zoe@example.com>");
    const SendCase cases[] = {
        {"numbers and a letter", {ann, bob, zoe}, true, QString(), {QStringLiteral("+441111"), QStringLiteral("+442222")}},
        {"no PDU mode", {ann}, false, QStringLiteral("Can not send. SMS service is not available"), {}},
        {"only a letter", {zoe}, true, QStringLiteral("There is nobody to send to. Please add a conferee to Team"), {}},
    };
    frmMessageStore& w = read();
    for (const SendCase& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        boxes.clear();
        Conversation& t = team(c.conferees);
        app.globals().ConnectedPhone->PDUMode = c.pduMode;
        click(w, QStringLiteral("SIM"), 1);
        StoreProcedures().ChooseConferenceAndSend(TalkChoice{QStringLiteral("Team")});
        EXPECT_EQ(boxes.last().prompt, c.box);
        ASSERT_EQ(orders->Count(), c.addresses.isEmpty() ? 0 : 1);
        if (c.addresses.isEmpty())
            continue;
        auto order = std::dynamic_pointer_cast<SendSMS>(orders->Item(1));
        ASSERT_NE(order, nullptr);
        EXPECT_EQ(order->HeldCommand()->Bag(bag::Addresses).toStringList(), c.addresses);
        EXPECT_EQ(order->Owner(), QStringLiteral("Team"));
        EXPECT_EQ(t.Caption(), QStringLiteral("Team (sending 1)"));
        ASSERT_TRUE(runUntilIdle());
        EXPECT_EQ(t.Caption(), QStringLiteral("Team"));
        EXPECT_TRUE(t.Log().contains(QStringLiteral("TO:       Ann <+441111>")));
    }
}

TEST_F(StoreProcs, ProceduresOnAMessageNeedAShownWindowAndADataRow)
{
    const QString none = QStringLiteral("There is no active message");
    const QString hidden = QStringLiteral("The Message Store window is not visible");
    const QString talk = QStringLiteral("Cannot start to talk because of: ");
    struct Case {
        const char* what;
        std::function<void()> run;
        QString lead;
        QString whenHidden;  // sending has no visibility test
    };
    team({});
    const Case cases[] = {
        {"delete", [] { Procs().DeleteStoreMessage(kOwner); }, QString(), hidden},
        {"talk", [] { Procs().StartTalkFromStore(kOwner); }, talk, talk + hidden},
        {"move", [] { StoreProcedures().ChooseConferenceAndCopy(TalkChoice{QStringLiteral("Team")}); }, QString(),
         hidden},
        {"send", [] { StoreProcedures().ChooseConferenceAndSend(TalkChoice{QStringLiteral("Team")}); }, QString(),
         none},
    };
    frmMessageStore& w = read();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        w.MSFlexGrid1->SetRow(0);
        c.run();
        w.AddMessage(location("SM"), 19);  // a row the store holds no message for
        c.run();
        EXPECT_EQ(prompts(), (QStringList{c.lead + none, c.lead + none}));
    }
    handle.Unload();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        c.run();
        EXPECT_EQ(prompts(), QStringList{c.whenHidden});
    }
    EXPECT_EQ(orders->Count(), 0);
    EXPECT_EQ(conference->TalksCount(), 1);

    // "[nowhere]" and a cancelled "More conferences..." do nothing; a theme
    // chosen there is taken.
    handle.SetFocus();
    click(*handle.Window(), QStringLiteral("SIM"), 1);
    boxes.clear();
    StoreProcedures().ChooseConferenceAndCopy(TalkChoice{QString(), false, true});
    StoreProcedures().ChooseConferenceAndSend(TalkChoice{QString(), true});
    ASSERT_EQ(forms.forms.size(), 1u);
    EXPECT_EQ(forms.forms[0].caption, QStringLiteral("All conferences"));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(orders->Count(), 0);
    forms.answerWith<frmAllItems>([](frmAllItems& picker) {
        picker.List1->setCurrentRow(0);
        picker.OKButton->click();
    });
    StoreProcedures().ChooseConferenceAndCopy(TalkChoice{QString(), true});
    EXPECT_EQ(orders->Count(), 1);
    EXPECT_TRUE(conference->Talk(QStringLiteral("Team")).Log().contains(QStringLiteral("Hello")));
}

TEST_F(StoreProcs, TheNumberComesFromTheBooksAndGoesToThem)
{
    frmMessageStore& w = read();
    StoreProcedures().SelectStoreAddress();
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Phonebooks have not been read from the phone.\r\n"
                                                  "To do that, choose 'Tools->Phonebook' from menu."));
    EXPECT_EQ(boxes.last().style, 64);
    EXPECT_TRUE(forms.forms.empty());

    // With "Hello" shown, the chosen contact replaces its number: the
    // editor switches to a new message first.
    books().ResolveBookLocations(QStringLiteral("+CPBS: (\"SM\")"));
    ASSERT_EQ(books().Add(1, 0, QStringLiteral("Ann"), QStringLiteral("+111")), QString());
    books().setFilled(true);
    click(w, QStringLiteral("SIM"), 1);
    ASSERT_EQ(w.Text4->toPlainText(), QStringLiteral("Hello"));
    const auto choose = [](frmConf& chooser) {
        chooser.List2->addItem(QStringLiteral("Ann <+111>"));
        chooser.Command6->click();
    };
    forms.answerWith<frmConf>(choose);
    StoreProcedures().SelectStoreAddress();
    ASSERT_EQ(forms.forms.size(), 1u);
    EXPECT_EQ(forms.forms[0].caption, QStringLiteral("Select a telephone number for Message Store "));
    EXPECT_EQ(w.Text1->text(), QStringLiteral("+111"));
    EXPECT_EQ(w.Label8->text(), QStringLiteral("Ann"));
    EXPECT_EQ(w.Text4->toPlainText(), QString());
    // Cancelled or unsplittable: both kept.
    forms.answerWith<frmConf>([](frmConf& chooser) {
        chooser.List2->addItem(QStringLiteral("Bob +222"));
        chooser.Command6->click();
    });
    StoreProcedures().SelectStoreAddress();
    StoreProcedures().SelectStoreAddress();
    EXPECT_TRUE(prompts().last().startsWith(QStringLiteral("Error occurred: ")));
    EXPECT_EQ(w.Text1->text(), QStringLiteral("+111"));
    EXPECT_EQ(w.Label8->text(), QStringLiteral("Ann"));

    // Copy TelNo To SIM asks for the contact with the number as typed.
    InstallPhonebookProcedures(app.procedures());
    boxes.clear();
    w.Text1->clear();
    StoreProcedures().AddStoreAddressToPhonebook(books().GetSIMBook());
    EXPECT_EQ(prompts(), QStringList{QStringLiteral("No telephone number")});
    w.Text1->setText(QStringLiteral("+111"));
    QString number;
    forms.answerWith<frmNewConf>([&number](frmNewConf& form) { number = form.txtPassword->text(); });
    StoreProcedures().AddStoreAddressToPhonebook(books().GetSIMBook());
    ASSERT_EQ(forms.forms.size(), 4u);
    EXPECT_EQ(forms.forms.back().caption, QStringLiteral("Add contact to SIM"));
    EXPECT_EQ(number, QStringLiteral("+111"));
    EXPECT_EQ(orders->Count(), 0);
}

}  // namespace
