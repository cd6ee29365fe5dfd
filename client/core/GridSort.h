#pragma once
// The sort of the store windows' grids: all body rows by a range of key
// columns, in one of four orders, stable (equal keys keep their order).
#include <QList>
#include <QString>
#include <QStringList>

namespace parlova {

class GridSort {
public:
    // 1 and 2: generic ascending and descending, numbers as numbers and
    // before texts; 5 and 6: text ascending and descending, case ignored.
    static constexpr qint32 GenericAscending = 1;
    static constexpr qint32 GenericDescending = 2;
    static constexpr qint32 TextAscending = 5;
    static constexpr qint32 TextDescending = 6;

    // Negative, 0 or positive as a sorts before, with or after b in the
    // ascending form of order.
    static int Compare(const QString& a, const QString& b, qint32 order);
    // Sorts rows by columns firstKey to lastKey, the first deciding first.
    // An order other than the four leaves the rows as they are.
    static void Sort(QList<QStringList>& rows, int firstKey, int lastKey, qint32 order);

    // A header's text under an order: "\\/" after the name of an ascending
    // order (1, 5), "/\\" after a descending one (2, 6), else the name.
    static QString HeaderText(const QString& name, qint32 order);
    // The order after a header click: a generic sort (pair: the window's
    // two numbering columns) toggles 1 and 2, a text sort 5 and 6; one
    // order serves all columns of a window.
    static qint32 NextOrder(qint32 current, bool generic);
};

}  // namespace parlova
