#pragma once
// The begin/end search that the answer matcher and the line watchers share:
// text before the begin string is kept only as far as it can still start it;
// from the begin string on it gathers until the end string comes. Matched
// without regard to case; an empty begin or end string matches at once.
#include <QString>
#include <QtGlobal>

namespace dorrak {

class BeginEndMatch {
public:
    QString WaitString() const;
    // Also forgets whatever was gathered.
    void setWaitString(const QString& waitString);
    void reset();

    // Takes the next text. Returns where the end string ends in Input(), or
    // -1 while the begin or the end string has not come.
    qsizetype take(const QString& text);

    const QString& End() const { return end_; }
    // From the begin string on; empty until it has come.
    QString& Input() { return input_; }
    const QString& Input() const { return input_; }

private:
    QString begin_;
    QString end_;
    QString pre_;
    QString input_;
    bool begun_ = false;
};

}  // namespace dorrak
