#pragma once
// The matcher for one command's answer (or error answer), with its deadline.
// A wait string is "begin;end", or one string that is both; matched without
// regard to case. The reply runs from the begin string through the end string.
#include "terminal/BeginEndMatch.h"

#include <QString>
#include <QtGlobal>

namespace dorrak {

// Splits a wait string by the rule both matchers share.
void SplitWaitString(const QString& waitString, QString& begin, QString& end);
QString JoinWaitString(const QString& begin, const QString& end);

class WaitAnswer {
public:
    QString WaitString() const;
    void setWaitString(const QString& waitString);
    // Milliseconds from now; more than an hour is cut to an hour.
    void setWaitTime(qint64 ms);
    // True once the answer is complete; from then on every text is taken.
    bool CommInput(const QString& newdata);
    bool Received() const { return received_; }
    QString InputString() const { return match_.Input(); }
    bool TimeOut() const;

    static constexpr qint64 kLongestWait = 3600000;
    // An unsolicited arrival line, which never completes a matcher.
    static bool IsArrivalLine(const QString& text);

private:
    BeginEndMatch match_;
    bool received_ = false;
    qint64 armed_ = 0;
    qint64 deadline_ = 0;
};

}  // namespace dorrak
