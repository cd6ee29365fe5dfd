// The order queue on its own: keys, positions, the active order, replies for
// the right and the wrong key, and what the main window is told.

#include "client/support/ClientRig.h"
#include <gtest/gtest.h>

using parlova::Order;
using parlova::OrderPtr;
using parlova::Orders;
using parlova::Reply;

namespace {

// An order that records what the queue asks of it.
class FakeOrder : public Order {
public:
    explicit FakeOrder(QString name = QStringLiteral("Fake")) : name_(std::move(name)) {}
    QString NameOrder() const override { return name_; }
    QVariant Start() override
    {
        ++starts;
        ResetRunState();
        return QVariant();
    }
    QString GetCommand() override
    {
        ++gets;
        waitingReply_ = getText.isEmpty();
        return getText;
    }
    QString PutReport(const Reply& reply) override
    {
        ++reports;
        lastOwner = reply.Owner();
        result_ = resultText;
        finished_ = true;
        return reportText;
    }
    int starts = 0, gets = 0, reports = 0;
    qint32 lastOwner = 0;
    QString getText, reportText, resultText;

private:
    QString name_;
};

corvane::PhoneCommandPtr ReplyFrom(qint32 owner)
{
    auto c = std::make_shared<corvane::PhoneCommand>();
    c->SetUp(QStringLiteral("AT\r"), QStringLiteral("OK\r"), QStringLiteral("ERROR\r"), owner, 100);
    return c;
}

class OrdersQueue : public ::testing::Test {
protected:
    parlova::Application app;
    clienttest::RecordingMainWindow window;
    parlova::WindowRegistration registration = app.windows().Register(window);
    Orders queue;
};

}  // namespace

TEST_F(OrdersQueue, KeysArePerQueueAndPositionsAreKept)
{
    Orders other;
    auto a = std::make_shared<FakeOrder>(QStringLiteral("A"));
    auto b = std::make_shared<FakeOrder>(QStringLiteral("B"));
    auto c = std::make_shared<FakeOrder>(QStringLiteral("C"));
    auto x = std::make_shared<FakeOrder>(QStringLiteral("X"));
    EXPECT_EQ(queue.Add(a, 1), QString());  // empty queue: simply appended
    EXPECT_EQ(queue.Add(b, 0), QString());
    EXPECT_EQ(queue.Add(c, 1), QString());  // before the head
    EXPECT_EQ(other.Add(x, 0), QString());
    EXPECT_EQ(a->Key(), -1);
    EXPECT_EQ(b->Key(), -2);
    EXPECT_EQ(c->Key(), -3);
    EXPECT_EQ(x->Key(), -1);
    ASSERT_EQ(queue.Count(), 3);
    QStringList names;
    for (const OrderPtr& o : queue)
        names << o->NameOrder();
    EXPECT_EQ(names, (QStringList{"C", "A", "B"}));
    // A position past the end is an error text, and the order is not queued.
    EXPECT_EQ(queue.Add(std::make_shared<FakeOrder>(), 9), QStringLiteral("Subscript out of range (9)"));
    EXPECT_EQ(queue.Count(), 3);
    EXPECT_FALSE(queue.IsWaitingReply());
    queue.RemoveAll();
    EXPECT_EQ(queue.Count(), 0);
}

TEST_F(OrdersQueue, RunsOneOrderAtATimeAndShowsItsCaption)
{
    auto first = std::make_shared<FakeOrder>(QStringLiteral("Send SMS"));
    first->SetOwner(QStringLiteral("Conference1"));
    auto second = std::make_shared<FakeOrder>(QStringLiteral("Query Phone"));
    queue.Add(first, 0);
    queue.Add(second, 0);

    EXPECT_EQ(queue.GetCommand(), QString());
    EXPECT_EQ(queue.ActiveOrder(), first);
    EXPECT_TRUE(queue.IsWaitingReply());
    EXPECT_EQ(window.Pane(1).text, QStringLiteral("Conference1. Send SMS..."));
    // While one is active nothing else starts.
    EXPECT_EQ(queue.GetCommand(), QString());
    EXPECT_EQ(second->starts, 0);
    EXPECT_EQ(queue.Count(), 1);

    EXPECT_EQ(queue.PutReport(Reply(ReplyFrom(-1))), QString());
    EXPECT_EQ(first->reports, 1);
    EXPECT_EQ(queue.ActiveOrder(), nullptr);
    EXPECT_EQ(window.Pane(1).text, QStringLiteral("Conference1. Send SMS...Done"));

    second->resultText = QStringLiteral("It failed");
    queue.GetCommand();
    queue.PutReport(Reply(ReplyFrom(-2)));
    EXPECT_EQ(window.Pane(1).text, QStringLiteral("It failed"));
    EXPECT_EQ(window.alerts, QStringList{QStringLiteral("It failed")});
}

