// The contact picker over books read from the simulated phone, and the
// conferee dialog, filled through the form hook.
#include "client/conversations/ContactPicker.h"
#include "client/conversations/ui/frmConf.h"
#include "client/conversations/ui/frmNewConf.h"
#include "client/orders/ReadBook.h"
#include "client/support/ClientRig.h"
#include "support/ui/ModalFormRecorder.h"
#include "tools/phonesim/BookCommands.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace parlova;

namespace {

QStringList Items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void PressDelete(QWidget* target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

class ContactPickerOnPhone : public clienttest::PhoneOrderTest {
protected:
    void readBooks()
    {
        auto& profile = sim().state().get<phonesim::BookProfile>();
        profile.book(QStringLiteral("SM"))->put(1, QStringLiteral("+111"), QStringLiteral("Bob"));
        profile.book(QStringLiteral("SM"))->put(2, QStringLiteral("+222"), QStringLiteral("ANNA"));
        profile.book(QStringLiteral("ME"))->put(1, QStringLiteral("+333"), QStringLiteral("Carol"));
        profile.book(QStringLiteral("ME"))->put(4, QStringLiteral("+444"), QStringLiteral("anton"));
        ASSERT_TRUE(connect());
        ASSERT_TRUE(run(std::make_shared<ReadBook>()));
        ASSERT_LT(books().GetSIMBook(), books().GetPhoneBook()) << "the SIM book is numbered first";
    }
};

}  // namespace

TEST_F(ContactPickerOnPhone, BookChoicesListsSearchAndPicking)
{
    readBooks();
    frmConf form(books());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Select Names"));

    struct Case { QString entry; QStringList lines; };
    const Case cases[] = {
        {QStringLiteral("Phone"), {QStringLiteral("Carol <+333>"), QStringLiteral("anton <+444>")}},
        {QStringLiteral("SIM"), {QStringLiteral("Bob <+111>"), QStringLiteral("ANNA <+222>")}},
        {QStringLiteral("Phone & SIM"),
         {QStringLiteral("Bob <+111>"), QStringLiteral("ANNA <+222>"), QStringLiteral("Carol <+333>"),
          QStringLiteral("anton <+444>")}},
    };
    ASSERT_EQ(form.Combo1->count(), 3);
    EXPECT_EQ(form.Combo1->currentIndex(), 0) << "entry 0 at load";
    for (int i = 2; i >= 0; --i) {
        form.Combo1->setCurrentIndex(i);
        EXPECT_EQ(form.Combo1->currentText(), cases[i].entry);
        EXPECT_EQ(Items(form.List1), cases[i].lines) << cases[i].entry.toStdString();
    }

    // Type-ahead over "Phone & SIM": first match in any case; no match or
    // more letters that stop matching keep the line.
    form.Combo1->setCurrentIndex(2);
    struct Search { QString typed; int current; };
    const Search searches[] = {{QStringLiteral("c"), 2}, {QStringLiteral("an"), 1}, {QStringLiteral("ant"), 3},
                               {QStringLiteral("antz"), 3}, {QStringLiteral("x"), 3}, {QString(), 0}};
    for (const Search& s : searches) {
        form.Text1->setText(s.typed);
        EXPECT_EQ(form.List1->currentRow(), s.current) << s.typed.toStdString();
    }

    // Picking: the same line may go twice; Delete moves on to the next line,
    // and past the last line leaves none current.
    form.List1->setCurrentRow(1);
    form.Command1->click();
    form.Command1->click();
    form.List1->setCurrentRow(2);
    form.Command1->click();
    EXPECT_EQ(form.ChosenLines(),
              (QStringList{QStringLiteral("ANNA <+222>"), QStringLiteral("ANNA <+222>"), QStringLiteral("Carol <+333>")}));
    form.List2->setCurrentRow(1);
    PressDelete(form.List2);
    EXPECT_EQ(form.List2->currentRow(), 1);
    PressDelete(form.List2);
    EXPECT_EQ(form.ChosenLines(), QStringList{QStringLiteral("ANNA <+222>")});
    EXPECT_EQ(form.List2->currentRow(), -1);
    EXPECT_TRUE(form.List2->selectedItems().isEmpty());
    PressDelete(form.List2);
    form.Command2->click();
    EXPECT_EQ(form.ChosenLines().size(), 1) << "nothing current, nothing removed";
    form.List2->setCurrentRow(0);
    form.Command2->click();
    EXPECT_TRUE(form.ChosenLines().isEmpty());
}

TEST(ContactPicker, RowsOfOtherBooksOrShapesAreNeverShown)
{
    const QChar col = QChar(0);
    const QChar row = QChar(8);
    const QString exported = QStringLiteral("0") + col + QStringLiteral("1") + col + QStringLiteral("Ann") + col +
                             QStringLiteral("+1") + row + QStringLiteral("5") + col + QStringLiteral("1") + col +
                             QStringLiteral("Fay") + col + QStringLiteral("+5") + row + QStringLiteral("1") + col +
                             QStringLiteral("Bad") + row + QStringLiteral("1") + col + QStringLiteral("2") + col +
                             QStringLiteral("Cy") + col + QStringLiteral("+2") + row;
    // Handset 1, SIM 0: codes 1, 0 and 2.
    EXPECT_EQ(ContactPicker::Lines(exported, 1, 0, 1), QStringList{QStringLiteral("Cy <+2>")});
    EXPECT_EQ(ContactPicker::Lines(exported, 1, 0, 0), QStringList{QStringLiteral("Ann <+1>")});
    EXPECT_EQ(ContactPicker::Lines(exported, 1, 0, 2), (QStringList{QStringLiteral("Ann <+1>"), QStringLiteral("Cy <+2>")}));
    EXPECT_EQ(ContactPicker::Search({}, QStringLiteral("a"), 3), -1);
}

TEST(frmNewConf, CountersAndTheRequiredFields)
{
    platform::MessageBoxRecorder boxes;
    platform::ModalFormRecorder forms;
    frmNewConf form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Add Conferee"));
    EXPECT_EQ(form.lblLabels[0]->text(), QStringLiteral("&Name:"));
    EXPECT_EQ(form.lblLabels[1]->text(), QStringLiteral("&TelNo/ Email:"));
    EXPECT_EQ(form.txtPassword->echoMode(), QLineEdit::Normal);
    form.setWindowTitle(QStringLiteral("Add Conferee to Team"));
    frmNewConf::SetMaxLength(form.txtUserName, 20);
    form.txtUserName->setText(QStringLiteral("       "));
    form.txtPassword->setText(QStringLiteral("+4412"));

    forms.answerWith<frmNewConf>([&](frmNewConf& f) {
        EXPECT_EQ(f.Label1->text(), QStringLiteral("(7/20)"));
        EXPECT_EQ(f.Label2->text(), QStringLiteral("(5/0)")) << "no limit set shows 0";
        f.cmdOK->click();
        EXPECT_TRUE(f.isVisible()) << "the dialog stays";
        EXPECT_FALSE(f.IsSelectionOK());
        f.txtUserName->setText(QStringLiteral(" Ann "));
        EXPECT_EQ(f.Label1->text(), QStringLiteral("(5/20)"));
        f.cmdOK->click();
    });
    EXPECT_EQ(platform::ShowModalForm(&form), QDialog::Accepted);
    EXPECT_TRUE(form.IsSelectionOK());
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Both fields are required.\rTry again or press Cancel!"));
    EXPECT_EQ(boxes.last().style, platform::vbCritical);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Add Conferee to Team"));
    frmNewConf::SetMaxLength(form.txtUserName, 0);
    EXPECT_EQ(form.txtUserName->maxLength(), 32767) << "0 is no limit";
}
