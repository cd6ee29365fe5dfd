// The phone-book orders through the queue, the main loop, the real gate and
// the simulated phone's books, with a recording phone-book window.

#include "client/support/ClientRig.h"
#include "client/orders/ReadBook.h"
#include "client/orders/WriteBookEntry.h"
#include "tools/phonesim/BookCommands.h"

using namespace parlova;

namespace {

class BookOrder : public clienttest::PhoneOrderTest {
protected:
    std::map<int, phonesim::SimBookEntry>& entries(const QString& name)
    {
        return sim().state().get<phonesim::BookProfile>().book(name)->entries;
    }
    void put(const QString& name, int index, const QString& number, const QString& text)
    {
        sim().state().get<phonesim::BookProfile>().book(name)->put(index, number, text);
    }
    QString sm() { return books().BookName(books().GetSIMBook()); }
    QString me() { return books().BookName(books().GetPhoneBook()); }

    // Connects and reads the books, which opens the window.
    void connectAndRead()
    {
        ASSERT_TRUE(connect());
        auto read = std::make_shared<ReadBook>();
        ASSERT_TRUE(run(read));
        ASSERT_EQ(read->Result(), QString());
        EXPECT_TRUE(books().Filled());
        // The read unloads the window as it starts and shows it when done.
        EXPECT_EQ(book.calls, (QStringList{QStringLiteral("Unload"), QStringLiteral("SetFocus")}));
        EXPECT_EQ(window.Pane(1).text, QStringLiteral("Read Phonebook...Done"));
        book.calls.clear();
    }
    OrderPtr write(const QString& location, qint32 index, const QString& name, const QString& number, bool update,
                   bool remove, const QString& from = QString(), qint32 fromIndex = 0)
    {
        auto order = std::make_shared<WriteBookEntry>();
        EXPECT_EQ(order->SetUp(location, index, name, number, QString(), update, remove, from, fromIndex), QString());
        return order;
    }
};

TEST_F(BookOrder, AReadThatFailsSaysWhyAndATimeOutDisconnects)
{
    struct Case {
        phonesim::ScriptedReply reply;
        QString result;
    };
    // The book list refused or unanswered: the chain sets no text of its own.
    // A refused book's parameters: the chain's text, without its line break.
    const Case cases[] = {
        {phonesim::ScriptedReply::Error(), QStringLiteral("The Read Phonebook operation failed. Unknown error")},
        {phonesim::ScriptedReply::Silence(), QStringLiteral("The Read Phonebook operation failed. Time out")},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(connect());
        sim().script(QStringLiteral("AT+CPBS=?"), c.reply);
        auto read = std::make_shared<ReadBook>();
        ASSERT_TRUE(run(read));
        EXPECT_EQ(read->Result(), c.result);
        EXPECT_EQ(window.Pane(1).text, c.result);
        EXPECT_FALSE(books().Filled());
        EXPECT_EQ(book.calls, QStringList{QStringLiteral("Unload")});
        book.calls.clear();
    }
    EXPECT_FALSE((*gate).connected());

    put(QStringLiteral("ME"), 1, QStringLiteral("+4400"), QStringLiteral("Carol"));
    ASSERT_TRUE(connect());
    sim().script(QStringLiteral("AT+CPBR=?"), phonesim::ScriptedReply::Error());
    auto read = std::make_shared<ReadBook>();
    ASSERT_TRUE(run(read));
    EXPECT_EQ(read->Result(), QStringLiteral("Book=%1: reading error").arg(sm()));
    EXPECT_EQ(books().Count(), 1);
    EXPECT_EQ(book.calls, (QStringList{QStringLiteral("Unload"), QStringLiteral("SetFocus")}));
}

class BookWrite : public BookOrder, public ::testing::WithParamInterface<bool> {};

TEST_P(BookWrite, AddUpdateMoveAndDeleteChangeThePhoneAndAVisibleWindowOnly)
{
    const bool visible = GetParam();
    put(QStringLiteral("SM"), 1, QStringLiteral("+111"), QStringLiteral("Ann"));
    put(QStringLiteral("SM"), 2, QStringLiteral("+222"), QStringLiteral("Bob"));
    connectAndRead();
    book.open = visible;
    // A move ends with the removal's text.
    book.reply = QStringLiteral("Contact not found");

    ASSERT_TRUE(run(write(sm(), 0, QStringLiteral("Dora"), QStringLiteral("+444"), false, false)));
    ASSERT_TRUE(run(write(sm(), 1, QStringLiteral("Anna"), QStringLiteral("+111"), true, false)));
    const OrderPtr move = write(me(), 0, QStringLiteral("Bob"), QStringLiteral("+222"), false, true, sm(), 2);
    ASSERT_TRUE(run(move));
    ASSERT_TRUE(run(write(QString(), 0, QString(), QString(), false, true, sm(), 3)));

    EXPECT_EQ(entries(QStringLiteral("SM")).size(), 1u);
    EXPECT_EQ(entries(QStringLiteral("SM"))[1].name, QStringLiteral("Anna"));
    EXPECT_EQ(entries(QStringLiteral("ME"))[1].number, QStringLiteral("+222"));
    EXPECT_EQ(books().Count(), 2);
    const QStringList rows{QStringLiteral("AddContact %1 3").arg(sm()), QStringLiteral("UpdateContact %1 1").arg(sm()),
                           QStringLiteral("AddContact %1 1").arg(me()), QStringLiteral("DeleteContact %1 2").arg(sm()),
                           QStringLiteral("DeleteContact %1 3").arg(sm())};
    EXPECT_EQ(book.calls, visible ? rows : QStringList());
    EXPECT_EQ(move->Result(), visible ? book.reply : QString());
}

INSTANTIATE_TEST_SUITE_P(Window, BookWrite, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Visible" : "Hidden"; });

TEST_F(BookOrder, DeletingTheLastEntryRebuildsTheWindowInItsState)
{
    put(QStringLiteral("SM"), 4, QStringLiteral("+111"), QStringLiteral("Ann"));
    connectAndRead();
    book.state = vbMaximized;
    ASSERT_TRUE(run(write(QString(), 0, QString(), QString(), false, true, sm(), 4)));
    EXPECT_TRUE(entries(QStringLiteral("SM")).empty());
    EXPECT_EQ(book.calls, (QStringList{QStringLiteral("WindowState"), QStringLiteral("Unload"),
                                       QStringLiteral("SetFocus"), QStringLiteral("SetWindowState 2")}));
    EXPECT_TRUE(book.open);
    EXPECT_EQ(book.state, vbMaximized);
}

TEST_F(BookOrder, AnEntryTheChainWouldRefuseIsRefusedBeforeItIsQueued)
{
    const QString failed = QStringLiteral("The Write Phonebook operation failed. Error: ");
    struct Case {
        QString name, number;
        bool ucs2;
        QString result;
    };
    const Case cases[] = {
        {QStringLiteral("Ann"), QStringLiteral("+49 123"), true, failed + QStringLiteral("Invalid characters in dial string")},
        {QStringLiteral("A\";AT+CPBW=1"), QStringLiteral("+1"), false, failed + QStringLiteral("Invalid characters in text string")},
        // Names sent as UCS2 hex cannot end the command early.
        {QStringLiteral("A \"Q\""), QStringLiteral("*31#+1"), true, QString()},
    };
    for (const Case& c : cases) {
        books().setUCS2(c.ucs2);
        WriteBookEntry order;
        EXPECT_EQ(order.SetUp(QStringLiteral("\"SM\""), 0, c.name, c.number, QString(), false, false, QString(), 0),
                  c.result);
    }

    // Queued anyway, it is dropped with its text and nothing reaches the phone.
    ASSERT_TRUE(connect());
    books().setUCS2(false);
    auto refused = std::make_shared<WriteBookEntry>();
    refused->SetUp(QStringLiteral("\"SM\""), 0, QStringLiteral("A\rB"), QStringLiteral("1"), QString(), false, false,
                   QString(), 0);
    (*orders).Add(refused, 0);
    ASSERT_TRUE(runUntil([&] { return idle(); }));
    EXPECT_TRUE(commandsOf(QStringLiteral("AT+CPBW")).isEmpty());
    EXPECT_EQ(window.Pane(1).text, QStringLiteral("ERROR: ") + refused->Result());
}

TEST_F(BookOrder, AWriteSetBackAfterADisconnectionWritesTheEntryWhenItRunsAgain)
{
    connectAndRead();
    // The first write is never answered; the user reconnects meanwhile.
    sim().script(QStringLiteral("AT+CPBW=*"), phonesim::ScriptedReply::Silence());
    const OrderPtr add = write(sm(), 0, QStringLiteral("Dora"), QStringLiteral("+444"), false, false);
    (*orders).Add(add, 0);
    ASSERT_TRUE(runUntil([&] { return !commandsOf(QStringLiteral("AT+CPBW")).isEmpty(); }));

    DisconnectPhone(-1);
    boxes.answer(platform::vbYes);  // try the interrupted order again
    ConnectPhone(phone.comPort());
    ASSERT_EQ(boxes.count(), 1u);
    ASSERT_TRUE(runUntil([&] { return add->Finished() && idle(); }));
    EXPECT_EQ(add->Result(), QString());
    EXPECT_EQ(commandsOf(QStringLiteral("AT+CPBW")).size(), 2);
    ASSERT_EQ(entries(QStringLiteral("SM")).size(), 1u);
    EXPECT_EQ(entries(QStringLiteral("SM")).begin()->second.name, QStringLiteral("Dora"));
    EXPECT_EQ(book.calls, QStringList{QStringLiteral("AddContact %1 1").arg(sm())});
}

}  // namespace
