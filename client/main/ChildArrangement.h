#pragma once
// Where Window, Cascade and Tile put the child windows of the work area.
// Every child keeps at least its minimum size, so its controls stay
// usable however many children share the area; a child that cannot fit
// beside the others overlaps them instead of shrinking.
#include <QList>
#include <QRect>
#include <QSize>

namespace parlova {

class ChildArrangement {
public:
    // Each child one step (about a title bar) right of and below the one
    // before, starting again at the top left when the steps run out.
    static QList<QRect> Cascade(const QList<QSize>& minimums, const QSize& area, int step);
    // The order in which a cascade takes count children, bottom first: their
    // own order with the active one (-1 for none) moved last, so the window
    // the user is typing in ends on top, wholly shown.
    static QList<qsizetype> CascadeOrder(qsizetype count, qsizetype active);
    // The area shared out in bands, one child per band: bands across
    // (horizontal) or side by side; as many rows (or columns) as the
    // largest minimum allows, the children filling them in order.
    static QList<QRect> Tile(const QList<QSize>& minimums, const QSize& area, bool horizontal);
};

}  // namespace parlova
