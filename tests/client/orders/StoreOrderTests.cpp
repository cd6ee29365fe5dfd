// The message-store orders through the queue, the main loop, the real gate
// and the simulated phone's message memories, with a recording window.

#include "client/support/ClientRig.h"
#include "hub/MessageStorePdus.h"

#include "client/orders/ReadStore.h"
#include "client/orders/WriteMessage.h"
#include "client/orders/DeleteMessage.h"
#include "hub/messages/SMS.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/StoreCommands.h"

using namespace parlova;

namespace {

class StoreOrder : public clienttest::PhoneOrderTest {
protected:
    void SetUp() override
    {
        PhoneOrderTest::SetUp();
        sim().state().get<phonesim::StoreProfile>().locations =
            QStringLiteral("(\"SM\",\"ME\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")");
        // A message of three parts in SM 1-3 and a single one in SM 5.
        for (int part = 1; part <= 3; ++part)
            memory().storeAt(QStringLiteral("SM"), part,
                             storetest::Deliver(QStringLiteral("part %1").arg(part), storetest::kAlice, 7, 3, part));
        memory().storeAt(QStringLiteral("SM"), 5, storetest::Deliver(QStringLiteral("single"), storetest::kBob));
    }
    phonesim::MessageMemory& memory() { return sim().state().get<phonesim::MessageMemory>(); }
    qint32 sm()
    {
        qint32 index = -1;
        messages().StoreIndexByName(index, QStringLiteral("SM"));
        return index;
    }
    void connectAndRead()
    {
        ASSERT_TRUE(connect());
        auto read = std::make_shared<ReadStore>();
        ASSERT_TRUE(run(read));
        ASSERT_EQ(read->Result(), QString());
        EXPECT_TRUE(messages().Filled());
        EXPECT_EQ(messages().Count(), 2);
        EXPECT_EQ(store.calls, (QStringList{QStringLiteral("Unload"), QStringLiteral("SetFocus")}));
        EXPECT_EQ(window.Pane(1).text, QStringLiteral("Read Message Store...Done"));
        store.calls.clear();
    }
    OrderPtr remove(qint32 index)
    {
        auto order = std::make_shared<DeleteMessage>();
        order->SetUp(sm(), index, QString());
        return order;
    }
};

struct WriteCase {
    bool joinParts;
    bool visible;
};

class StoreWrite : public StoreOrder, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(StoreWrite, AThreePartMessageAddsOneRowJoinedAndThreeRowsNot)
{
    const WriteCase c = GetParam();
    memory().sm.filled.clear();
    memory().me.filled.clear();
    ASSERT_TRUE(connect());
    ASSERT_TRUE(run(std::make_shared<ReadStore>()));
    store.open = c.visible;
    store.calls.clear();
    Settings::Instance().JoinParts(c.joinParts);

    auto write = std::make_shared<WriteMessage>();
    write->SetUp(QString(400, QLatin1Char('x')), corvane::DEFAULT7BIT, QStringLiteral("+15551234567"),
                 messages().LocationName(sm()), corvane::UNSPECIFIED, QVariant(), 0, QString(), QString());
    ASSERT_TRUE(run(write));
    EXPECT_EQ(write->Result(), QString());
    EXPECT_EQ(memory().sm.used(), 3);
    QStringList rows;
    for (int slot = 1; slot <= (c.joinParts ? 1 : 3); ++slot)
        rows << QStringLiteral("AddMessage %1 %2").arg(sm()).arg(slot);
    EXPECT_EQ(store.calls, c.visible ? rows : QStringList());
}

INSTANTIATE_TEST_SUITE_P(Parts, StoreWrite,
                         ::testing::Values(WriteCase{true, true}, WriteCase{false, true}, WriteCase{false, false}),
                         [](const auto& info) {
                             return std::string(info.param.joinParts ? "Joined" : "Separate") +
                                    (info.param.visible ? "Visible" : "Hidden");
                         });

TEST_F(StoreOrder, DeletingRemovesEveryPartAndTheLastMessageReopensAClosedWindow)
{
    connectAndRead();
    ASSERT_TRUE(run(remove(1)));
    EXPECT_EQ(commandsOf(QStringLiteral("AT+CMGD=")),
              (QStringList{QStringLiteral("AT+CMGD=1"), QStringLiteral("AT+CMGD=2"), QStringLiteral("AT+CMGD=3")}));
    ASSERT_EQ(memory().sm.used(), 1);
    EXPECT_EQ(store.calls, QStringList{QStringLiteral("DeleteMessage %1 1").arg(sm())});
    EXPECT_EQ(window.Pane(1).text, QStringLiteral("Delete Message...Done"));

    // An open window loses the last row as any other, keeping what is
    // typed in it.
    store.calls.clear();
    store.state = vbMinimized;
    ASSERT_TRUE(run(remove(5)));
    EXPECT_EQ(memory().sm.used(), 0);
    EXPECT_EQ(store.calls, QStringList{QStringLiteral("DeleteMessage %1 5").arg(sm())});
    EXPECT_EQ(store.state, vbMinimized);

    // A window that is not open has no row to remove; once the last message
    // is gone it is opened again all the same.
    memory().storeAt(QStringLiteral("SM"), 5, storetest::Deliver(QStringLiteral("again")));
    memory().storeAt(QStringLiteral("SM"), 6, storetest::Deliver(QStringLiteral("more")));
    ASSERT_TRUE(run(std::make_shared<ReadStore>()));
    store.Unload();
    store.state = vbNormal;
    store.calls.clear();
    const OrderPtr unseen = remove(5);
    ASSERT_TRUE(run(unseen));
    EXPECT_EQ(unseen->Result(), QString());
    EXPECT_TRUE(store.calls.isEmpty());
    ASSERT_TRUE(run(remove(6)));
    EXPECT_EQ(store.calls, (QStringList{QStringLiteral("WindowState"), QStringLiteral("Unload"),
                                        QStringLiteral("SetFocus"), QStringLiteral("SetWindowState 0")}));
    EXPECT_TRUE(store.open);
}

TEST_F(StoreOrder, ADeleteTimeOutDisconnectsWithoutAskingAndLeavesTheQueue)
{
    connectAndRead();
    sim().script(QStringLiteral("AT+CMGD=*"), phonesim::ScriptedReply::Silence().always());
    const OrderPtr doomed = remove(5);
    (*orders).Add(doomed, 0);
    const OrderPtr waiting = std::make_shared<ReadStore>();
    (*orders).Add(waiting, 0);
    ASSERT_TRUE(runUntil([&] { return doomed->Finished() && !(*orders).ActiveOrder(); }));
    EXPECT_EQ(doomed->Result(), QStringLiteral("The Delete Message operation failed. Time out"));
    EXPECT_EQ(window.Pane(1).text, doomed->Result());
    EXPECT_FALSE((*gate).connected());
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ((*orders).Count(), 1);
    EXPECT_EQ((*orders).Item(1), waiting);
}

}  // namespace
