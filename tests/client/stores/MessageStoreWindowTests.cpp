// The message-store window over the real queue, gate and simulated phone:
// what it shows after a read, its editor, its sort and its public
// operations as the orders' replies use them.
#include "client/support/ClientRig.h"
#include "hub/MessageStorePdus.h"

#include "client/core/Procedures.h"
#include "client/core/ui/StoreGrid.h"
#include "client/stores/MessageStoreProcedures.h"
#include "client/orders/ReadStore.h"
#include "client/orders/WriteMessage.h"
#include "client/stores/MessageStoreTexts.h"
#include "client/stores/ui/MessageStoreHandle.h"
#include "client/stores/ui/MessageStoreMenus.h"
#include "client/stores/ui/frmMessageStore.h"
#include "hub/messages/SMS.h"
#include "platform/ui/Twips.h"
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/StoreCommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QScopeGuard>
#include <QSplitter>

using namespace parlova;

namespace {

const QString kThreeParts = QStringLiteral("The first part of a long one, ") + QStringLiteral("then the second part of it, ") +
                            QStringLiteral("and the third part ends it.");

class StoreWindow : public clienttest::PhoneOrderTest {
protected:
    void SetUp() override
    {
        sim().state().get<phonesim::StoreProfile>().locations =
            QStringLiteral("(\"SM\",\"ME\",\"SR\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")");
        clock().setNow(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 42)));
    }
    phonesim::MessageMemory& memory() { return sim().state().get<phonesim::MessageMemory>(); }
    platform::FakeClock& clock() { return phone.clock(); }
    void storeMessages()
    {
        memory().storeAt(QStringLiteral("SM"), 1, storetest::Deliver(QStringLiteral("Hello")));
        for (int part = 0; part < 3; ++part)
            memory().storeAt(QStringLiteral("SM"), 2 + part,
                             storetest::Deliver(kThreeParts.mid(part * 30, 30), storetest::kBob, 9, 3, part + 1));
    }
    // Connects, reads the store, which opens the window.
    frmMessageStore& read()
    {
        EXPECT_TRUE(connect());
        EXPECT_TRUE(run(std::make_shared<ReadStore>()));
        EXPECT_NE(handle.Window(), nullptr);
        return *handle.Window();
    }
    frmMessageStore& reopen()
    {
        handle.Unload();
        handle.SetFocus();
        return *handle.Window();
    }
    qint32 location(const char* name)
    {
        qint32 index = -1;
        messages().StoreIndexByName(index, QLatin1String(name));
        return index;
    }
    void write(const QString& body, const char* where, const QVariant& validity)
    {
        auto order = std::make_shared<WriteMessage>();
        order->SetUp(body, corvane::DEFAULT7BIT, QStringLiteral("+15550001111"),
                     messages().LocationName(location(where)), corvane::UNSPECIFIED, validity, 0, QString(),
                     QString());
        ASSERT_TRUE(run(order));
        ASSERT_EQ(order->Result(), QString());
    }
    static QStringList items(const frmMessageStore& w)
    {
        QStringList out;
        for (int k = 0; k < w.List1->count(); ++k)
            out << w.List1->item(k)->text();
        return out;
    }
    static QStringList row(const frmMessageStore& w, int r)
    {
        QStringList out;
        for (int c = 0; c < 6; ++c)
            out << w.MSFlexGrid1->TextMatrix(r, c);
        return out;
    }
    static QStringList headers(const frmMessageStore& w) { return row(w, 0); }
    static void type(QWidget* target, const QString& text)
    {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(target, &press);
        }
    }
    static void click(frmMessageStore& w, int col) { Q_EMIT w.MSFlexGrid1->horizontalHeader()->sectionClicked(col); }

    QMdiArea area;
    MessageStoreHandle handle{[this] { return &area; }};
};

