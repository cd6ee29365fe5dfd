// The phone-book orders through the queue, the main loop, the real gate and
// the simulated phone's books, with a recording phone-book window.
#include "StoreOrderRig.h"

#include "client/orders/PhoneBookOrders.h"
#include "tools/phonesim/BookCommands.h"

using namespace parlova;
using ordertest::PhoneOrderTest;

namespace {

class BookOrder : public PhoneOrderTest {
protected:
    phonesim::BookProfile& simBooks() { return sim().state().get<phonesim::BookProfile>(); }
    std::map<int, phonesim::SimBookEntry>& simEntries(const char* name)
    {
        return simBooks().book(QString::fromLatin1(name))->entries;
    }
    QString bookName(qint32 which) { return books().BookName(which); }
    QString sm() { return bookName(books().GetSIMBook()); }
    QString me() { return bookName(books().GetPhoneBook()); }

    // Connects and reads the books, which opens the window.
    void connectAndRead()
    {
        ASSERT_TRUE(connect());
        auto read = std::make_shared<ReadBookOrder>();
        ASSERT_TRUE(run(read));
        ASSERT_EQ(read->Result(), QString());
        ASSERT_TRUE(books().Filled());
        book.calls.clear();
    }

    std::shared_ptr<WriteBookEntryOrder> write(const QString& location, qint32 index, const QString& name,
                                               const QString& number, bool update, bool remove,
                                               const QString& fromLocation = QString(), qint32 fromIndex = 0)
    {
        auto order = std::make_shared<WriteBookEntryOrder>();
        EXPECT_EQ(order->SetUp(location, index, name, number, QString(), update, remove, fromLocation, fromIndex),
                  QString());
        return order;
    }
};

TEST_F(BookOrder, ReadingFillsTheBooksAndFocusesTheWindow)
{
    simBooks().book(QStringLiteral("SM"))->put(1, QStringLiteral("+4912345"), QStringLiteral("Ann"));
    simBooks().book(QStringLiteral("SM"))->put(2, QStringLiteral("555"), QStringLiteral("Bob"));
    simBooks().book(QStringLiteral("ME"))->put(7, QStringLiteral("+4400"), QStringLiteral("Carol"));
    ASSERT_TRUE(connect());

    auto read = std::make_shared<ReadBookOrder>();
    ASSERT_TRUE(run(read));
    EXPECT_EQ(read->Result(), QString());
    EXPECT_EQ(read->Progress(), 100);
    EXPECT_TRUE(books().Filled());
    EXPECT_EQ(books().Count(), 3);
    EXPECT_EQ(book.calls, QStringList{QStringLiteral("SetFocus")});
    EXPECT_TRUE(book.Visible());
    EXPECT_EQ(panes.Pane(1).text, QStringLiteral("Read Phonebook...Done"));
}

TEST_F(BookOrder, AReadThatFailsAtTheBookListSaysWhy)
{
    struct Case {
        phonesim::ScriptedReply reply;
        QString result;
        bool stillConnected;
    };
    const Case cases[] = {
        {phonesim::ScriptedReply::Error(), QStringLiteral("The Read Phonebook operation failed. Unknown error"), true},
        {phonesim::ScriptedReply::Silence(), QStringLiteral("The Read Phonebook operation failed. Time out"), false},
    };
    for (const Case& c : cases) {
        if (!gate().connected()) {
            ASSERT_TRUE(connect());
        }
        book.calls.clear();
        sim().script(QStringLiteral("AT+CPBS=?"), c.reply);
        auto read = std::make_shared<ReadBookOrder>();
        ASSERT_TRUE(run(read));
        EXPECT_EQ(read->Result(), c.result);
        EXPECT_EQ(panes.Pane(1).text, c.result);
        EXPECT_FALSE(books().Filled());
        EXPECT_TRUE(book.calls.isEmpty()) << book.calls.join(u',').toStdString();
        runUntil([&] { return loop.PhoneWasConnected() == gate().connected(); });
        EXPECT_EQ(gate().connected(), c.stillConnected);
    }
}

TEST_F(BookOrder, TheChainsErrorTextComesWithoutItsLineBreak)
{
    simBooks().book(QStringLiteral("ME"))->put(1, QStringLiteral("+4400"), QStringLiteral("Carol"));
    ASSERT_TRUE(connect());
    // The first book's parameters are refused; the second book is read.
    sim().script(QStringLiteral("AT+CPBR=?"), phonesim::ScriptedReply::Error());

    auto read = std::make_shared<ReadBookOrder>();
    ASSERT_TRUE(run(read));
    EXPECT_TRUE(read->Result().startsWith(QStringLiteral("Book="))) << read->Result().toStdString();
    EXPECT_TRUE(read->Result().endsWith(QStringLiteral(": reading error"))) << read->Result().toStdString();
    EXPECT_EQ(panes.Pane(1).text, read->Result());
    EXPECT_TRUE(books().Filled());
    EXPECT_EQ(book.calls, QStringList{QStringLiteral("SetFocus")});
}

class BookWrite : public BookOrder, public ::testing::WithParamInterface<bool> {};

TEST_P(BookWrite, AddUpdateMoveAndDeleteChangeThePhoneAndAVisibleWindowOnly)
{
    const bool visible = GetParam();
    simBooks().book(QStringLiteral("SM"))->put(1, QStringLiteral("+111"), QStringLiteral("Ann"));
    simBooks().book(QStringLiteral("SM"))->put(2, QStringLiteral("+222"), QStringLiteral("Bob"));
    connectAndRead();
    book.shown = visible;
    const auto rows = [&](const QStringList& expected) { return visible ? expected : QStringList(); };

    auto add = write(sm(), 0, QStringLiteral("Dora"), QStringLiteral("+444"), false, false);
    ASSERT_TRUE(run(add));
    EXPECT_EQ(add->Result(), QString());
    ASSERT_EQ(simEntries("SM").count(3), 1u);
    EXPECT_EQ(simEntries("SM")[3].name, QStringLiteral("Dora"));
    EXPECT_EQ(book.calls, rows({QStringLiteral("AddContact %1 3").arg(sm())}));
    book.calls.clear();

    auto update = write(sm(), 1, QStringLiteral("Anna"), QStringLiteral("+111"), true, false);
    ASSERT_TRUE(run(update));
    EXPECT_EQ(simEntries("SM")[1].name, QStringLiteral("Anna"));
    EXPECT_EQ(book.calls, rows({QStringLiteral("UpdateContact %1 1").arg(sm())}));
    book.calls.clear();

    // A move: the row is added in the handset book and removed from the SIM
    // book; the removal's text is the result.
    book.addReply = QStringLiteral("Contact not found");
    auto move = write(me(), 0, QStringLiteral("Bob"), QStringLiteral("+222"), false, true, sm(), 2);
    ASSERT_TRUE(run(move));
    book.addReply.clear();
    EXPECT_EQ(move->Result(), QString());
    EXPECT_EQ(simEntries("SM").count(2), 0u);
    ASSERT_EQ(simEntries("ME").count(1), 1u);
    EXPECT_EQ(simEntries("ME")[1].number, QStringLiteral("+222"));
    EXPECT_EQ(book.calls, rows({QStringLiteral("AddContact %1 1").arg(me()), QStringLiteral("DeleteContact %1 2").arg(sm())}));
    book.calls.clear();

    book.deleteReply = QStringLiteral("Contact not found");
    auto remove = write(QString(), 0, QString(), QString(), false, true, sm(), 1);
    ASSERT_TRUE(run(remove));
    EXPECT_EQ(simEntries("SM").count(1), 0u);
    EXPECT_EQ(book.calls, rows({QStringLiteral("DeleteContact %1 1").arg(sm())}));
    EXPECT_EQ(remove->Result(), visible ? QStringLiteral("Contact not found") : QString());
    EXPECT_EQ(books().Count(), 2);
}

INSTANTIATE_TEST_SUITE_P(Window, BookWrite, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Visible" : "Hidden"; });

TEST_F(BookOrder, DeletingTheLastEntryRebuildsTheWindowInItsState)
{
    simBooks().book(QStringLiteral("SM"))->put(4, QStringLiteral("+111"), QStringLiteral("Ann"));
    connectAndRead();
    book.state = vbMaximized;

    auto remove = write(QString(), 0, QString(), QString(), false, true, sm(), 4);
    ASSERT_TRUE(run(remove));
    EXPECT_EQ(remove->Result(), QString());
    EXPECT_EQ(books().Count(), 0);
    EXPECT_TRUE(simEntries("SM").empty());
    EXPECT_EQ(book.calls, (QStringList{QStringLiteral("WindowState"), QStringLiteral("Unload"),
                                       QStringLiteral("SetFocus"), QStringLiteral("SetWindowState 2")}));
    EXPECT_TRUE(book.Visible());
    EXPECT_EQ(book.state, vbMaximized);
}

TEST_F(BookOrder, AnEntryTheChainWouldRefuseIsRefusedBeforeItIsQueued)
{
    struct Case {
        QString name;
        QString number;
        bool namesAsUCS2;
        QString reason;  // "" when accepted
    };
    const QString dial = QStringLiteral("Invalid characters in dial string");
    const QString text = QStringLiteral("Invalid characters in text string");
    const Case cases[] = {
        {QStringLiteral("Ann"), QStringLiteral("12a"), false, dial},
        {QStringLiteral("Ann"), QStringLiteral("+49 123"), true, dial},
        {QStringLiteral("Ann\";AT+CPBW=1"), QStringLiteral("+1"), false, text},
        {QStringLiteral("Tab\there"), QStringLiteral("+1"), false, text},
        // Names sent as UCS2 hex cannot end the command early.
        {QStringLiteral("Ann \"Q\""), QStringLiteral("*31#+1"), true, QString()},
    };
    for (const Case& c : cases) {
        books().setUCS2(c.namesAsUCS2);
        WriteBookEntryOrder order;
        const QString refused = order.SetUp(QStringLiteral("\"SM\""), 0, c.name, c.number, QString(), false, false,
                                            QString(), 0);
        const QString expected =
            c.reason.isEmpty() ? QString() : QStringLiteral("The Write Phonebook operation failed. Error: ") + c.reason;
        EXPECT_EQ(refused, expected) << c.name.toStdString() << " " << c.number.toStdString();
        EXPECT_EQ(order.Result(), expected);
    }
    // A delete sends no name or number.
    WriteBookEntryOrder remove;
    EXPECT_EQ(remove.SetUp(QString(), 0, QStringLiteral("\""), QStringLiteral("x"), QString(), false, true,
                           QStringLiteral("\"SM\""), 3),
              QString());

    // Queued anyway, it is dropped with its text and nothing reaches the phone.
    ASSERT_TRUE(connect());
    books().setUCS2(false);
    auto refused = std::make_shared<WriteBookEntryOrder>();
    ASSERT_FALSE(refused->SetUp(QStringLiteral("\"SM\""), 0, QStringLiteral("A\rB"), QStringLiteral("1"), QString(),
                                false, false, QString(), 0)
                     .isEmpty());
    orders().Add(refused, 0);
    ASSERT_TRUE(runUntil([&] { return idle(); }));
    EXPECT_TRUE(commandsOf(QStringLiteral("AT+CPBW")).isEmpty());
    EXPECT_FALSE(refused->IsWaitingReply());
    EXPECT_EQ(panes.Pane(1).text, QStringLiteral("ERROR: ") + refused->Result());
}

TEST_F(BookOrder, AWriteTimeOutIsReportedAndKeepsTheConnection)
{
    connectAndRead();
    sim().script(QStringLiteral("AT+CPBW=*"), phonesim::ScriptedReply::Silence());
    auto add = write(sm(), 0, QStringLiteral("Dora"), QStringLiteral("+444"), false, false);
    ASSERT_TRUE(run(add));
    EXPECT_EQ(add->Result(), QStringLiteral("The Write Phonebook operation failed. Time out"));
    EXPECT_EQ(panes.Pane(1).text, add->Result());
    EXPECT_TRUE(gate().connected());
    EXPECT_TRUE(book.calls.isEmpty());
}

TEST_F(BookOrder, AWriteSetBackAfterADisconnectionWritesTheEntryWhenItRunsAgain)
{
    connectAndRead();
    // The first write is never answered; the user reconnects meanwhile.
    sim().script(QStringLiteral("AT+CPBW=*"), phonesim::ScriptedReply::Silence());
    auto add = write(sm(), 0, QStringLiteral("Dora"), QStringLiteral("+444"), false, false);
    orders().Add(add, 0);
    ASSERT_TRUE(runUntil([&] { return !commandsOf(QStringLiteral("AT+CPBW")).isEmpty(); }));

    DisconnectPhone(-1);
    boxes.answer(platform::vbYes);  // try the interrupted order again
    ConnectPhone(phone.comPort());
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().prompt.contains(QStringLiteral("Write Phonebook from ")));

    ASSERT_TRUE(runUntil([&] { return add->Finished() && idle(); }));
    EXPECT_EQ(add->Result(), QString());
    EXPECT_EQ(commandsOf(QStringLiteral("AT+CPBW")).size(), 2);
    ASSERT_EQ(simEntries("SM").size(), 1u);
    EXPECT_EQ(simEntries("SM").begin()->second.name, QStringLiteral("Dora"));
    EXPECT_EQ(book.calls, QStringList{QStringLiteral("AddContact %1 1").arg(sm())});
}

}  // namespace
