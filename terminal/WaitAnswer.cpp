#include "terminal/WaitAnswer.h"

#include "platform/Clock.h"

namespace dorrak {

void SplitWaitString(const QString& waitString, QString& begin, QString& end)
{
    const qsizetype semi = waitString.indexOf(QLatin1Char(';'));
    if (semi < 0) {
        begin = waitString;
        end = waitString;
    } else {
        begin = waitString.left(semi);
        end = waitString.mid(semi + 1);
    }
}

QString JoinWaitString(const QString& begin, const QString& end)
{
    return begin == end ? begin : begin + QLatin1Char(';') + end;
}

QString WaitAnswer::WaitString() const { return JoinWaitString(begin_, end_); }

void WaitAnswer::setWaitString(const QString& waitString)
{
    SplitWaitString(waitString, begin_, end_);
    pre_.clear();
    input_.clear();
    begun_ = false;
    received_ = false;
}

void WaitAnswer::setWaitTime(qint64 ms)
{
    if (ms > kLongestWait)
        ms = kLongestWait;
    armed_ = platform::TickCount();
    deadline_ = armed_ + ms;
}

bool WaitAnswer::CommInput(const QString& newdata)
{
    if (received_)
        return true;
    QString text = newdata;
    for (;;) {
        if (!begun_) {
            pre_ += text;
            const qsizetype p = begin_.isEmpty() ? 0 : pre_.indexOf(begin_, 0, Qt::CaseInsensitive);
            if (p < 0) {
                // Only a tail shorter than the begin string can still start it.
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
        if (q < 0)
            return false;
        // A message arriving while we wait ("+CMTI:" matches "+CM;" CR) is
        // not the phone's answer; the watchers announce it. Look on after it.
        if (!end_.isEmpty() && IsArrivalLine(input_)) {
            text = input_.mid(q + end_.size());
            input_.clear();
            begun_ = false;
            continue;
        }
        input_.truncate(q + end_.size());
        received_ = true;
        return true;
    }
}

bool WaitAnswer::TimeOut() const { return !received_ && platform::TickCount() > deadline_; }

bool WaitAnswer::IsArrivalLine(const QString& text)
{
    return text.startsWith(QLatin1String("+CMTI:"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("+CDSI:"), Qt::CaseInsensitive);
}

}  // namespace dorrak
