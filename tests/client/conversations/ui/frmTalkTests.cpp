// The conversation window's wiring, offscreen: what the model holds shows
// in the controls, the user's changes reach the model, the layout follows
// the width, closing asks as the model says, and an arrival never takes
// the focus.
#include "client/support/ConversationRig.h"

#include "client/conversations/ui/frmTalk.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTextCursor>

#include <gtest/gtest.h>

using clienttest::ConversationRig;
using parlova::frmTalk;

namespace {

struct WindowRig {
    QMdiArea area;
    ConversationRig rig{[this] { return frmTalk::Create(&area); }};

    frmTalk& open()
    {
        area.resize(1000, 800);
        area.show();
        rig.open();
        return dynamic_cast<frmTalk&>(rig.conference->Talk(rig.conference->TalksCount()));
    }
};

int Px(int twips) { return platform::TwipsToPixelsX(twips); }

}  // namespace

TEST(frmTalk, ShowsTheConversationAndTakesTheUsersChanges)
{
    WindowRig w;
    w.area.resize(900, 700);
    frmTalk& t = w.open();
    ASSERT_NE(t.SubWindow(), nullptr);
    EXPECT_TRUE(t.SubWindow()->isVisible());
    EXPECT_EQ(w.area.currentSubWindow(), t.SubWindow());
    EXPECT_EQ(t.SubWindow()->windowTitle(), QStringLiteral("Conference1"));
    EXPECT_EQ(t.Combo1->currentText(), QStringLiteral("Auto"));
    EXPECT_EQ(t.Combo2->currentText(), QStringLiteral("Unspecified"));
    EXPECT_EQ(t.Slider2->value(), 170);
    EXPECT_EQ(t.Label4->text(), QStringLiteral("4 days"));
    EXPECT_FALSE(t.Check2->isEnabled());

    w.rig.conference->AddConferee(QStringLiteral("+441"), QStringLiteral("Ann"), t.Theme());
    t.Log(1, QStringLiteral("Hi\r\nthere"));
    EXPECT_EQ(t.List1->count(), 1);
    EXPECT_EQ(t.List1->item(0)->text(), QStringLiteral("Ann <+441>"));
    EXPECT_EQ(t.Text5->toPlainText(), QStringLiteral("\nHi\nthere"));
    EXPECT_EQ(t.Label6->text(), QStringLiteral("Log : 11 chr"));
    EXPECT_EQ(t.SubWindow()->windowTitle(), QStringLiteral("Conference1 (unread 1)"));
    // A later entry is added at the end, the caret after it.
    t.Text5->moveCursor(QTextCursor::Start);
    t.Log(2, QStringLiteral("[two]"));
    EXPECT_EQ(t.Text5->toPlainText(), QStringLiteral("\nHi\nthere\n[two]"));
    EXPECT_EQ(t.Text5->textCursor().position(), t.Text5->toPlainText().size());
    EXPECT_EQ(t.Label6->text(), QStringLiteral("Log : 18 chr"));

    t.Text4->setPlainText(QStringLiteral("line one\nline two"));
    EXPECT_EQ(t.Text(), QStringLiteral("line one\r\nline two"));
    EXPECT_EQ(t.Label2->text(), QStringLiteral("17 chr, $0.06"));
    t.List1->item(0)->setSelected(true);
    EXPECT_EQ(t.SelectedConferees(), QStringList{QStringLiteral("Ann <+441>")});
    EXPECT_EQ(t.Label5->text(), QStringLiteral("1 total / 1 selected"));
    t.Slider2->setValue(197);
    EXPECT_EQ(t.Label4->text(), QStringLiteral("5 weeks"));
    EXPECT_EQ(t.SliderValue(), 197);

    // Code that sets a control does not run its handler.
    t.SetDirty(false);
    t.SetSliderValue(12);
    t.SetCoding(1);
    EXPECT_EQ(t.Combo1->currentText(), QStringLiteral("Unicode"));
    EXPECT_FALSE(t.Dirty());

    EXPECT_EQ(t.ToggleTalkOptions(), QString());
    EXPECT_TRUE(t.List1->isHidden());
    EXPECT_FALSE(t.Text4->isHidden());
    EXPECT_EQ(w.rig.main.ButtonValue(parlova::tlbTalk, QStringLiteral("14")), 0);
    t.ToggleTalkOptions();
    EXPECT_FALSE(t.List1->isHidden());
    EXPECT_EQ(w.rig.main.ButtonValue(parlova::tlbTalk, QStringLiteral("14")), 1);

    // Closing asks; Cancel keeps it.
    t.SetDirty(true);
    w.rig.client.boxes.answer(platform::vbYes);  // the unread question
    w.rig.client.boxes.answer(platform::vbCancel);
    t.SubWindow()->close();
    EXPECT_EQ(w.rig.conference->TalksCount(), 1);
    w.rig.client.boxes.answer(platform::vbNo);
    t.SubWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.rig.conference->TalksCount(), 0);
    EXPECT_TRUE(w.area.subWindowList().isEmpty());
}

TEST(frmTalk, PlacesItsControlsByTheWidth)
{
    WindowRig w;
    frmTalk& t = w.open();
    for (auto [width, combo1, list1] : {std::tuple{7410, 5400, 4335}, {9000, 6990, 6045}}) {
        // The sub-window's frame around the window's inner size.
        QMdiSubWindow* sub = t.SubWindow();
        sub->resize(sub->size() - t.size() + QSize(Px(width), platform::TwipsToPixelsY(7200)));
        ASSERT_EQ(t.width(), Px(width));
        EXPECT_EQ(t.Combo1->x(), Px(combo1)) << width;
        EXPECT_EQ(t.List1->width(), Px(list1)) << width;
        EXPECT_EQ(t.Text4->width(), t.width());
    }
    w.rig.conference->AddConferee(QStringLiteral("+441"), QStringLiteral("Ann"), t.Theme());
    w.rig.conference->AddConferee(QStringLiteral("ann@example.org"), QStringLiteral("Ann Smith"), t.Theme());
    t.Log(1, QStringLiteral("TEXT:     Hello there\r\nAT:     2024/05/17  14:02\r\nFROM:     Ann <+441>\r\n") +
                 QString(30, QLatin1Char('_')));
    t.Text4->setPlainText(QStringLiteral("See you at five"));
    const QString shot = qEnvironmentVariable("PARLOVA_SCREENSHOT");
    if (!shot.isEmpty())
        t.grab().save(shot);
}

TEST(frmTalk, AnArrivalShowsItsWindowAndLeavesTheFocusWhereTheUserTypes)
{
    WindowRig w;
    frmTalk& typing = w.open();
    QApplication::setActiveWindow(&w.area);
    typing.Text4->setFocus();
    ASSERT_EQ(w.rig.conference->PutMessage(QStringLiteral("+1555"), QStringLiteral("Hi"), false, 0, {}), QString());
    QMdiSubWindow* arrived = dynamic_cast<frmTalk&>(w.rig.conference->Talk(2)).SubWindow();
    EXPECT_TRUE(arrived->isVisible() && arrived->isEnabled());
    EXPECT_EQ(w.area.subWindowList(QMdiArea::StackingOrder).last(), typing.SubWindow());
    EXPECT_EQ(w.area.activeSubWindow(), typing.SubWindow());
    EXPECT_EQ(QApplication::focusWidget(), typing.Text4);
}
