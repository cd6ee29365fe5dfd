// The message-store orders through the queue, the main loop, the real gate
// and the simulated phone's message memories, with a recording
// message-store window.
#include "StoreOrderRig.h"

#include "hub/MessageStorePdus.h"

#include "client/orders/MessageStoreOrders.h"
#include "hub/messages/SMS.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/StoreCommands.h"

using namespace parlova;
using ordertest::PhoneOrderTest;

namespace {

class StoreOrder : public PhoneOrderTest {
protected:
    void SetUp() override
    {
        PhoneOrderTest::SetUp();
        profile().locations = QStringLiteral("(\"SM\",\"ME\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")");
    }

    phonesim::MessageMemory& memory() { return sim().state().get<phonesim::MessageMemory>(); }
    phonesim::StoreProfile& profile() { return sim().state().get<phonesim::StoreProfile>(); }
    qint32 storage(const QString& name)
    {
        qint32 index = -1;
        messages().StoreIndexByName(index, name);
        return index;
    }

    // Connects and reads the store, which opens the window.
    void connectAndRead()
    {
        ASSERT_TRUE(connect());
        auto read = std::make_shared<ReadStoreOrder>();
        ASSERT_TRUE(run(read));
        ASSERT_EQ(read->Result(), QString());
        store.calls.clear();
    }
    // A message of three parts in SM 1-3 and a single one in SM 5.
    void preloadSim()
    {
        for (int part = 1; part <= 3; ++part)
            memory().storeAt(QStringLiteral("SM"), part,
                             storetest::Deliver(QStringLiteral("part %1").arg(part), storetest::kAlice, 7, 3, part),
                             phonesim::kRecRead);
        memory().storeAt(QStringLiteral("SM"), 5, storetest::Deliver(QStringLiteral("single"), storetest::kBob),
                         phonesim::kRecUnread);
    }
    std::shared_ptr<DeleteMessageOrder> remove(qint32 index)
    {
        auto order = std::make_shared<DeleteMessageOrder>();
        order->SetUp(storage(QStringLiteral("SM")), index, QString());
        return order;
    }
};

TEST_F(StoreOrder, ReadingFillsTheStoreAndFocusesTheWindow)
{
    preloadSim();
    memory().storeAt(QStringLiteral("ME"), 2, storetest::Deliver(QStringLiteral("handset")));
    ASSERT_TRUE(connect());

    auto read = std::make_shared<ReadStoreOrder>();
    ASSERT_TRUE(run(read));
    EXPECT_EQ(read->Result(), QString());
    EXPECT_TRUE(messages().Filled());
    EXPECT_EQ(messages().Count(), 3);
    EXPECT_EQ(store.calls, QStringList{QStringLiteral("SetFocus")});
    EXPECT_TRUE(store.Visible());
    EXPECT_EQ(panes.Pane(1).text, QStringLiteral("Read Message Store...Done"));
}

TEST_F(StoreOrder, AReadThatFindsNoStorageSaysWhy)
{
    struct Case {
        phonesim::ScriptedReply reply;
        QString result;
        bool stillConnected;
    };
    const QString failed = QStringLiteral("The Read Message Store operation failed. ");
    const Case cases[] = {
        {phonesim::ScriptedReply::Error(), failed + QStringLiteral("No store"), true},
        {phonesim::ScriptedReply::Text({QStringLiteral("+CPMS: ()")}),
         failed + QStringLiteral("Error: No message locations found"), true},
        {phonesim::ScriptedReply::Silence(), failed + QStringLiteral("No store"), false},
    };
    for (const Case& c : cases) {
        if (!gate().connected()) {
            ASSERT_TRUE(connect());
        }
        store.calls.clear();
        sim().script(QStringLiteral("AT+CPMS=?"), c.reply);
        auto read = std::make_shared<ReadStoreOrder>();
        ASSERT_TRUE(run(read));
        EXPECT_EQ(read->Result(), c.result);
        EXPECT_EQ(panes.Pane(1).text, c.result);
        EXPECT_FALSE(messages().Filled());
        EXPECT_TRUE(store.calls.isEmpty()) << store.calls.join(u',').toStdString();
        EXPECT_EQ(gate().connected(), c.stillConnected);
    }
}

struct WriteCase {
    bool joinParts;
    bool visible;
};

class StoreWrite : public StoreOrder, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(StoreWrite, AThreePartMessageAddsOneRowJoinedAndThreeRowsNot)
{
    const WriteCase c = GetParam();
    connectAndRead();
    store.shown = c.visible;
    Settings::Instance().JoinParts(c.joinParts);