TEST_F(OrdersQueue, RepliesWithoutTheActiveKey)
{
    EXPECT_EQ(queue.PutReport(Reply()), QString());
    EXPECT_EQ(queue.PutReport(Reply(ReplyFrom(-1))), QStringLiteral("No order to process reply"));

    for (int i = 0; i < 3; ++i)
        queue.Add(std::make_shared<FakeOrder>(), 0);
    queue.Remove(1);
    queue.Remove(1);  // the third order, key -3, is left
    queue.GetCommand();
    auto active = std::dynamic_pointer_cast<FakeOrder>(queue.ActiveOrder());
    ASSERT_TRUE(active);
    EXPECT_EQ(queue.PutReport(Reply(ReplyFrom(-5))),
              QStringLiteral("Order received another`s reply\r\nOrder ID = -3, reply owner = -5"));
    EXPECT_EQ(active->reports, 0);
    EXPECT_EQ(queue.ActiveOrder(), active);
}

TEST_F(OrdersQueue, SetBackRunsTheSameOrderAgain)
{
    auto first = std::make_shared<FakeOrder>(QStringLiteral("One"));
    auto second = std::make_shared<FakeOrder>(QStringLiteral("Two"));
    queue.Add(first, 0);
    queue.Add(second, 0);
    queue.GetCommand();
    EXPECT_EQ(queue.SetBack(), QString());
    EXPECT_EQ(queue.ActiveOrder(), nullptr);
    ASSERT_EQ(queue.Count(), 2);
    EXPECT_EQ(queue.Item(1), first);
    queue.GetCommand();
    EXPECT_EQ(queue.ActiveOrder(), first);
    EXPECT_EQ(first->Key(), -1);
    EXPECT_EQ(first->starts, 2);
    EXPECT_EQ(first->gets, 2);
    queue.RemoveActiveOrder();
    EXPECT_EQ(queue.ActiveOrder(), nullptr);
    EXPECT_EQ(first->reports, 0);
}

TEST_F(OrdersQueue, AnOrderThatCannotPushItsCommandDoesNotHoldUpTheQueue)
{
    auto broken = std::make_shared<FakeOrder>(QStringLiteral("Broken"));
    broken->getText = QStringLiteral("Object variable or With block variable not set (91)");
    auto next = std::make_shared<FakeOrder>(QStringLiteral("Next"));
    queue.Add(broken, 0);
    queue.Add(next, 0);
    EXPECT_EQ(queue.GetCommand(), broken->getText);
    EXPECT_EQ(queue.ActiveOrder(), nullptr);
    EXPECT_EQ(queue.GetCommand(), QString());
    EXPECT_EQ(queue.ActiveOrder(), next);
}

TEST_F(OrdersQueue, WithoutAMainWindowTheFailureIsAText)
{
    registration.Release();
    queue.Add(std::make_shared<FakeOrder>(), 0);
    EXPECT_EQ(queue.GetCommand(), QStringLiteral("Object variable or With block variable not set (91)"));
}

TEST(MainWindowPanes, ProgressTexts)
{
    parlova::MainWindowPanes panes;
    struct Case {
        qint32 percent;
        const char* caption;
        const char* shown;
    } cases[] = {
        {0, "Send SMS", "Send SMS..."}, {45, "", "Send SMS...45%"},   {100, "", "Send SMS...Done"},
        {250, "", "Send SMS...Done"},   {-7, "", "Send SMS...-7%"},   {-1, "Other", ""},
        {0, "", "..."},                 {0, "Query Phone", "Query Phone..."},
    };
    for (const Case& c : cases) {
        panes.ShowProgress(c.percent, QString::fromUtf8(c.caption));
        EXPECT_EQ(panes.Pane(1).text, QString::fromUtf8(c.shown)) << c.percent << " " << c.caption;
    }
}
