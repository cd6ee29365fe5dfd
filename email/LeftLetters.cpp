#include "email/LeftLetters.h"

#include <QList>

#include <algorithm>

namespace quenby {

LeftLetters::LeftLetters(std::initializer_list<std::pair<QString, LeftLetter>> letters)
{
    for (const auto& [uid, why] : letters)
        insert(uid, why);
}

void LeftLetters::insert(const QString& uid, LeftLetter why) { letters_.insert(uid, Entry{why, ++clock_}); }

void LeftLetters::Settle(const QStringList& listed, qsizetype othersKept)
{
    const quint64 before = clock_;
    for (const QString& uid : listed) {
        const auto it = letters_.find(uid);
        if (it != letters_.end())
            it->listedAt = ++clock_;
    }
    QList<std::pair<quint64, QString>> others;
    for (auto it = letters_.cbegin(); it != letters_.cend(); ++it) {
        if (it->listedAt <= before)
            others.append({it->listedAt, it.key()});
    }
    if (others.size() <= othersKept)
        return;
    const qsizetype dropped = others.size() - std::max<qsizetype>(othersKept, 0);
    std::nth_element(others.begin(), others.begin() + dropped - 1, others.end());
    for (qsizetype i = 0; i < dropped; ++i)
        letters_.remove(others.at(i).second);
}

bool LeftLetters::operator==(const LeftLetters& other) const
{
    if (letters_.size() != other.letters_.size())
        return false;
    for (auto it = letters_.cbegin(); it != letters_.cend(); ++it) {
        const auto there = other.letters_.constFind(it.key());
        if (there == other.letters_.cend() || there->why != it->why)
            return false;
    }
    return true;
}

}  // namespace quenby
