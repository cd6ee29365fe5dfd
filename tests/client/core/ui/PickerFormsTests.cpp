// The character-set and list pickers, filled through the form hook.
#include "client/core/CharSetChoice.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Settings.h"
#include "client/core/ui/frmAllItems.h"
#include "client/core/ui/frmCharSet.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ModalForm.h"
#include "support/ui/MessageBoxRecorder.h"
#include "support/ui/ModalFormRecorder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace parlova;

TEST(frmCharSet, OffersTheFifteenSetsAndInsistsOnAChoice)
{
    const std::pair<const char*, int> expected[] = {
        {"Default", 1},   {"Symbol", 2},    {"OEM", 255},           {"ANSI", 0},
        {"Russian", 204}, {"Eastern Europe", 238}, {"Greek", 161},  {"Turkish", 162},
        {"Baltic", 186},  {"Hebrew", 177},  {"Arabic", 178},        {"Japanese", 128},
        {"Korean", 129},  {"Simplified Chinese", 134}, {"Traditional Chinese", 136},
    };
    frmCharSet form;
    ASSERT_EQ(form.Combo1->count(), 15);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(form.Combo1->itemText(i), QString::fromLatin1(expected[i].first));
        EXPECT_EQ(form.Combo1->itemData(i).toInt(), expected[i].second);
    }
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Choose Character Set"));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("WARNING! If you are not sure which charset to choose, leave it "
                                                  "as is and press Cancel."));
    EXPECT_EQ(form.Label3->text(), QStringLiteral("Charset:"));
    EXPECT_FALSE(form.IsSelectionOK());
    EXPECT_EQ(form.CharSet(), -1);

    form.InitCharSet(999);
    EXPECT_EQ(form.Combo1->currentIndex(), -1) << "an unknown set leaves the selection";
    form.InitCharSet(204);
    EXPECT_EQ(form.Combo1->currentText(), QStringLiteral("Russian"));
    form.InitCharSet(999);
    EXPECT_EQ(form.Combo1->currentText(), QStringLiteral("Russian"));
    EXPECT_EQ(platform::WidgetFont(form.Text1).charset, 204) << "the sample takes the chosen set";

    platform::MessageBoxRecorder boxes;
    frmCharSet empty;
    platform::ModalFormRecorder forms;
    forms.answerWith<frmCharSet>([&](frmCharSet& f) {
        f.cmdOK->click();
        EXPECT_TRUE(f.isVisible()) << "the dialog stays";
        f.cmdCancel->click();
    });
    EXPECT_EQ(platform::ShowModalForm(&empty), QDialog::Rejected);
    EXPECT_FALSE(empty.IsSelectionOK());
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().prompt, QStringLiteral("Please choose one of the listed charsets.\r\rTry again or press Cancel!"));
    EXPECT_EQ(boxes.last().style, 16);
    EXPECT_EQ(boxes.last().title, QStringLiteral("Choose Character Set"));

    forms.answerWith<frmCharSet>([](frmCharSet& f) {
        f.InitCharSet(238);
        f.cmdOK->click();
    });
    EXPECT_EQ(platform::ShowModalForm(&empty), QDialog::Accepted);
    EXPECT_TRUE(empty.IsSelectionOK());
    EXPECT_EQ(empty.CharSet(), 238);
    EXPECT_EQ(CharSetChoice::IndexOf(136), 14);
}

TEST(frmAllItems, KeepsItsMinimumTakesTheOtherStyleAndAnswersOK)
{
    Settings& settings = Settings::Instance();
    const qint32 fore = settings.OtherForeColor();
    const qint32 back = settings.OtherBackColor();
    settings.OtherForeColor(0x00102030);
    settings.OtherBackColor(0x00405060);
    frmAllItems form;
    settings.OtherForeColor(fore);
    settings.OtherBackColor(back);
    EXPECT_EQ(platform::WidgetForeColor(form.List1), 0x00102030);
    EXPECT_EQ(platform::WidgetBackColor(form.List1), 0x00405060);
    EXPECT_EQ(platform::WidgetFont(form.List1).size, settings.StyleFont(kOtherStyle).size);

    form.show();
    form.resize(100, 100);
    EXPECT_GE(form.width(), 353);
    EXPECT_GE(form.height(), 333);

    form.List1->addItems({QStringLiteral("Team"), QStringLiteral("Family")});
    EXPECT_EQ(form.ListIndex(), -1) << "nothing is selected before the user chooses";
    platform::ModalFormRecorder forms;
    forms.answerWith<frmAllItems>([](frmAllItems& f) { f.CancelButton->click(); });
    EXPECT_EQ(platform::ShowModalForm(&form), QDialog::Rejected);
    EXPECT_FALSE(form.IsSelectionOK());
    forms.answerWith<frmAllItems>([](frmAllItems& f) {
        EXPECT_TRUE(ModalQuestion::IsOpen()) << "the main loop leaves the queues alone";
        f.List1->setCurrentRow(1);
        f.OKButton->click();
    });
    EXPECT_EQ(platform::ShowModalForm(&form), QDialog::Accepted);
    EXPECT_TRUE(form.IsSelectionOK());
    EXPECT_FALSE(ModalQuestion::IsOpen());
    EXPECT_EQ(form.ListIndex(), 1);
    EXPECT_EQ(form.SelectedText(), QStringLiteral("Family"));
}
