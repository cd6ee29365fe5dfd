#include "terminal/BeginEndMatch.h"

#include "terminal/WaitAnswer.h"

namespace dorrak {

QString BeginEndMatch::WaitString() const { return JoinWaitString(begin_, end_); }

void BeginEndMatch::setWaitString(const QString& waitString)
{
    SplitWaitString(waitString, begin_, end_);
    reset();
}

void BeginEndMatch::reset()
{
    pre_.clear();
    input_.clear();
    begun_ = false;
}

qsizetype BeginEndMatch::take(const QString& text)
{
    if (!begun_) {
        pre_ += text;
        const qsizetype p = begin_.isEmpty() ? 0 : pre_.indexOf(begin_, 0, Qt::CaseInsensitive);
        if (p < 0) {
            // Only a tail shorter than the begin string can still start it.
            const qsizetype keep = begin_.size() - 1;
            if (pre_.size() > keep)
                pre_ = pre_.right(keep);
            return -1;
        }
        input_ = pre_.mid(p);
        pre_.clear();
        begun_ = true;
    } else {
        input_ += text;
    }
    const qsizetype q = end_.isEmpty() ? 0 : input_.indexOf(end_, 0, Qt::CaseInsensitive);
    return q < 0 ? -1 : q + end_.size();
}

}  // namespace dorrak