TEST_F(StoreWindow, LoadShowsTheMemoriesTheRowsAndTheFirstMessage)
{
    storeMessages();
    frmMessageStore& w = read();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Message Store "));
    EXPECT_EQ(items(w), (QStringList{QStringLiteral("SIM: total 20 / free 16"),
                                     QStringLiteral("Phone: total 250 / free 250"),
                                     QStringLiteral("SR: total 20 / free 20")}));
    EXPECT_EQ(headers(w), (QStringList{QStringLiteral(" Loc "), QStringLiteral(" Index "), QStringLiteral("   Status   "),
                                       QStringLiteral(" Telephone "), QStringLiteral(" DateTime "),
                                       QStringLiteral(" Subject ")}));
    ASSERT_EQ(w.MSFlexGrid1->Rows(), 3);
    EXPECT_EQ(row(w, 1), (QStringList{QStringLiteral("SIM"), QStringLiteral("1"), QStringLiteral("received unread"),
                                      QStringLiteral("+15551234567"), QStringLiteral("2024/03/15 13:45"),
                                      QStringLiteral("Hello")}));
    EXPECT_EQ(w.MSFlexGrid1->TextMatrix(2, 5), kThreeParts.left(70));
    EXPECT_EQ(w.MSFlexGrid1->Row(), 1);
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("Hello"));
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("Unicode"));
    EXPECT_TRUE(w.Option1->isChecked());
    EXPECT_EQ(w.List1->currentRow(), 0);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("+15551234567"));
    EXPECT_EQ(w.Label8->text(), QString());

    // Once the books hold the number, the contact's name shows.
    books().ResolveBookLocations(QStringLiteral("+CPBS: (\"SM\")"));
    ASSERT_EQ(books().Add(1, 0, QStringLiteral("Ann"), QStringLiteral("+15551234567")), QString());
    books().setFilled(true);
    EXPECT_EQ(reopen().Label8->text(), QStringLiteral("Ann"));
}

TEST_F(StoreWindow, AStoredRelativePeriodShowsOnTheSliderInWords)
{
    storeMessages();
    read();
    write(QStringLiteral("Kept on the phone"), "ME", QVariant(167.0));
    frmMessageStore& w = reopen();
    EXPECT_EQ(items(w).at(1), QStringLiteral("Phone: total 250 / free 249"));
    w.MSFlexGrid1->setCurrentCell(2, 0);  // as the user's click
    ASSERT_EQ(w.Text4->toPlainText(), QStringLiteral("Kept on the phone"));
    EXPECT_TRUE(w.Option7->isChecked());
    EXPECT_EQ(w.Slider2->value(), 167);
    EXPECT_EQ(w.Label4->text(), QStringLiteral("24 h 0 min"));
    EXPECT_EQ(w.List1->currentRow(), 1);

    const std::pair<int, const char*> words[] = {{143, "12 h 0 min"}, {144, "12 h 30 min"}, {168, "2 days"},
                                                 {196, "30 days"},    {197, "5 weeks"},     {255, "63 weeks"}};
    for (const auto& [value, text] : words) {
        w.Slider2->setValue(value);
        EXPECT_EQ(w.Label4->text(), QLatin1String(text)) << value;
    }
}

TEST_F(StoreWindow, AnEmptyStoreComposesANewMessageFromTheSettings)
{
    frmMessageStore& w = read();
    EXPECT_EQ(w.MSFlexGrid1->Rows(), 1);
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("Auto"));
    EXPECT_EQ(w.Combo2->currentText(), QStringLiteral("Unspecified"));
    EXPECT_TRUE(w.Option7->isChecked());
    EXPECT_EQ(w.Slider2->value(), 170);
    EXPECT_EQ(w.Label4->text(), QStringLiteral("4 days"));
    EXPECT_FALSE(w.Check1->isChecked());
    EXPECT_EQ(w.DTPicker1->dateTime(), QDateTime(QDate(2026, 12, 9), QTime(14, 5)));
    EXPECT_EQ(w.DTPicker1->displayFormat(), QStringLiteral("yyyy/MM/dd  HH:mm"));
    EXPECT_EQ(w.List1->currentRow(), 0);
    EXPECT_EQ(w.Text4->toPlainText(), QString());
    qint32 l = 7, i = 7;
    EXPECT_EQ(w.ActiveMessage(l, i), QStringLiteral("There is no active message"));
    EXPECT_EQ(l, 7);
}

