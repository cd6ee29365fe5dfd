// The roads through the phone's own stores: the phone-book window and the
// message-store window, each command given as the user gives it and
// checked against what the simulated phone holds afterwards.
#include "e2e/RoadSteps.h"

#include "client/conversations/Conference.h"
#include "client/conversations/ui/frmNewConf.h"
#include "client/core/Globals.h"
#include "client/core/Orders.h"
#include "client/stores/ui/MessageStoreHandle.h"
#include "client/stores/ui/MessageStoreMenus.h"
#include "client/stores/ui/PhonebookHandle.h"
#include "client/stores/ui/frmMessageStore.h"
#include "client/stores/ui/frmPhonebook.h"
#include "hub/MessageStorePdus.h"
#include "tools/phonesim/BookCommands.h"
#include "tools/phonesim/StoreCommands.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace e2e;

namespace {

bool Idle(ProgramRun& run)
{
    const parlova::Orders& orders = *run.app().globals().PhoneOrders;
    return orders.Count() == 0 && !orders.ActiveOrder();
}

// The toolbar button of the current child's toolbar, and the orders it
// queued carried out.
bool Press(ProgramRun& run, parlova::ToolbarId toolbar, const char* tag)
{
    run.window().ButtonAction(toolbar, QLatin1String(tag))->trigger();
    return run.runUntil([&] { return Idle(run); }, 60000);
}

// "SIM 3 Dora +444" for each entry, book by book.
QStringList PhoneEntries(ProgramRun& run)
{
    QStringList out;
    for (const phonesim::SimPhoneBook& book : run.sim().state().get<phonesim::BookProfile>().books)
        for (const auto& [index, entry] : book.entries)
            out << QStringLiteral("%1 %2 %3 %4")
                       .arg(book.name == QLatin1String("SM") ? QStringLiteral("SIM") : QStringLiteral("Phone"))
                       .arg(index)
                       .arg(entry.name, entry.number);
    out.sort();
    return out;
}

QStringList GridEntries(parlova::StoreGrid& grid)
{
    QStringList out;
    for (int r = 1; r < grid.Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << grid.TextMatrix(r, c).trimmed();
        out << cells.join(u' ');
    }
    out.sort();
    return out;
}

// The contact dialog filled and confirmed.
void Type(ProgramRun& run, const QString& name, const QString& number)
{
    run.forms.answerWith<parlova::frmNewConf>([name, number](parlova::frmNewConf& form) {
        if (!name.isNull())
            form.txtUserName->setText(name);
        if (!number.isNull())
            form.txtPassword->setText(number);
        form.cmdOK->click();
    });
}

}  // namespace

TEST(StoreRoads, ThePhoneBookWindowAddsEditsMovesAndDeletesOnThePhone)
{
    ProgramRun run;
    RememberPhone();
    run.sim().state().get<phonesim::BookProfile>().putSampleContacts();
    const int result = run.run({}, [&] {
        ASSERT_TRUE(Connect(run));
        // F12: the books are read once asked, and the window shows them.
        run.boxes.answer(platform::vbYes);
        run.window().MenuAction(QStringLiteral("mnuToolsPhonebook"))->trigger();
        ASSERT_TRUE(run.runUntil([] { return parlova::PhonebookHandle::CurrentWindow() != nullptr; }, 60000));
        parlova::frmPhonebook& book = *parlova::PhonebookHandle::CurrentWindow();
        ASSERT_TRUE(run.runUntil([&] { return Idle(run) && book.isVisible(); }));
        parlova::StoreGrid& grid = *book.MSFlexGrid1;
        EXPECT_EQ(GridEntries(grid), PhoneEntries(run));
        ASSERT_EQ(grid.Rows(), 5);

        const struct {
            const char* step;
            QString row[2];  // the row chosen first, if any
            const char* button;
            std::function<void()> answer;
        } steps[] = {
            {"add to SIM", {}, "19", [&] { Type(run, QStringLiteral("Dora"), QStringLiteral("+444")); }},
            {"edit", {QStringLiteral("SIM"), QStringLiteral("2")}, "21",
             [&] { Type(run, QStringLiteral("Robert"), QString()); }},
            {"move to the phone", {QStringLiteral("SIM"), QStringLiteral("10")}, "23",
             [&] { Type(run, QString(), QString()); }},
            {"delete", {QStringLiteral("Phone"), QStringLiteral("1")}, "22",
             [&] { run.boxes.answer(platform::vbYes); }},
        };
        for (const auto& s : steps) {
            SCOPED_TRACE(s.step);
            if (!s.row[0].isEmpty()) {
                ASSERT_TRUE(ClickRow(grid, s.row[0], s.row[1]));
            }
            s.answer();
            ASSERT_TRUE(Press(run, parlova::tlbBook, s.button)) << Pane(run, 1).toStdString();
            EXPECT_EQ(Pane(run, 1), QStringLiteral("Menu. Write Phonebook...Done"));
            EXPECT_EQ(GridEntries(grid), PhoneEntries(run));
        }
        EXPECT_EQ(PhoneEntries(run), (QStringList{QStringLiteral("Phone 2 ") + QString::fromUtf8("Zoë +1010"),
                                                  QStringLiteral("SIM 1 Ann +111"), QStringLiteral("SIM 2 Robert +222"),
                                                  QStringLiteral("SIM 3 Dora +444")}));
        EXPECT_EQ(book.Label1->text(), QStringLiteral("SIM: 250 total / 247 free    Phone: 500 total / 499 free"));
        EXPECT_EQ(run.forms.forms.size(), 3u);
        EXPECT_EQ(run.boxes.count(), 2u);
        Close(run, {});
    });
    EXPECT_EQ(result, 0);
}

