#include "email/QuenbyGlobalObjs.h"

#include "email/CDOSYS.h"
#include "email/SMAPI.h"
#include "platform/Clock.h"
#include "platform/UserSettings.h"

#include <QRegularExpression>
#include <QStringList>
#include <QSysInfo>

#include <gmime/gmime.h>

#include <mutex>

// Off unless asked for (QT_LOGGING_RULES="parlova.email.debug=true"): the mail
// service keeps no log.
Q_LOGGING_CATEGORY(lcQuenby, "parlova.email", QtInfoMsg)

namespace quenby {
namespace {

EmailServiceTypes g_serviceType = NOT_SUPPORTED;
int g_minutes = 0;
qint64 g_lastTrace = -1;

bool ChoosesLocalStore(const QString& value)
{
    const QString v = value.trimmed();
    return v.compare(QLatin1String("local"), Qt::CaseInsensitive) == 0 || v == QLatin1String("2");
}

}  // namespace

EmailServiceTypes DetectServiceType()
{
    // The kernel's version stands in for the operating system's.
    const QStringList parts = QSysInfo::kernelVersion().split(QRegularExpression(QStringLiteral("[.-]")));
    auto part = [&parts](int i) { return i < parts.size() ? QString::number(parts.at(i).toInt()) : QStringLiteral("0"); };
    DebugTrace(QStringLiteral("Platform=") + QSysInfo::kernelType() + QStringLiteral(", major ver.=") + part(0) +
               QStringLiteral(", minor ver.=") + part(1) + QStringLiteral(", build=") + part(2) +
               QStringLiteral("\r\nCSD ver.=") + QSysInfo::prettyProductName());
    QString choice = qEnvironmentVariable(kServiceEnvVar);
    if (choice.trimmed().isEmpty())
        choice = platform::GetSetting(QStringLiteral("Parlova"), QStringLiteral("Email"), QStringLiteral("Service"));
    return ChoosesLocalStore(choice) ? SIMPLE_MAPI_TYPE : CDOSYS_TYPE;
}

QString EmailOverride(const char* envVar, const QString& key)
{
    // Blanks name nothing, in either place.
    const QString value = qEnvironmentVariable(envVar).trimmed();
    return value.isEmpty() ? platform::GetSetting(QStringLiteral("Parlova"), QStringLiteral("Email"), key).trimmed()
                           : value;
}

EmailServiceTypes ServiceType() { return g_serviceType; }
void SetServiceType(EmailServiceTypes type) { g_serviceType = type; }

std::shared_ptr<CDOSYS>& CdoService()
{
    static std::shared_ptr<CDOSYS> service;
    return service;
}

std::shared_ptr<SMAPI>& SmapiService()
{
    static std::shared_ptr<SMAPI> service;
    return service;
}

int& MinuteCounter() { return g_minutes; }

void DebugTrace(const QString& text)
{
    const qint64 now = platform::TickCount();
    const double elapsed = g_lastTrace < 0 ? 0.0 : (now - g_lastTrace) / 1000.0;
    g_lastTrace = now;
    qCDebug(lcQuenby).noquote() << (QStringLiteral("+") + QString::number(elapsed, 'f', 1) + QLatin1Char('\t') + text);
}

void EnsureTrailingSlash(QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    if (!text.endsWith(QLatin1Char('/')) && !text.endsWith(QLatin1Char('\\')))
        text += QLatin1Char('/');
}

void EnsureGMime()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

}  // namespace quenby