    auto write = std::make_shared<WriteMessageOrder>();
    write->SetUp(QString(400, QLatin1Char('x')), corvane::DEFAULT7BIT, QStringLiteral("+15551234567"),
                 messages().LocationName(storage(QStringLiteral("SM"))), corvane::UNSPECIFIED, QVariant(), 0, QString(),
                 QString());
    ASSERT_TRUE(run(write));
    EXPECT_EQ(write->Result(), QString());
    EXPECT_EQ(write->Progress(), 100);
    EXPECT_EQ(memory().sm.used(), 3);
    EXPECT_EQ(commandsOf(QStringLiteral("AT+CMGW=")).size(), 3);

    const qint32 sm = storage(QStringLiteral("SM"));
    QStringList expected;
    if (c.visible && c.joinParts)
        expected << QStringLiteral("AddMessage %1 1").arg(sm);
    if (c.visible && !c.joinParts)
        for (int slot = 1; slot <= 3; ++slot)
            expected << QStringLiteral("AddMessage %1 %2").arg(sm).arg(slot);
    EXPECT_EQ(store.calls, expected);
    EXPECT_EQ(messages().Count(), c.joinParts ? 1 : 3);
}

INSTANTIATE_TEST_SUITE_P(Parts, StoreWrite,
                         ::testing::Values(WriteCase{true, true}, WriteCase{false, true}, WriteCase{true, false}),
                         [](const auto& info) {
                             return std::string(info.param.joinParts ? "Joined" : "Separate") +
                                    (info.param.visible ? "Visible" : "Hidden");
                         });

TEST_F(StoreOrder, AWriteThePhoneRefusesGivesItsReason)
{
    connectAndRead();
    profile().refusedWrite = 1;
    auto write = std::make_shared<WriteMessageOrder>();
    write->SetUp(QStringLiteral("hello"), corvane::DEFAULT7BIT, QStringLiteral("+15551234567"),
                 messages().LocationName(storage(QStringLiteral("SM"))), corvane::UNSPECIFIED, QVariant(), 0, QString(),
                 QString());
    ASSERT_TRUE(run(write));
    EXPECT_TRUE(write->Result().startsWith(QStringLiteral("The Store Message operation failed. ")))
        << write->Result().toStdString();
    EXPECT_GT(write->Result().size(), QStringLiteral("The Store Message operation failed. ").size());
    EXPECT_TRUE(store.calls.isEmpty());
    EXPECT_EQ(panes.Pane(1).text, write->Result());
}

TEST_F(StoreOrder, DeletingRemovesEveryPartAndTheLastMessageRebuildsTheWindow)
{
    preloadSim();
    connectAndRead();
    ASSERT_EQ(messages().Count(), 2);
    const qint32 sm = storage(QStringLiteral("SM"));

    auto joined = remove(1);
    ASSERT_TRUE(run(joined));
    EXPECT_EQ(joined->Result(), QString());
    EXPECT_EQ(commandsOf(QStringLiteral("AT+CMGD=")),
              (QStringList{QStringLiteral("AT+CMGD=1"), QStringLiteral("AT+CMGD=2"), QStringLiteral("AT+CMGD=3")}));
    ASSERT_EQ(memory().sm.used(), 1);
    EXPECT_EQ(memory().sm.filled.begin()->first, 5);
    EXPECT_EQ(store.calls, QStringList{QStringLiteral("DeleteMessage %1 1").arg(sm)});
    EXPECT_EQ(panes.Pane(1).text, QStringLiteral("Delete Message...Done"));

    store.calls.clear();
    store.state = vbMinimized;
    auto last = remove(5);
    ASSERT_TRUE(run(last));
    EXPECT_EQ(last->Result(), QString());
    EXPECT_EQ(memory().sm.used(), 0);
    EXPECT_EQ(messages().Count(), 0);
    EXPECT_EQ(store.calls, (QStringList{QStringLiteral("WindowState"), QStringLiteral("Unload"),
                                        QStringLiteral("SetFocus"), QStringLiteral("SetWindowState 1")}));
    EXPECT_TRUE(store.Visible());
    EXPECT_EQ(store.state, vbMinimized);
}

TEST_F(StoreOrder, DeletingWhileTheWindowIsNotOpenCountsAsDone)
{
    preloadSim();
    connectAndRead();
    store.Unload();
    store.calls.clear();

    auto joined = remove(1);
    ASSERT_TRUE(run(joined));
    auto last = remove(5);
    ASSERT_TRUE(run(last));
    EXPECT_EQ(joined->Result(), QString());
    EXPECT_EQ(last->Result(), QString());
    EXPECT_EQ(memory().sm.used(), 0);
    // Nothing looked up opened the window.
    EXPECT_FALSE(store.open);
    EXPECT_FALSE(store.calls.contains(QStringLiteral("SetFocus")));
}

TEST_F(StoreOrder, ADeleteTimeOutDisconnectsWithoutAskingAndLeavesTheQueue)
{
    preloadSim();
    connectAndRead();
    sim().script(QStringLiteral("AT+CMGD=*"), phonesim::ScriptedReply::Silence().always());

    auto doomed = remove(5);
    orders().Add(doomed, 0);
    auto waiting = std::make_shared<ReadStoreOrder>();
    orders().Add(waiting, 0);
    ASSERT_TRUE(runUntil([&] { return doomed->Finished() && !orders().ActiveOrder(); }));
    EXPECT_EQ(doomed->Result(), QStringLiteral("The Delete Message operation failed. Time out"));
    EXPECT_FALSE(gate().connected());
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(orders().Count(), 1);
    EXPECT_EQ(orders().Item(1), waiting);
    EXPECT_EQ(panes.Pane(1).text, doomed->Result());
    EXPECT_TRUE(store.calls.isEmpty());
}

// Results the simulated phone cannot produce, handed over in a finished
// command: the two orders word a failed transaction differently.
TEST_F(StoreOrder, FailureTextsByResultCode)
{
    struct Case {
        dorrak::MODEM_RESULT_CODEs result;
        QString write;
        QString remove;
    };
    const Case cases[] = {
        {dorrak::TRANSACTION_FAIL, QStringLiteral(". Transaction failed"), QStringLiteral(". Unknown error")},
        {dorrak::NOT_EXECUTED, QStringLiteral(". Not executed"), QStringLiteral(". Not executed")},
        {dorrak::INTERRUPTED, QStringLiteral(". Unknown error"), QStringLiteral(". Unknown error")},
    };
    for (const Case& c : cases) {
        auto reply = std::make_shared<corvane::PhoneCommand>();
        reply->SetResult(c.result);
        WriteMessageOrder write;
        EXPECT_EQ(write.PutReport(Reply(reply)), QString());
        EXPECT_EQ(write.Result(), QStringLiteral("The Store Message operation failed") + c.write);
        EXPECT_TRUE(write.Finished());
        DeleteMessageOrder remove;
        remove.SetUp(0, 1, QString());
        EXPECT_EQ(remove.PutReport(Reply(reply)), QString());
        EXPECT_EQ(remove.Result(), QStringLiteral("The Delete Message operation failed") + c.remove);
        EXPECT_TRUE(remove.Finished());
    }
    EXPECT_TRUE(store.calls.isEmpty());
}

}  // namespace
