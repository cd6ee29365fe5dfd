// The phone-book window and its procedures over the real queue, main loop,
// gate and simulated phone (SIM: Ann, Bob, Zoë; handset: Carol), with the
// real conference registry; boxes and forms answered by recorders.
#include "client/support/ClientRig.h"

#include "client/conversations/BookNames.h"
#include "client/conversations/Conference.h"
#include "client/conversations/ui/frmNewConf.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/ModalQuestion.h"
#include "client/core/ui/StoreGrid.h"
#include "client/core/ui/frmAllItems.h"
#include "client/orders/ReadBook.h"
#include "client/stores/PhonebookTexts.h"
#include "client/stores/ui/PhonebookHandle.h"
#include "client/stores/ui/PhonebookMenus.h"
#include "client/stores/ui/PhonebookProcedures.h"
#include "client/stores/ui/frmPhonebook.h"
#include "support/ui/ModalFormRecorder.h"
#include "platform/ui/Dialogs.h"
#include "tools/phonesim/BookCommands.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

using namespace parlova;

namespace {

const QString kZoe = QString::fromUtf8("Zo\xc3\xab");

// A conversation without a widget that counts how often it was brought
// to the front.
class FrontTalk : public Conversation {
public:
    explicit FrontTalk(int& fronts) : fronts_(fronts) {}
    void TakeFocus() override { ++fronts_; }

private:
    int& fronts_;
};

class Phonebook : public clienttest::PhoneOrderTest {
protected:
    Phonebook()
    {
        bookProfile().putSampleContacts();
        app.globals().Conferences = conference;
        InstallPhonebookProcedures(app.procedures());
        area.resize(900, 700);
        area.show();
    }
    ~Phonebook() override
    {
        while (conference->TalksCount() > 0)
            conference->Talk(1).Discard();
    }

    phonesim::BookProfile& bookProfile() { return sim().state().get<phonesim::BookProfile>(); }
    std::map<int, phonesim::SimBookEntry>& entries(const char* book)
    {
        return bookProfile().book(QLatin1String(book))->entries;
    }
    // Connects and reads the books, which opens the window.
    frmPhonebook& read()
    {
        EXPECT_TRUE(connect());
        EXPECT_TRUE(run(std::make_shared<ReadBook>()));
        EXPECT_NE(handle.Window(), nullptr);
        return *handle.Window();
    }
    frmPhonebook& w() { return *handle.Window(); }
    QStringList row(int r) { return {w().MSFlexGrid1->TextMatrix(r, 0), w().MSFlexGrid1->TextMatrix(r, 1),
                                      w().MSFlexGrid1->TextMatrix(r, 2), w().MSFlexGrid1->TextMatrix(r, 3)}; }
    QList<QStringList> rows()
    {
        QList<QStringList> out;
        for (int r = 1; r < w().MSFlexGrid1->Rows(); ++r)
            out << row(r);
        return out;
    }
    QStringList headers() { return row(0); }
    QString totals() { return w().Label1->text(); }
    // Makes the row of the named contact current.
    void select(const QString& name)
    {
        for (int r = 1; r < w().MSFlexGrid1->Rows(); ++r)
            if (w().MSFlexGrid1->TextMatrix(r, 2) == name)
                return w().MSFlexGrid1->SetRow(r);
        ADD_FAILURE() << "no row for " << name.toStdString();
    }
    // A conversation; a theme given is kept.
    QString open(const QString& theme = QString())
    {
        nextTheme = theme;
        QString made, warnings;
        EXPECT_EQ(conference->AddTalk(made, warnings, QString()), QString());
        return made;
    }
    QStringList includeItems()
    {
        w().MenuSet().RebuildIncludeIn();
        QStringList out;
        for (QAction* a : w().MenuSet().IncludeInMenu()->actions())
            out << a->text();
        return out;
    }
    void include(const QString& caption)
    {
        w().MenuSet().RebuildIncludeIn();
        for (QAction* a : w().MenuSet().IncludeInMenu()->actions())
            if (a->text() == caption)
                return a->trigger();
        ADD_FAILURE() << "no item " << caption.toStdString();
    }