TEST_F(StoreWindow, TheFirstEditLeavesAStoredMessageForANewOne)
{
    storeMessages();
    frmMessageStore& w = read();
    type(w.Text4, QStringLiteral("H"));
    EXPECT_EQ(w.Text4->toPlainText(), QString());
    EXPECT_EQ(w.MSFlexGrid1->Row(), 0);
    EXPECT_EQ(w.Text1->text(), QString());
    type(w.Text4, QStringLiteral("ello there!!"));
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("ello there!!"));
    EXPECT_EQ(w.Label2->text(), QStringLiteral("12 chr, $0.06"));
    settings().ShowCost(false);
    type(w.Text4, QStringLiteral(" "));
    EXPECT_EQ(w.Label2->text(), QStringLiteral("12 chr"));  // trimmed, as stored
    settings().ShowCost(true);
    w.Text4->setPlainText(QString(200, QLatin1Char('a')));
    EXPECT_EQ(w.Label2->text(), QStringLiteral("200 chr / 2 parts, $0.12"));

    w.MSFlexGrid1->setCurrentCell(0, 0);
    ASSERT_EQ(w.Text4->toPlainText(), QStringLiteral("Hello"));
    type(w.Text1, QStringLiteral("+1"));
    EXPECT_EQ(w.Text1->text(), QStringLiteral("1"));
    EXPECT_EQ(w.Text4->toPlainText(), QString());
    // So does another location chosen with the keys, as with a click.
    w.MSFlexGrid1->setCurrentCell(0, 0);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(w.List1, &down);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(w.Text4->toPlainText(), QString());
    EXPECT_EQ(w.Destination(), 0);

    w.Coding(10);
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("Auto"));
    w.Text4->setPlainText(QStringLiteral("€"));
    EXPECT_EQ(w.CodingA(), 0);
    w.Text4->setPlainText(QStringLiteral("ж"));
    EXPECT_EQ(w.CodingA(), 1);
    w.Class(2);
    w.Class(7);
    EXPECT_EQ(w.Class(), 2);
    const std::pair<qint32, qint32> validity[] = {{1, 0}, {3, 3}, {5, 3}, {-1, 3}, {2, 2}};
    for (const auto& [let, get] : validity) {
        w.Validity(let);
        EXPECT_EQ(w.Validity(), get) << let;
    }
}

