#include "hub/messages/MessageRecord.h"

namespace corvane {

void MessageRecord::DimIndex(qint32 num)
{
    if (num < 1)
        return;
    indexes_ = QVector<qint32>(num, -1);
}

qint32 MessageRecord::Index(qint32 ind) const
{
    if (ind < 1 || ind > indexes_.size())
        return 0;
    return indexes_[ind - 1];
}

void MessageRecord::setIndex(qint32 ind, qint32 slot)
{
    if (ind < 1 || ind > indexes_.size())
        return;
    indexes_[ind - 1] = slot;
}

qint32 MessageRecord::PresentParts() const
{
    qint32 n = 0;
    for (qint32 slot : indexes_)
        if (slot >= 0)
            ++n;
    return n;
}

}  // namespace corvane
