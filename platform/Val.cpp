#include "platform/Val.h"

namespace platform {

double Val(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n')
            s.append(c);

    if (s.size() >= 2 && s[0] == u'&') {
        const QChar kind = s[1].toUpper();
        const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
        if (base) {
            qint64 v = 0;
            qsizetype i = 2;
            for (; i < s.size() && i < 2 + 16; ++i) {
                const int d = s[i].isDigit() ? s[i].digitValue()
                              : (base == 16 && s[i].toUpper() >= u'A' && s[i].toUpper() <= u'F')
                                  ? s[i].toUpper().unicode() - 'A' + 10
                                  : -1;
                if (d < 0 || d >= base)
                    break;
                v = v * base + d;
            }
            // Hex literals of up to eight digits are 32-bit signed, as in the runtime.
            if (i - 2 <= 8 && base == 16 && v > 0x7FFFFFFF)
                v -= 0x100000000LL;
            return static_cast<double>(v);
        }
    }

    qsizetype i = 0;
    QString num;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        num.append(s[i++]);
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= u'0' && s[i] <= u'9') {
            num.append(s[i]);
            digits = true;
        } else if (s[i] == u'.' && !point) {
            num.append(s[i]);
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    if (i < s.size() && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D')) {
        QString exp = QStringLiteral("e");
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exp.append(s[j++]);
        bool expDigits = false;
        for (; j < s.size() && s[j] >= u'0' && s[j] <= u'9'; ++j) {
            exp.append(s[j]);
            expDigits = true;
        }
        if (expDigits)
            num.append(exp);
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    return ok ? v : 0;
}

}  // namespace platform