TEST_F(StoreWindow, SortingMarksTheHeadersAndKeepsTheDraft)
{
    storeMessages();
    memory().storeAt(QStringLiteral("SM"), 10, storetest::Deliver(QStringLiteral("ten"), storetest::kBob));
    frmMessageStore& w = read();
    for (const char* mark : {"Subject\\/", "Subject/\\", "Subject\\/", "Subject/\\"}) {
        click(w, 5);
        EXPECT_EQ(w.MSFlexGrid1->TextMatrix(0, 5), QLatin1String(mark));
        EXPECT_EQ(w.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("Loc"));
    }
    click(w, 0);
    EXPECT_EQ(w.MSFlexGrid1->TextMatrix(0, 0), QStringLiteral("Loc\\/"));
    QStringList indexes;
    for (int r = 1; r < w.MSFlexGrid1->Rows(); ++r)
        indexes << w.MSFlexGrid1->TextMatrix(r, 1);
    EXPECT_EQ(indexes, (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("10")}));
    click(w, 1);
    EXPECT_EQ(headers(w).mid(0, 3), (QStringList{QStringLiteral("Loc/\\"), QStringLiteral("Index/\\"),
                                                 QStringLiteral("Status")}));
    EXPECT_EQ(w.MSFlexGrid1->TextMatrix(1, 1), QStringLiteral("10"));
    // The row number stays current and its (new) message shows.
    EXPECT_EQ(w.MSFlexGrid1->Row(), 1);
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("ten"));

    // A right click on a row selects it; below the rows it keeps the
    // selection; the Store menu opens with Talk as its default either way.
    Q_EMIT w.MSFlexGrid1->RightClicked(2, QPoint(10, 10));
    EXPECT_EQ(w.MSFlexGrid1->Row(), 2);
    EXPECT_EQ(w.Text4->toPlainText(), kThreeParts);
    EXPECT_EQ(w.MenuSet().StoreMenu()->defaultAction(), w.MenuSet().TalkAction());
    Q_EMIT w.MSFlexGrid1->RightClicked(0, QPoint(10, 10));
    EXPECT_EQ(w.MSFlexGrid1->Row(), 2);
    EXPECT_EQ(w.Text4->toPlainText(), kThreeParts);
    w.MenuSet().StoreMenu()->close();

    // A draft survives a sort, the removal of another row and a right
    // click below the rows.
    type(w.Text4, QStringLiteral("xdraft"));
    ASSERT_EQ(w.Text4->toPlainText(), QStringLiteral("draft"));
    click(w, 3);
    EXPECT_EQ(w.DeleteMessage(location("SM"), 2), QString());
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("draft"));
    EXPECT_EQ(w.MSFlexGrid1->Rows(), 3);
    Q_EMIT w.MSFlexGrid1->RightClicked(0, QPoint(10, 10));
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("draft"));
    EXPECT_EQ(w.MSFlexGrid1->Row(), 0);
    w.MenuSet().StoreMenu()->close();
}

TEST_F(StoreWindow, RowsFollowTheStoreAndDeleteReplies)
{
    storeMessages();
    frmMessageStore& w = read();
    handle.SetWindowState(vbMinimized);
    ASSERT_TRUE(handle.Visible());
    write(QStringLiteral("Stored now"), "SM", QVariant());
    EXPECT_EQ(items(w).at(0), QStringLiteral("SIM: total 20 / free 15"));
    ASSERT_EQ(w.MSFlexGrid1->Rows(), 4);
    EXPECT_EQ(w.MSFlexGrid1->Row(), 3);
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("Stored now"));

    EXPECT_EQ(w.DeleteMessage(location("SM"), 17), QStringLiteral("Not found"));
    EXPECT_EQ(items(w).at(0), QStringLiteral("SIM: total 20 / free 15"));
    EXPECT_EQ(w.MSFlexGrid1->Rows(), 4);

    // A row for a message the store lacks holds none: no active message,
    // nothing to delete under (0, 0), an empty editor.
    w.AddMessage(location("SM"), 19);
    EXPECT_EQ(row(w, 4), QStringList(6, QString()));
    EXPECT_EQ(w.Text4->toPlainText(), QString());
    qint32 l = 5, i = 5;
    EXPECT_EQ(w.ActiveMessage(l, i), QStringLiteral("There is no active message"));
    EXPECT_EQ(w.DeleteMessage(0, 0), QStringLiteral("Not found"));
    EXPECT_EQ(w.MSFlexGrid1->Rows(), 5);
    w.MSFlexGrid1->setCurrentCell(0, 0);
    EXPECT_EQ(w.ActiveMessage(l, i), QString());
    EXPECT_EQ(std::pair(l, i), std::pair(location("SM"), 1));

    // A failure while a message is shown is told in a box; the window
    // stays.
    const auto store = app.globals().PhoneMessages;
    app.globals().PhoneMessages.reset();
    boxes.clear();
    w.MSFlexGrid1->setCurrentCell(1, 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Object variable or With block variable not set (91)"));
    EXPECT_EQ(boxes.last().style, platform::vbExclamation);
    app.globals().PhoneMessages = store;

    // Closed, it has no rows to answer for.
    handle.Unload();
    EXPECT_FALSE(handle.Visible());
    EXPECT_EQ(handle.DeleteMessage(location("SM"), 1), QStringLiteral("Not found"));
    handle.AddMessage(location("SM"), 1);
}