    // The contact dialog as it was shown, then filled and confirmed (or
    // cancelled with a null name).
    struct Shown { QString caption, name, number; int nameLen = 0, numberLen = 0; };
    void answerContact(Shown& shown, const QString& name, const QString& number,
                       const std::function<void()>& whileOpen = {})
    {
        forms.answerWith<frmNewConf>([&shown, name, number, whileOpen](frmNewConf& f) {
            shown = {f.windowTitle(),          f.txtUserName->text(), f.txtPassword->text(),
                     frmNewConf::MaxLength(f.txtUserName), frmNewConf::MaxLength(f.txtPassword)};
            if (whileOpen)
                whileOpen();
            if (name.isNull()) {
                f.cmdCancel->click();
                return;
            }
            f.txtUserName->setText(name);
            f.txtPassword->setText(number);
            f.cmdOK->click();
        });
    }
    void doubleClick(const QPoint& at)
    {
        QWidget* port = w().MSFlexGrid1->viewport();
        for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick}) {
            QMouseEvent e(t, at, port->mapToGlobal(at), Qt::LeftButton,
                          t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(port, &e);
        }
    }

    int fronts = 0;
    QString nextTheme;
    std::shared_ptr<Conference> conference = std::make_shared<Conference>([this] {
        auto* t = new FrontTalk(fronts);
        t->SetTheme(std::exchange(nextTheme, QString()));
        return t;
    });
    QMdiArea area;
    PhonebookHandle handle{[this] { return &area; }};
    platform::ModalFormRecorder forms;
};

QStringList Row(const char* book, const char* index, const QString& name, const char* number)
{
    return {QLatin1String(book), QLatin1String(index), name, QLatin1String(number)};
}

const QStringList kAnn = Row("SIM", "1", "Ann", "+111");
const QStringList kBob = Row("SIM", "2", "Bob", "+222");
const QStringList kZoeRow = Row("SIM", "10", kZoe, "+1010");
const QStringList kCarol = Row("Phone", "1", "Carol", "+333");

}  // namespace

