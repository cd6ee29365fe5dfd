#include "terminal/Waiter.h"

namespace dorrak {

QString Waiter::WaitString() const { return match_.WaitString(); }

void Waiter::setWaitString(const QString& waitString) { match_.setWaitString(waitString); }

bool Waiter::CommInput(const QString& newdata)
{
    QString text = newdata;
    for (;;) {
        const qsizetype cut = match_.take(text);
        if (cut < 0) {
            if (match_.Input().size() > kLongestLine) {
                // Give up on this line; only its tail may begin a new one.
                const QString tail = match_.Input().mid(1);
                match_.reset();
                text = tail;
                continue;
            }
            return false;
        }
        const QString line = match_.Input().left(cut);
        const QString rest = match_.Input().mid(cut);
        match_.reset();
        if (GetDispatch)
            GetDispatch(line);
        if (cut == 0 || rest.isEmpty())
            return false;
        text = rest;
    }
}

}  // namespace dorrak
