#pragma once
// The words for a relative validity period code (0..255) as the sliders
// show it: "0 h 5 min" ... "24 h 0 min", "2 days" ... "30 days",
// "5 weeks" ... "63 weeks". A code outside 0..255 gives "".
#include <QString>
#include <QtGlobal>

namespace parlova {

QString ValidityPeriodText(qint32 code);

}  // namespace parlova
