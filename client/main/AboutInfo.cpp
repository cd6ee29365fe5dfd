#include "client/main/AboutInfo.h"

#include "client/core/Globals.h"
#include "client/core/Module1.h"
#include "platform/UserSettings.h"
#include "platform/ui/DesktopService.h"
#include "platform/ui/MessageBox.h"

#ifndef PARLOVA_VERSION_MAJOR
#error "The build sets the program's version."
#endif

namespace parlova {
namespace {

// The trade-mark sign, byte 153 of the code page.
constexpr char16_t kTradeMark = u'\u2122';

QString AppTitle() { return G().AppName; }

}  // namespace

AboutInfo::Version AboutInfo::BuiltVersion()
{
    return {PARLOVA_VERSION_MAJOR, PARLOVA_VERSION_MINOR, PARLOVA_VERSION_PATCH};
}

QString AboutInfo::Caption() { return QStringLiteral("About ") + AppTitle(); }

QString AboutInfo::Title(const Version& version)
{
    return AppTitle() + QChar(kTradeMark) + QStringLiteral(" (") + QString::number(version.major) +
           QLatin1Char('.') + QString::number(version.minor) + QStringLiteral(", build ") +
           QString::number(version.revision) + QStringLiteral(")\r\n") + Copyright();
}

QString AboutInfo::Copyright() { return QStringLiteral("Copyright \u00A9 2026 the Parlova developers"); }

QString AboutInfo::Comments()
{
    return QStringLiteral("Sends and receives SMS through a GSM phone or modem on a serial port and e-mail "
                          "through your mail account, and keeps both in conversations.");
}

QString AboutInfo::Disclaimer()
{
    return QStringLiteral("This program is provided as it is, without warranty of any kind. Keep copies of "
                          "the messages that matter to you: neither the phone nor this program is a safe "
                          "place for the only copy.");
}

void AboutInfo::StartSysInfo()
{
    const QString error = platform::Desktop().StartSystemInfo();
    if (!error.isEmpty())
        platform::msgBox(SysInfoUnavailable(error), platform::vbExclamation);
}

QString AboutInfo::SysInfoUnavailable(const QString& error)
{
    return QStringLiteral("System Information is unavailable because of:\r\n") + error;
}

bool AboutInfo::GetKeyValue(qint32, const QString& keyName, const QString& valueName, QString& value)
{
    for (const auto& [key, text] : platform::GetAllSettings(AppTitle(), keyName)) {
        if (key.compare(valueName, Qt::CaseInsensitive) == 0) {
            value = TrimAtNull(text);
            return true;
        }
    }
    value.clear();
    return false;
}

}  // namespace parlova