TEST_F(Phonebook, AReadShowsTheEntriesInExportOrderWithTheTotals)
{
    frmPhonebook& window = read();
    EXPECT_EQ(window.objectName(), QStringLiteral("frmPhonebook"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Phonebook"));
    EXPECT_EQ(headers(), PhonebookTexts::DesignHeaders());
    EXPECT_EQ(rows(), (QList<QStringList>{kAnn, kBob, kZoeRow, kCarol}));
    EXPECT_EQ(window.MSFlexGrid1->Row(), 1);
    EXPECT_EQ(totals(), QStringLiteral("SIM: 250 total / 247 free    Phone: 500 total / 499 free"));
    QString name, number;
    qint32 book = -1, index = -1;
    EXPECT_EQ(window.ActiveContact(name, number, book, index), QString());
    EXPECT_EQ((QStringList{name, number, QString::number(book), QString::number(index)}),
              (QStringList{"Ann", "+111", QString::number(books().GetSIMBook()), "1"}));
    window.MSFlexGrid1->SetRow(0);
    EXPECT_EQ(window.ActiveContact(name, number, book, index), QStringLiteral("No active contact"));

    // A phone that lists the SIM book alone.
    handle.Unload();
    bookProfile().listed = QStringList{QStringLiteral("SM")};
    EXPECT_TRUE(run(std::make_shared<ReadBook>()));
    EXPECT_EQ(totals(), QStringLiteral("SIM: 250 total / 247 free    "));
    EXPECT_EQ(rows().size(), 3);

    // Books not read: the design header and label.
    books().RemoveAll();
    handle.Unload();
    handle.SetFocus();
    EXPECT_EQ(w().MSFlexGrid1->Rows(), 1);
    EXPECT_EQ(headers(), PhonebookTexts::DesignHeaders());
    EXPECT_EQ(totals(), QStringLiteral("Records in phonebooks"));
    // An unloaded window finds no contact.
    handle.Unload();
    EXPECT_EQ(handle.AddContact(QStringLiteral("\"SM\""), 1), QStringLiteral("Contact not found"));
    EXPECT_FALSE(handle.Visible());
}

TEST_F(Phonebook, HeaderClicksSortStablyAndMarkTheKeys)
{
    // A second Ann: equal names keep their order.
    bookProfile().book(QStringLiteral("SM"))->put(3, QStringLiteral("+999"), QStringLiteral("ann"));
    read();
    struct Click { int col; QStringList headers; QList<QStringList> rows; };
    const QStringList kAnn2 = Row("SIM", "3", "ann", "+999");
    const Click clicks[] = {
        {0, {"Book\\/", "Index\\/", "Name", "Telephone"}, {kCarol, kAnn, kBob, kAnn2, kZoeRow}},
        {1, {"Book/\\", "Index/\\", "Name", "Telephone"}, {kZoeRow, kAnn2, kBob, kAnn, kCarol}},
        {3, {"Book", "Index", "Name", "Telephone\\/"}, {kZoeRow, kAnn, kBob, kCarol, kAnn2}},
        {2, {"Book", "Index", "Name/\\", "Telephone"}, {kZoeRow, kCarol, kBob, kAnn, kAnn2}},
        {2, {"Book", "Index", "Name\\/", "Telephone"}, {kAnn, kAnn2, kBob, kCarol, kZoeRow}},
        // After a text sort the book columns start ascending.
        {0, {"Book\\/", "Index\\/", "Name", "Telephone"}, {kCarol, kAnn, kBob, kAnn2, kZoeRow}},
    };
    for (const Click& c : clicks) {
        Q_EMIT w().MSFlexGrid1->horizontalHeader()->sectionClicked(c.col);
        EXPECT_EQ(headers(), c.headers) << c.col;
        EXPECT_EQ(rows(), c.rows) << c.col;
    }
}

TEST_F(Phonebook, MouseTalkAndIncludeIn)
{
    read();
    // A right click selects the row under the pointer; below the rows it
    // keeps the selection, so Edit still has its contact.
    w().RightClick(2, QPoint(10, 10));
    QMenu* menu = w().MenuSet().PhonebookMenu();
    EXPECT_EQ(w().MSFlexGrid1->Row(), 2);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->defaultAction(), w().MenuSet().TalkAction());
    menu->hide();
    w().RightClick(0, QPoint(10, 10));
    EXPECT_EQ(w().MSFlexGrid1->Row(), 2);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    w().MSFlexGrid1->SetRow(0);

    // Talk or Include with no contact chosen.
    app.procedures().StartTalkWithContacts();
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Choose contact from the phonebooks"));
    EXPECT_EQ(boxes.last().style, platform::vbExclamation);

    // A double click on Ann opens one conversation; again, it comes forward.
    const QRect ann = w().MSFlexGrid1->visualRect(w().MSFlexGrid1->model()->index(0, 2));
    doubleClick(ann.center());
    ASSERT_EQ(conference->TalksCount(), 1);
    EXPECT_EQ(conference->Talk(1).AllConferees(), QStringList{QStringLiteral("Ann <+111>")});
    const int opened = fronts;
    doubleClick(ann.center());
    EXPECT_EQ(conference->TalksCount(), 1);
    EXPECT_EQ(fronts, opened + 1);
    // Below the rows: nothing.
    doubleClick(QPoint(ann.center().x(), w().MSFlexGrid1->viewport()->height() - 2));
    EXPECT_EQ(conference->TalksCount(), 1);
    EXPECT_EQ(fronts, opened + 1);

    // Ann takes part in a conversation already.
    const QString ann1 = conference->Talk(1).Theme();
    const QString team = open(QStringLiteral("Team"));
    select(QStringLiteral("Ann"));
    include(QStringLiteral("Team"));
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Contact Ann <+111> is taking part in conference ") + ann1);
    conference->Talk(1).Discard();
    conference->Talk(1).Discard();
    EXPECT_EQ(includeItems(), QStringList{QStringLiteral("[nowhere]")});
    boxes.clear();
    include(QStringLiteral("[nowhere]"));
    EXPECT_EQ(boxes.count(), 0u);

    // A conversation called "[nowhere]", then nine, then ten.
    const QString nowhere = open(QStringLiteral("[nowhere]"));
    include(QStringLiteral("[nowhere]"));
    EXPECT_EQ(conference->LocateConferee(QStringLiteral("+111")), nowhere);
    QStringList themes{nowhere};
    for (int k = 0; k < 8; ++k)
        themes << open(QStringLiteral("R&D %1").arg(k));
    QStringList shown;
    for (const QString& t : themes)
        shown << QString(t).replace(QStringLiteral("&"), QStringLiteral("&&"));
    EXPECT_EQ(includeItems(), shown);
    themes << open();
    EXPECT_EQ(includeItems(), shown.mid(0, 8) << QStringLiteral("More conferences..."));

    // The full list: Bob into the ninth.
    select(QStringLiteral("Bob"));
    forms.answerWith<frmAllItems>([&](frmAllItems& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("All conferences"));
        EXPECT_EQ(f.List1->count(), 10);
        f.List1->setCurrentRow(9);
        f.OKButton->click();
    });
    include(QStringLiteral("More conferences..."));
    EXPECT_EQ(conference->LocateConferee(QStringLiteral("+222")), themes.at(9));
}

