// The child windows in the real main window, offscreen: each keeps a size
// its controls fit in when it opens and under Cascade and Tile.
#include "client/support/MainWindowRig.h"

#include "client/conversations/Conference.h"
#include "client/main/ChildArrangement.h"
#include "client/stores/ui/MessageStoreHandle.h"
#include "client/stores/ui/PhonebookHandle.h"
#include "client/stores/ui/frmMessageStore.h"
#include "client/stores/ui/frmPhonebook.h"

#include <gtest/gtest.h>

using parlova::ChildArrangement;

namespace {

class ChildSizes : public mainwintest::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        startApp(true);
        showWindow();
        window->show();
    }
    QMdiSubWindow* subOf(QWidget* form) { return form ? qobject_cast<QMdiSubWindow*>(form->parentWidget()) : nullptr; }
    // A child's form at least as large as its layout needs.
    static void ExpectRoomy(QMdiSubWindow* child)
    {
        const QSize needed = child->widget()->minimumSizeHint();
        SCOPED_TRACE(child->widget()->objectName().toStdString());
        EXPECT_GE(child->widget()->width(), needed.width());
        EXPECT_GE(child->widget()->height(), needed.height());
        EXPECT_GT(needed.height(), 80) << "more than a title bar";
    }
};

}  // namespace

TEST_F(ChildSizes, EveryChildKeepsItsMinimumWhenOpenedCascadedAndTiled)
{
    const auto store = parlova::MessageStoreHandle::Install(*app, [this] { return window->MdiArea(); });
    const auto book = parlova::PhonebookHandle::Install(*app, [this] { return window->MdiArea(); });
    for (int n = 0; n < 3; ++n) {
        QString theme, warnings;
        ASSERT_EQ(parlova::Conferences().AddTalk(theme, warnings, QString()), QString());
    }
    book->SetFocus();
    store->SetFocus();
    const QRect area = window->MdiArea()->viewport()->rect();
    QMdiSubWindow* storeWindow = subOf(store->Window());
    ASSERT_NE(storeWindow, nullptr);
    EXPECT_TRUE(area.contains(storeWindow->geometry())) << "the store window opens inside the work area";

    const QList<QMdiSubWindow*> children = window->MdiArea()->subWindowList();
    ASSERT_EQ(children.size(), 5);
    for (qint32 arrangement : {0, 1, 2}) {
        SCOPED_TRACE(arrangement);
        window->ArrangeChildren(arrangement);
        for (QMdiSubWindow* child : children)
            ExpectRoomy(child);
    }
}

TEST_F(ChildSizes, CascadeLeavesTheActiveWindowOnTopAndActive)
{
    const auto store = parlova::MessageStoreHandle::Install(*app, [this] { return window->MdiArea(); });
    const auto book = parlova::PhonebookHandle::Install(*app, [this] { return window->MdiArea(); });
    store->SetFocus();
    book->SetFocus();
    QString theme, warnings;
    ASSERT_EQ(parlova::Conferences().AddTalk(theme, warnings, QString()), QString());
    // The phone book, opened before the conversation, is made active again.
    book->SetFocus();
    QMdiArea& area = *window->MdiArea();
    QMdiSubWindow* bookWindow = area.currentSubWindow();
    ASSERT_EQ(bookWindow, subOf(book->Window()));
    ASSERT_NE(area.subWindowList().last(), bookWindow);

    window->ArrangeChildren(0);
    EXPECT_EQ(area.currentSubWindow(), bookWindow);
    EXPECT_EQ(area.subWindowList(QMdiArea::StackingOrder).last(), bookWindow);
    for (QMdiSubWindow* child : area.subWindowList())
        if (child != bookWindow) {
            EXPECT_LT(child->x(), bookWindow->x()) << "the book takes the cascade's last step";
        }
}

TEST(ChildArrangement, BandsStepsAndOverlapsKeepEveryChildInTheArea)
{
    const QSize area(600, 400);
    const QList<QSize> small(3, QSize(100, 80));
    // Small children tile in bands; cascaded, each title shows below the
    // one before.
    EXPECT_EQ(ChildArrangement::Tile(small, area, true).at(1), QRect(0, 133, 600, 133));
    const QList<QRect> cascade = ChildArrangement::Cascade(small, area, 24);
    EXPECT_EQ(cascade[1].topLeft() - cascade[0].topLeft(), QPoint(24, 24));
    // The active child is cascaded last, so it lies on top; without one
    // (or an index out of range) the children keep their order.
    const std::pair<qsizetype, QList<qsizetype>> orders[] = {
        {0, {1, 2, 0}}, {1, {0, 2, 1}}, {2, {0, 1, 2}}, {-1, {0, 1, 2}}, {3, {0, 1, 2}}};
    for (const auto& [active, order] : orders)
        EXPECT_EQ(ChildArrangement::CascadeOrder(3, active), order) << active;
    // Children too tall for one band each share rows side by side.
    const QList<QRect> grid = ChildArrangement::Tile(QList<QSize>(4, QSize(200, 150)), area, true);
    EXPECT_EQ(grid[3], QRect(300, 200, 300, 200));
    // Too large to share the area: kept whole, moved back inside as far as
    // their size lets them.
    const QList<QSize> big{QSize(500, 300), QSize(550, 350)};
    for (const QList<QRect>& places : {ChildArrangement::Cascade(big, area, 24), ChildArrangement::Tile(big, area, true)})
        for (qsizetype i = 0; i < places.size(); ++i) {
            EXPECT_EQ(places[i].size(), places[i].size().expandedTo(big[i]));
            EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(places[i])) << i;
        }
}
