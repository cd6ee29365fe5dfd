#include "terminal/Waiter.h"

#include "terminal/WaitAnswer.h"

namespace dorrak {

QString Waiter::WaitString() const { return JoinWaitString(begin_, end_); }

void Waiter::setWaitString(const QString& waitString)
{
    SplitWaitString(waitString, begin_, end_);
    reset();
}

void Waiter::reset()
{
    pre_.clear();
    input_.clear();
    begun_ = false;
}

bool Waiter::CommInput(const QString& newdata)
{
    QString text = newdata;
    for (;;) {
        if (!begun_) {
            pre_ += text;
            const qsizetype p = begin_.isEmpty() ? 0 : pre_.indexOf(begin_, 0, Qt::CaseInsensitive);
            if (p < 0) {
                const qsizetype keep = begin_.size() - 1;
                if (pre_.size() > keep)
                    pre_ = pre_.right(keep);
                return false;
            }
            input_ = pre_.mid(p);
            pre_.clear();
            begun_ = true;
        } else {
            input_ += text;
        }
        const qsizetype q = end_.isEmpty() ? 0 : input_.indexOf(end_, 0, Qt::CaseInsensitive);
        if (q < 0) {
            if (input_.size() > kLongestLine) {
                // Give up on this line; only its tail may begin a new one.
                const QString tail = input_.mid(1);
                reset();
                text = tail;
                continue;
            }
            return false;
        }
        const qsizetype cut = q + end_.size();
        const QString line = input_.left(cut);
        const QString rest = input_.mid(cut);
        reset();
        if (GetDispatch)
            GetDispatch(line);
        if (cut == 0 || rest.isEmpty())
            return false;
        text = rest;
    }
}

}  // namespace dorrak