TEST_F(Phonebook, ProceduresWriteThePhoneAndTheRowsFollow)
{
    read();
    auto done = [this] {
        EXPECT_TRUE(runUntilIdle());
        EXPECT_EQ(window.Pane(1).text, QStringLiteral("Menu. Write Phonebook...Done"));
    };
    // Add a conferee to SIM: a 25-letter name is cut to the book's 18.
    frmTalk* talk = frmTalk::Create(&area);
    app.procedures().CopyConfereesToBook(talk, books().GetSIMBook());
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("No conferees"));
    EXPECT_EQ(talk->AddConferee(QStringLiteral("+444"), QStringLiteral("Bartholomew Fitzgerald Jr")), QString());
    talk->List1->setCurrentRow(0);
    Shown shown;
    answerContact(shown, QStringLiteral("Dorothea"), QStringLiteral("+444"));
    app.procedures().CopyConfereesToBook(talk, books().GetSIMBook());
    talk->Discard();
    EXPECT_EQ(shown.caption, QStringLiteral("Add contact to SIM"));
    EXPECT_EQ((QStringList{shown.name, shown.number}), (QStringList{"Bartholomew Fitzge", "+444"}));
    EXPECT_EQ((QList<int>{shown.nameLen, shown.numberLen}), (QList<int>{18, 40}));
    done();
    EXPECT_EQ(rows().last(), Row("SIM", "3", "Dorothea", "+444"));
    EXPECT_EQ(totals(), QStringLiteral("SIM: 250 total / 246 free    Phone: 500 total / 499 free"));

    // Delete Bob.
    select(QStringLiteral("Bob"));
    app.procedures().AskDeleteContact();
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("You are about to delete the following entry from SIM:\r    ") +
                                       QChar(0x2022) + QStringLiteral(" Bob <+222>\rDo you want to continue?"));
    EXPECT_EQ(boxes.last().style, 36);
    done();
    EXPECT_EQ(entries("SM").count(2), 0u);
    EXPECT_EQ(rows().size(), 4);

    // Edit Carol: the handset's question first; Cancel queues nothing.
    select(QStringLiteral("Carol"));
    boxes.answer(platform::vbCancel);
    const size_t formsShown = forms.forms.size();
    app.procedures().AskEditContact();
    EXPECT_EQ(boxes.last().prompt, PhonebookTexts::EditQuestion());
    EXPECT_EQ(boxes.last().style, 49);
    EXPECT_EQ(forms.forms.size(), formsShown);
    EXPECT_EQ(orders->Count(), 0);

    // Each dialog with its caption and the destination's name limit; the
    // phone and the row (in place, or the last) follow.
    struct Step {
        const char* who;
        std::function<void()> call;
        QString name, number, caption;
        size_t questions;
        int nameLen, at;
        QStringList row;
    };
    const auto edit = [this] { app.procedures().AskEditContact(); };
    const auto copy = [this] { app.procedures().AskCopyMoveContact(false); };
    const auto move = [this] { app.procedures().AskCopyMoveContact(true); };
    const Step steps[] = {
        {"Carol", edit, "Caroline", "+334", "Edit contact in Phone", 1, 30, 2, Row("Phone", "1", "Caroline", "+334")},
        {"Ann", edit, "Anna", "+111", "Edit contact in SIM", 0, 18, 0, Row("SIM", "1", "Anna", "+111")},
        {"Anna", copy, "Anna", "+111", "Copy contact to Phone memory", 0, 30, -1, Row("Phone", "2", "Anna", "+111")},
        {"Caroline", move, "Caroline", "+334", "Move contact to SIM card", 0, 18, -1, Row("SIM", "2", "Caroline", "+334")},
    };
    for (const Step& c : steps) {
        SCOPED_TRACE(c.caption.toStdString());
        boxes.clear();
        select(QLatin1String(c.who));
        answerContact(shown, c.name, c.number);
        c.call();
        EXPECT_EQ(boxes.count(), c.questions);
        EXPECT_EQ(shown.caption, c.caption);
        EXPECT_EQ(shown.nameLen, c.nameLen);
        done();
        EXPECT_EQ(c.at < 0 ? rows().last() : rows().at(c.at), c.row);
        EXPECT_EQ(entries(c.row[0] == "SIM" ? "SM" : "ME").at(c.row[1].toInt()).name, c.name);
    }
    EXPECT_EQ(entries("ME").count(1), 0u) << "moved away";
    EXPECT_EQ(totals(), QStringLiteral("SIM: 250 total / 246 free    Phone: 500 total / 499 free"));
}