TEST_F(StoreWindow, AfterAStoreEveryColumnButTheSubjectFitsItsText)
{
    frmMessageStore& w = read();
    area.resize(900, 600);
    area.show();
    write(QStringLiteral("Stored now"), "SM", QVariant());
    ASSERT_EQ(w.MSFlexGrid1->Rows(), 2);
    const QFontMetrics metrics(w.MSFlexGrid1->font());
    for (int c = 0; c < 5; ++c)
        EXPECT_GT(w.MSFlexGrid1->columnWidth(c), metrics.horizontalAdvance(w.MSFlexGrid1->TextMatrix(1, c))) << c;
}

TEST_F(StoreWindow, TheOptionsPanelTogglesAndTheLayoutHolds)
{
    storeMessages();
    frmMessageStore& w = read();
    area.resize(1200, 900);
    area.show();
    const auto button = [&] { return window.ButtonValue(tlbStore, QStringLiteral("114")); };
    w.Activated();
    EXPECT_EQ(button(), 1);
    for (bool shown : {false, true}) {
        EXPECT_EQ(w.ToggleMessageOptions(), QString());
        EXPECT_EQ(!w.Panel()->isHidden(), shown);
        EXPECT_EQ(w.MenuSet().MessageOptionsAction()->isChecked(), shown);
        EXPECT_EQ(button(), shown ? 1 : 0);
        EXPECT_FALSE(w.Text4->isHidden());
        EXPECT_FALSE(w.MSFlexGrid1->isHidden());
    }

    for (const auto& [width, list] : {std::pair{7000, 4335}, std::pair{9000, 5925}}) {
        handle.SetWindowState(vbNormal);
        w.resize(platform::TwipsToPixelsX(width), 600);
        w.layout()->activate();
        EXPECT_NEAR(w.List1->width(), platform::TwipsToPixelsX(list), 1) << width;
        EXPECT_EQ(list, MessageStoreTexts::PanelLayout(width).list1Width);
    }
    const int total = w.Splitter()->sizes().at(0) + w.Splitter()->sizes().at(1);
    for (const QList<int>& sizes : {QList<int>{0, total}, QList<int>{total, 0}}) {
        w.Splitter()->setSizes(sizes);
        EXPECT_GT(w.Splitter()->sizes().at(0), 0);
        EXPECT_GT(w.Splitter()->sizes().at(1), 0);
    }
}

