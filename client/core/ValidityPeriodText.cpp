#include "client/core/ValidityPeriodText.h"

namespace parlova {

namespace {
QString HoursAndMinutes(qint32 minutes)
{
    return QString::number(minutes / 60) + QStringLiteral(" h ") + QString::number(minutes % 60) +
           QStringLiteral(" min");
}
}  // namespace

QString ValidityPeriodText(qint32 code)
{
    if (code < 0 || code > 255)
        return QString();
    if (code <= 143)
        return HoursAndMinutes((code + 1) * 5);
    if (code <= 167)
        return HoursAndMinutes(720 + (code - 143) * 30);
    if (code <= 196)
        return QString::number(code - 166) + QStringLiteral(" days");
    return QString::number(code - 192) + QStringLiteral(" weeks");
}

}  // namespace parlova
