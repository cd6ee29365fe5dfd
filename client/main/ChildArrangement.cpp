#include "client/main/ChildArrangement.h"

#include <algorithm>

namespace parlova {

namespace {

// A rectangle moved back into the area as far as its size lets it.
QRect Inside(QRect r, const QSize& area)
{
    r.moveLeft(std::max(0, std::min(r.left(), area.width() - r.width())));
    r.moveTop(std::max(0, std::min(r.top(), area.height() - r.height())));
    return r;
}

QSize Largest(const QList<QSize>& sizes)
{
    QSize largest(0, 0);
    for (const QSize& s : sizes)
        largest = largest.expandedTo(s);
    return largest;
}

QSize Transposed(const QSize& s) { return QSize(s.height(), s.width()); }

}  // namespace

QList<QRect> ChildArrangement::Cascade(const QList<QSize>& minimums, const QSize& area, int step)
{
    QList<QRect> places;
    const int n = int(minimums.size());
    if (n == 0)
        return places;
    step = std::max(step, 1);
    // Wide enough to read, small enough that the steps show every title.
    const QSize size(std::max(area.width() - (n - 1) * step, area.width() * 2 / 3),
                     std::max(area.height() - (n - 1) * step, area.height() * 2 / 3));
    // A child larger than the rest is moved back inside by itself, so it
    // never covers another one exactly.
    const int steps =
        std::max(1, std::min((area.width() - size.width()) / step, (area.height() - size.height()) / step) + 1);
    for (int i = 0; i < n; ++i) {
        const int offset = (i % steps) * step;
        places << Inside(QRect(QPoint(offset, offset), size.expandedTo(minimums.at(i))), area);
    }
    return places;
}

QList<qsizetype> ChildArrangement::CascadeOrder(qsizetype count, qsizetype active)
{
    QList<qsizetype> order;
    for (qsizetype i = 0; i < count; ++i)
        if (i != active)
            order << i;
    if (active >= 0 && active < count)
        order << active;
    return order;
}

QList<QRect> ChildArrangement::Tile(const QList<QSize>& minimums, const QSize& area, bool horizontal)
{
    QList<QRect> places;
    const int n = int(minimums.size());
    if (n == 0)
        return places;
    // Worked out as bands across; side by side is the same turned over.
    const QSize room = horizontal ? area : Transposed(area);
    const QSize largest = horizontal ? Largest(minimums) : Transposed(Largest(minimums));
    const int rowsThatFit = std::max(1, room.height() / std::max(largest.height(), 1));
    const int columns = (n + rowsThatFit - 1) / rowsThatFit;
    const int rows = (n + columns - 1) / columns;
    for (int i = 0; i < n; ++i) {
        const int row = i / columns;
        // The last row may hold fewer children; they share its whole width.
        const int inRow = std::min(columns, n - row * columns);
        const int column = i % columns;
        const int left = room.width() * column / inRow;
        const int top = room.height() * row / rows;
        QRect band(left, top, room.width() * (column + 1) / inRow - left, room.height() * (row + 1) / rows - top);
        // Bands narrower than the children overlap them evenly, so that
        // each one's title and left edge still show.
        if (room.width() / inRow < largest.width())
            band.moveLeft(std::max(0, room.width() - largest.width()) * column / std::max(1, inRow - 1));
        if (room.height() / rows < largest.height())
            band.moveTop(std::max(0, room.height() - largest.height()) * row / std::max(1, rows - 1));
        if (!horizontal)
            band = QRect(band.top(), band.left(), band.height(), band.width());
        band.setSize(band.size().expandedTo(minimums.at(i)));
        places << Inside(band, area);
    }
    return places;
}

}  // namespace parlova
