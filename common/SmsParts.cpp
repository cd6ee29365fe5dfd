#include "common/SmsParts.h"

#include "common/GsmAlphabet.h"

namespace common {
namespace {

struct Limits {
    int onePart;   // one part without header holds up to this
    int joined;    // per part with a header
    int separate;  // per part after the "(i/n)" prefix
    int mostJoined;
    int mostSeparate;
};

const Limits* limitsFor(int coding)
{
    static const Limits k7bit{160, 153, 155, 39015, 1395};
    static const Limits kUcs2{70, 67, 65, 17085, 585};
    static const Limits k8bit{140, 134, 135, 34170, 1215};
    switch (coding) {
    case 0: return &k7bit;
    case 1: return &kUcs2;
    case 2: return &k8bit;
    default: return nullptr;
    }
}

constexpr int kMostJoinedParts = 255;
constexpr int kMostSeparateParts = 9;

// What one character takes of a part.
int unitsOf(QChar c, int coding) { return coding == 0 ? GSMSeptetCount(c) : 1; }

}  // namespace

QString SmsText(const QString& text, int coding, bool joined)
{
    const Limits* lim = limitsFor(coding);
    if (!lim)
        return QString();
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const int most = joined ? lim->mostJoined : lim->mostSeparate;
    if (t.size() > most) {
        t.truncate(most);
        // Never keep half of a surrogate pair.
        if (t.back().isHighSurrogate())
            t.chop(1);
    }
    return t;
}

SmsParts SplitSms(const QString& text, int coding, bool joined)
{
    SmsParts out;
    const Limits* lim = limitsFor(coding);
    out.text = SmsText(text, coding, joined);
    if (!lim) {
        out.parts << QString();
        return out;
    }

    int total = 0;
    for (QChar c : out.text)
        total += unitsOf(c, coding);
    if (total <= lim->onePart) {
        out.parts << out.text;
        out.units = total;
        return out;
    }

    const int size = joined ? lim->joined : lim->separate;
    const int mostParts = joined ? kMostJoinedParts : kMostSeparateParts;
    const qsizetype n = out.text.size();
    qsizetype i = 0;
    int kept = 0;
    while (i < n && out.parts.size() < mostParts) {
        const qsizetype start = i;
        int used = 0;
        while (i < n && used + unitsOf(out.text[i], coding) <= size)
            used += unitsOf(out.text[i++], coding);
        // A UCS2 part must not end between the halves of a pair.
        if (coding == 1 && i < n && i - start > 1 && out.text[i - 1].isHighSurrogate()) {
            --i;
            --used;
        }
        out.parts << out.text.mid(start, i - start);
        kept += used;
    }
    if (i < n)
        out.text.truncate(i);
    out.units = kept;
    out.header = joined;
    return out;
}

}  // namespace common