TEST(StoreRoads, TheMessageStoreReadsStoresMovesAndDeletesOnThePhone)
{
    ProgramRun run;
    RememberPhone();
    Option("JoinParts", QStringLiteral("True"));
    run.sim().state().get<phonesim::StoreProfile>().locations =
        QStringLiteral("(\"SM\",\"ME\",\"SR\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")");
    phonesim::MessageMemory& memory = Memory(run);
    memory.storeAt(QStringLiteral("SM"), 1, storetest::Deliver(QStringLiteral("Hello")));
    const QString parts[] = {QStringLiteral("Lunch on Friday? The new place "), QStringLiteral("by the river opens at noon.")};
    for (int part = 0; part < 2; ++part)
        memory.storeAt(QStringLiteral("SM"), 2 + part, storetest::Deliver(parts[part], storetest::kBob, 9, 2, part + 1));
    const int result = run.run({}, [&] {
        ASSERT_TRUE(Connect(run));
        run.window().MenuAction(QStringLiteral("mnuFileNew"))->trigger();
        ASSERT_EQ(TalkWindowsShown(run).size(), 1);
        parlova::frmTalk& talk = *TalkWindowsShown(run)[0];

        // F11: the memories are read once asked; what was unread on the
        // phone is read now.
        run.boxes.answer(platform::vbYes);
        run.window().MenuAction(QStringLiteral("mnuToolsMessageStore"))->trigger();
        ASSERT_TRUE(run.runUntil([] { return parlova::MessageStoreHandle::Current() != nullptr; }, 60000));
        parlova::frmMessageStore& store = *parlova::MessageStoreHandle::Current();
        ASSERT_TRUE(run.runUntil([&] { return Idle(run) && store.isVisible(); }));
        parlova::StoreGrid& grid = *store.MSFlexGrid1;
        EXPECT_EQ(grid.Rows(), 3) << "the two parts are one row";
        ASSERT_TRUE(ClickRow(grid, QStringLiteral("SIM"), QStringLiteral("1")));
        EXPECT_EQ(store.Text4->toPlainText(), QStringLiteral("Hello"));
        EXPECT_EQ(memory.sm.filled.at(1).stat, phonesim::kRecRead);

        // Store: a new message of two parts, kept as one.
        const QString text = QString(100, QLatin1Char('a')) + QString(100, QLatin1Char('b'));
        store.Text4->setPlainText(text);
        store.Text4->setPlainText(text);
        store.Text1->setText(QStringLiteral("+15550001000"));
        const size_t before = memory.sm.filled.size() + memory.me.filled.size();
        ASSERT_TRUE(Press(run, parlova::tlbStore, "29")) << Pane(run, 1).toStdString();
        EXPECT_EQ(memory.sm.filled.size() + memory.me.filled.size() - before, 2u);
        EXPECT_EQ(grid.Rows(), 4);

        // Store, Move To, the conversation: its log takes the message and
        // the phone lets both parts go.
        ASSERT_TRUE(ClickRow(grid, QStringLiteral("SIM"), QStringLiteral("2")));
        store.MenuSet().RebuildTalkSubmenus();
        QAction* moveTo = MenuItem(store.MenuSet().MoveToMenu(), talk.Theme());
        ASSERT_TRUE(moveTo);
        moveTo->trigger();
        ASSERT_TRUE(run.runUntil([&] { return Idle(run); }, 60000));
        EXPECT_TRUE(talk.Log().contains(QStringLiteral("TEXT:     ") + parts[0] + parts[1])) << talk.Log().toStdString();
        EXPECT_EQ(memory.sm.filled.count(2) + memory.sm.filled.count(3), 0u);
        EXPECT_EQ(grid.Rows(), 3);

        // Delete Message, confirmed.
        ASSERT_TRUE(ClickRow(grid, QStringLiteral("SIM"), QStringLiteral("1")));
        run.boxes.answer(platform::vbYes);
        ASSERT_TRUE(Press(run, parlova::tlbStore, "122")) << Pane(run, 1).toStdString();
        EXPECT_EQ(memory.sm.filled.count(1), 0u);
        EXPECT_EQ(grid.Rows(), 2);
        EXPECT_EQ(memory.sm.filled.size() + memory.me.filled.size(), 2u) << "the stored message's parts alone";
        EXPECT_EQ(Pane(run, 1), QStringLiteral("Message Store . Delete Message...Done"));
        Close(run, {Unread(1, platform::vbYes), Unsaved(platform::vbNo)});
    });
    EXPECT_EQ(result, 0);
}
