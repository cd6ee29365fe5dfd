#include "client/main/OptionsRules.h"

#include "client/core/Module1.h"
#include "client/core/Settings.h"

#include "platform/Val.h"

#include <cmath>
#include <limits>

namespace parlova {

const std::array<OptionsTab, OptionsRules::kTabCount>& OptionsRules::Tabs()
{
    static const std::array<OptionsTab, kTabCount> tabs = {{
        {QStringLiteral("General"), QStringLiteral("General"), QStringLiteral("Set general application`s options"), 35100},
        {QStringLiteral("SMS"), QStringLiteral("Connection"), QStringLiteral("Set options for SMS service (through the phone)"), 35200},
        {QStringLiteral("Email"), QStringLiteral("Email"), QStringLiteral("Set options for email service"), 35300},
        {QStringLiteral("Message"), QStringLiteral("Message"), QStringLiteral("Set default options for new Talks"), 35400},
        {QStringLiteral("View"), QStringLiteral("View"), QStringLiteral("Set fonts, colors and other visual parameters"), 35500},
    }};
    return tabs;
}

int OptionsRules::PageOfTab(int tab, qint32 emailType)
{
    switch (tab) {
    case 0: return 0;
    case 1: return 1;
    case 2: return emailType == 1 ? 2 : emailType == 2 ? 6 : kNoPage;
    case 3: return 3;
    case 4: return 4;
    }
    return kNoPage;
}

int OptionsRules::NextTab(int tab) { return tab + 1 < kTabCount ? tab + 1 : 0; }

QString OptionsRules::LastPortCaption(qint32 lastPort)
{
    return lastPort != 0 ? QStringLiteral("The last connected port (COM%1)").arg(lastPort)
                         : QStringLiteral("The last connected port (not yet)");
}

QString OptionsRules::FontDescription(const platform::FontSpec& font)
{
    return font.name + QStringLiteral("; ") + QString::number(font.size) + QStringLiteral("; ") +
           CharsetName(font.charset);
}

qint32 OptionsRules::CodingShown(qint32 coding) { return coding == 0 || coding == 1 || coding == 2 ? coding : 10; }

std::optional<qint32> OptionsRules::ClassShown(qint32 messageClass)
{
    if (messageClass >= 0 && messageClass <= 4)
        return messageClass;
    return std::nullopt;
}

qint32 OptionsRules::ValidityShown(qint32 validityType) { return validityType == 2 || validityType == 3 ? validityType : 0; }

OptionsRules::BoxValue OptionsRules::ScanBoxValue(const QString& text, qint32 min, qint32 max)
{
    const double v = std::nearbyint(platform::Val(text));
    if (!(v >= min))  // also a text with no number: Val gives 0
        return {min, true};
    if (v > max)
        return {max, true};
    return {qint32(v), false};
}

const std::array<NumberCheck, 7>& OptionsRules::NumberChecks()
{
    static const std::array<NumberCheck, 7> checks = {{
        {"Text14", 10, 600, "Enter number from 10 to 600"},
        {"Text16", 0, std::numeric_limits<qint32>::max(), "Enter positive whole number"},
        {"Text17", 1, 600, "Enter number from 1 to 600"},
        {"Text19", 0, std::numeric_limits<qint32>::max(), "Enter positive whole number"},
        {"Text20", 0, std::numeric_limits<qint32>::max(), "Enter whole positive number"},
        {"Text22", 1, 255, "Enter number from 1 to 255"},
        {"Text23", 1, 600, "Enter number from 1 to 600"},
    }};
    return checks;
}

QString OptionsRules::CheckNumber(const NumberCheck& check, const QString& text)
{
    // A number that does not fit 32 bits is out of every range.
    const std::optional<qint32> v = Settings::LongFromText(text);
    if (v && *v >= check.min && *v <= check.max)
        return QString();
    return QString::fromLatin1(check.message);
}

}  // namespace parlova