TEST_F(Phonebook, RefusalsSayWhyAndQueueNothing)
{
    EXPECT_TRUE(connect());
    struct Case {
        std::function<void()> call;
        QString text;
    };
    const Case unread[] = {
        {[this] { app.procedures().AskAddContact(0, QString(), QString()); }, PhonebookTexts::NotRead()},
        {[this] { app.procedures().AskCopyMoveContact(true); }, PhonebookTexts::NotRead()},
        {[this] { app.procedures().AskEditContact(); }, QStringLiteral("No active contact")},
        {[this] { app.procedures().AskDeleteContact(); }, QStringLiteral("No active contact")},
    };
    for (const Case& c : unread) {
        c.call();
        EXPECT_EQ(boxes.last().prompt, c.text);
        EXPECT_EQ(boxes.last().style, platform::vbExclamation);
    }
    // Show before a read asks, and No reads nothing.
    boxes.answer(platform::vbNo);
    app.procedures().ShowPhonebook();
    EXPECT_EQ(boxes.last().prompt, PhonebookTexts::ShowQuestion());
    EXPECT_EQ(orders->Count(), 0);

    // Only the SIM book: no destination for a copy; no handset to add to.
    bookProfile().listed = QStringList{QStringLiteral("SM")};
    app.procedures().ShowPhonebook();
    EXPECT_TRUE(runUntilIdle());
    ASSERT_TRUE(handle.Visible());
    app.procedures().AskCopyMoveContact(false);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("The destination book location is unknown"));
    app.procedures().AskAddContact(books().GetPhoneBook(), QString(), QString());
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("The book does not exist"));
    EXPECT_EQ(GetBookName(5), QStringLiteral("5"));
    EXPECT_EQ(PhonebookTexts::BookNumberFromName(GetBookName(5), w().PhoneBook(), w().SIMBook()), 5);

    // A number the phone would refuse.
    Shown shown;
    answerContact(shown, QStringLiteral("Dave"), QStringLiteral("+44 20 7946"));
    app.procedures().AskAddContact(books().GetSIMBook(), QString(), QString());
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("The Write Phonebook operation failed. Error: Invalid characters in dial string"));
    EXPECT_EQ(orders->Count(), 0);
}

