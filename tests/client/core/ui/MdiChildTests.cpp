// A single-instance child window opening in a work area that already holds
// a window: wherever the area would put it, all of it can be seen.
#include "client/core/ui/MdiChild.h"

#include "platform/ui/Twips.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

using namespace parlova;

TEST(MdiChild, OpensWithinTheAreaBesideAWindowAlreadyThere)
{
    const struct {
        const char* what;
        QSize open;  // pixels
    } cases[] = {
        {"fits beside the other", {200, 150}},
        {"wider than the room left beside the other", {450, 300}},
        {"larger than the area", {900, 700}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QMdiArea area;
        area.resize(600, 400);
        area.show();
        auto* other = area.addSubWindow(new QLabel(QStringLiteral("other")));
        other->setGeometry(0, 0, 300, 250);
        other->show();
        const QSizeF twips(platform::PixelsToTwipsX(c.open.width()), platform::PixelsToTwipsY(c.open.height()));
        MdiChild child([&area] { return &area; }, [] { return new QLabel(QStringLiteral("child")); }, twips);
        child.SetFocus();
        ASSERT_TRUE(child.Visible());
        const QRect room(QPoint(0, 0), area.viewport()->size());
        const QRect got = child.Form()->parentWidget()->geometry();
        if (c.open.width() <= room.width() && c.open.height() <= room.height())
            EXPECT_TRUE(room.contains(got)) << got.x() << "," << got.y() << " " << got.width() << "x" << got.height();
        else
            EXPECT_EQ(got.topLeft(), QPoint(0, 0));
        child.Unload();
    }
}