TEST_F(StoreWindow, MenusReachTheProceduresAndListTheConversations)
{
    storeMessages();
    frmMessageStore& w = read();
    QStringList calls;
    app.procedures().StartTalkFromStore = [&](const QString& owner) { calls << QStringLiteral("Talk ") + owner; };
    MessageStoreProcedures& store = StoreProcedures();
    store.ChooseConferenceAndSend = [&](const TalkChoice& c) { calls << QStringLiteral("Send ") + c.theme + (c.more ? "+" : ""); };
    store.ChooseConferenceAndCopy = [&](const TalkChoice& c) { calls << QStringLiteral("Move ") + c.theme + (c.more ? "+" : ""); };
    const auto cleanup = qScopeGuard([] { StoreProcedures() = MessageStoreProcedures(); });

    QMenu* menu = w.MenuSet().StoreMenu();
    const auto captions = [](QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions())
            out << a->text();
        return out;
    };
    QAction* timeDate = nullptr;
    QAction* cut = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->text() == QStringLiteral("Ti&me/Date"))
            timeDate = a;
        if (a->text() == QStringLiteral("Cu&t\tCtrl+X"))
            cut = a;
    }
    ASSERT_TRUE(timeDate && cut);
    EXPECT_EQ(timeDate->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_TRUE(cut->shortcut().isEmpty());

    Q_EMIT menu->aboutToShow();
    EXPECT_EQ(captions(w.MenuSet().SendToMenu()), QStringList{QStringLiteral("[nowhere]")});
    w.MenuSet().SendToMenu()->actions().at(0)->trigger();
    EXPECT_TRUE(calls.isEmpty());
    w.MenuSet().TalkAction()->trigger();
    EXPECT_EQ(calls, QStringList{QStringLiteral("Talk Message Store ")});

    // Nine conversations show by name; a tenth gives eight and the picker.
    conferences.open(QStringLiteral("[nowhere]"));
    conferences.open(QStringLiteral("R&D"));
    for (int i = 1; i <= 7; ++i)
        conferences.open(QStringLiteral("Talk %1").arg(i));
    Q_EMIT menu->aboutToShow();
    QStringList nine = captions(w.MenuSet().MoveToMenu());
    EXPECT_EQ(nine.size(), 9);
    EXPECT_EQ(nine.mid(0, 2), (QStringList{QStringLiteral("R&&D"), QStringLiteral("Talk 1")}));
    EXPECT_EQ(nine.last(), QStringLiteral("[nowhere]"));
    calls.clear();
    w.MenuSet().MoveToMenu()->actions().at(0)->trigger();
    w.MenuSet().SendToMenu()->actions().last()->trigger();
    EXPECT_EQ(calls, (QStringList{QStringLiteral("Move R&D"), QStringLiteral("Send [nowhere]")}));

    conferences.open(QStringLiteral("Talk 8"));
    Q_EMIT menu->aboutToShow();
    const QStringList ten = captions(w.MenuSet().SendToMenu());
    ASSERT_EQ(ten.size(), 9);
    EXPECT_EQ(ten.last(), QStringLiteral("More conferences..."));
    calls.clear();
    w.MenuSet().SendToMenu()->actions().last()->trigger();
    EXPECT_EQ(calls, QStringList{QStringLiteral("Send +")});
}

TEST_F(StoreWindow, TheToolbarSlotTogglesTheLoadedWindow)
{
    storeMessages();
    frmMessageStore& w = read();
    Procedures& procedures = app.procedures();
    procedures.ToggleMessageOptions();  // no handle installed: nothing
    EXPECT_FALSE(w.Panel()->isHidden());
    const std::unique_ptr<MessageStoreHandle> installed = MessageStoreHandle::Install(app, [this] { return &area; });
    installed->SetFocus();
    frmMessageStore* mine = MessageStoreHandle::Current();
    ASSERT_NE(mine, nullptr);
    procedures.ToggleMessageOptions();
    EXPECT_TRUE(mine->Panel()->isHidden());
    EXPECT_EQ(window.ButtonValue(tlbStore, QStringLiteral("114")), 0);
    installed->Unload();
    procedures.ToggleMessageOptions();
    EXPECT_EQ(MessageStoreHandle::Current(), nullptr);
}

TEST_F(StoreWindow, TextCommandsActOnlyOnTheMessageText)
{
    frmMessageStore& w = read();
    area.show();
    QApplication::setActiveWindow(&area);
    w.Text4->setPlainText(QStringLiteral("ab\ncd"));
    w.Text1->setText(QStringLiteral("+123"));
    w.Text1->setFocus();
    w.Text1->selectAll();
    w.Cut();
    w.Delete();
    EXPECT_EQ(w.Text1->text(), QStringLiteral("+123"));
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("ab\ncd"));

    w.Text4->setFocus();
    QTextCursor at = w.Text4->textCursor();
    at.setPosition(2);
    w.Text4->setTextCursor(at);
    w.Delete();
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("abcd"));
    at.movePosition(QTextCursor::End);
    w.Text4->setTextCursor(at);
    w.Delete();
    EXPECT_EQ(w.Text4->toPlainText(), QStringLiteral("abcd"));
    w.SelectAll();
    w.Delete();
    EXPECT_EQ(w.Text4->toPlainText(), QString());
    w.Clear();
    EXPECT_EQ(w.Text4->toPlainText(), QString());
}

}  // namespace
