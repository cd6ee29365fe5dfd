#include "client/core/GridSort.h"

#include <algorithm>

namespace parlova {

int GridSort::Compare(const QString& a, const QString& b, qint32 order)
{
    if (order == TextAscending || order == TextDescending)
        return a.compare(b, Qt::CaseInsensitive);
    bool aNumber = false;
    bool bNumber = false;
    const double x = a.trimmed().toDouble(&aNumber);
    const double y = b.trimmed().toDouble(&bNumber);
    if (aNumber && bNumber)
        return x < y ? -1 : (x > y ? 1 : 0);
    if (aNumber != bNumber)
        return aNumber ? -1 : 1;
    return a.compare(b);
}

void GridSort::Sort(QList<QStringList>& rows, int firstKey, int lastKey, qint32 order)
{
    if (order != GenericAscending && order != GenericDescending && order != TextAscending && order != TextDescending)
        return;
    const bool descending = order == GenericDescending || order == TextDescending;
    std::stable_sort(rows.begin(), rows.end(), [&](const QStringList& a, const QStringList& b) {
        for (int c = firstKey; c <= lastKey; ++c) {
            const int r = Compare(a.value(c), b.value(c), order);
            if (r != 0)
                return descending ? r > 0 : r < 0;
        }
        return false;
    });
}

QString GridSort::HeaderText(const QString& name, qint32 order)
{
    switch (order) {
    case GenericAscending:
    case TextAscending: return name + QStringLiteral("\\/");
    case GenericDescending:
    case TextDescending: return name + QStringLiteral("/\\");
    default: return name;
    }
}

qint32 GridSort::NextOrder(qint32 current, bool generic)
{
    if (generic)
        return current == GenericAscending ? GenericDescending : GenericAscending;
    return current == TextAscending ? TextDescending : TextAscending;
}

}  // namespace parlova
