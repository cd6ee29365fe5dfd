#include "client/conversations/MessageParameters.h"

#include <iterator>

namespace parlova {

namespace {

struct Entry {
    const char* caption;
    qint32 value;
};
constexpr Entry kCodings[] = {{"Auto", 10}, {"GSM", 0}, {"Windows", 2}, {"Unicode", 1}};
constexpr Entry kClasses[] = {{"Unspecified", 4}, {"Flash", 0}, {"SIM", 2}, {"Mobile", 1}, {"Terminal", 3}};

template <size_t N>
QStringList Captions(const Entry (&entries)[N])
{
    QStringList out;
    for (const Entry& e : entries)
        out << QString::fromLatin1(e.caption);
    return out;
}

template <size_t N>
qint32 At(const Entry (&entries)[N], qint32 index)
{
    return index >= 0 && index < qint32(N) ? entries[index].value : entries[0].value;
}

template <size_t N>
qint32 IndexOf(const Entry (&entries)[N], qint32 value)
{
    for (size_t i = 0; i < N; ++i)
        if (entries[i].value == value)
            return qint32(i);
    return -1;
}

}  // namespace

QStringList MessageParameters::CodingCaptions() { return Captions(kCodings); }
QStringList MessageParameters::ClassCaptions() { return Captions(kClasses); }
qint32 MessageParameters::CodingAt(qint32 index) { return At(kCodings, index); }
qint32 MessageParameters::ClassAt(qint32 index) { return At(kClasses, index); }
qint32 MessageParameters::CodingIndex(qint32 value) { return IndexOf(kCodings, value); }
qint32 MessageParameters::ClassIndex(qint32 value) { return IndexOf(kClasses, value); }
qint32 MessageParameters::CodingCount() { return qint32(std::size(kCodings)); }
qint32 MessageParameters::ClassCount() { return qint32(std::size(kClasses)); }

}  // namespace parlova
