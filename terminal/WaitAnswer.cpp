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

QString WaitAnswer::WaitString() const { return match_.WaitString(); }

void WaitAnswer::setWaitString(const QString& waitString)
{
    match_.setWaitString(waitString);
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
        const qsizetype cut = match_.take(text);
        if (cut < 0)
            return false;
        // A message arriving while we wait ("+CMTI:" matches "+CM;" CR) is
        // not the phone's answer; the watchers announce it. Look on after it.
        if (!match_.End().isEmpty() && IsArrivalLine(match_.Input())) {
            text = match_.Input().mid(cut);
            match_.reset();
            continue;
        }
        match_.Input().truncate(cut);
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