TEST_F(Phonebook, ReadsEmptyTheRecordsWhenTheyStartNotBefore)
{
    // Two reads queued back to back keep the counts.
    EXPECT_TRUE(connect());
    orders->Add(std::make_shared<ReadBook>(), 0);
    orders->Add(std::make_shared<ReadBook>(), 0);
    EXPECT_TRUE(runUntilIdle());
    ASSERT_TRUE(handle.Visible());
    EXPECT_EQ(rows().size(), 4);
    EXPECT_EQ(totals(), QStringLiteral("SIM: 250 total / 247 free    Phone: 500 total / 499 free"));

    // A handset book numbered from 0: an add queued before a reread writes
    // into the next free place, never over entry 0.
    handle.Unload();
    phonesim::SimPhoneBook& me = *bookProfile().book(QStringLiteral("ME"));
    me.indexMin = 0;
    me.put(0, QStringLiteral("+000"), QStringLiteral("Operator"));
    EXPECT_TRUE(run(std::make_shared<ReadBook>()));
    Shown shown;
    answerContact(shown, QStringLiteral("Eve"), QStringLiteral("+555"));
    app.procedures().AskAddContact(books().GetPhoneBook(), QString(), QString());
    AskRereadPhonebooks();
    EXPECT_EQ(boxes.last().prompt, PhonebookTexts::RereadQuestion());
    EXPECT_FALSE(handle.Visible());
    EXPECT_EQ(orders->Count(), 2);
    EXPECT_TRUE(runUntilIdle());
    EXPECT_EQ(me.entries.at(0).name, QStringLiteral("Operator"));
    EXPECT_EQ(me.entries.at(2).name, QStringLiteral("Eve"));
    ASSERT_TRUE(handle.Visible());
    EXPECT_EQ(totals(), QStringLiteral("SIM: 250 total / 247 free    Phone: 501 total / 498 free"));
}

TEST_F(Phonebook, AReplyWaitsWhileAFormIsOpen)
{
    read();
    select(QStringLiteral("Bob"));
    app.procedures().AskDeleteContact();
    // The delete is sent and answered; the loop has not taken the reply.
    ASSERT_TRUE(runUntil([&] { return sim().commands().filter(QStringLiteral("AT+CPBW=2")).size() == 1; }));
    select(QStringLiteral("Ann"));
    Shown shown;
    QList<QStringList> whileOpen;
    answerContact(shown, QString(), QString(), [&] {
        runFor(3000);
        whileOpen = rows();
    });
    app.procedures().AskEditContact();
    EXPECT_EQ(whileOpen.size(), 4);
    EXPECT_TRUE(runUntilIdle());
    EXPECT_EQ(rows(), (QList<QStringList>{kAnn, kZoeRow, kCarol}));
}

TEST_F(Phonebook, FontAndColourAreTheBookStyleAtTheNextOpening)
{
    read();
    platform::FontSpec font;
    font.name = QStringLiteral("DejaVu Serif");
    font.size = 14;
    font.bold = true;
    platform::SetWidgetFont(w().MSFlexGrid1, font);
    EXPECT_EQ(w().SaveFont(w().MSFlexGrid1), QString());
    platform::SetWidgetBackColor(w().MSFlexGrid1, 0x604020);
    EXPECT_EQ(w().SaveColor(w().MSFlexGrid1), QString());
    handle.Unload();
    handle.SetFocus();
    EXPECT_EQ(platform::WidgetFont(w().MSFlexGrid1), font);
    EXPECT_EQ(platform::WidgetBackColor(w().MSFlexGrid1), 0x604020);
}
