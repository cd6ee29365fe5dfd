#pragma once
// The watcher for one kind of unsolicited line ("+CMTI:" through CR). It
// never takes a text from the matchers after it, and it announces every
// complete line in a text, however many there are.
#include "terminal/BeginEndMatch.h"

#include <QString>

#include <functional>

namespace dorrak {

class Waiter {
public:
    QString WaitString() const;
    void setWaitString(const QString& waitString);
    // Always false: the text goes on to whoever comes next.
    bool CommInput(const QString& newdata);

    std::function<void(const QString& notification)> GetDispatch;

    // More than this without the end string is not a line of ours.
    static constexpr qsizetype kLongestLine = 512;

private:
    BeginEndMatch match_;
};

}  // namespace dorrak
