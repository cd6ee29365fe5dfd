#include "platform/ui/DesktopService.h"

#include "platform/VbError.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {
namespace {

DesktopService g_real;
DesktopService* g_service = nullptr;
QString g_helpFolder;

struct HelpTopic {
    int context;
    const char* page;
};

// The context numbers the windows pass, onto the pages shipped in the help folder.
constexpr HelpTopic kTopics[] = {
    {21000, "main-window.html"},      {33000, "conversation-window.html"}, {34000, "phone-book-window.html"},
    {34500, "message-store-window.html"}, {35100, "options-general.html"},  {35200, "options-sms.html"},
    {35300, "options-email.html"},    {35400, "options-message.html"},     {35500, "options-view.html"},
    {42000, "connecting.html"},
};

}  // namespace

bool DesktopService::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool DesktopService::OpenFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool DesktopService::ShowHelp(int context, const std::function<void(bool shown)>& ended)
{
    const QString page = QFileInfo(HelpPath(context)).absoluteFilePath();
    if (!QFileInfo::exists(page))
        return false;
    // Qt reports success as soon as xdg-open starts; only its exit says
    // whether it found anything to show the page with.
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(page));
    // Without a parent, and never destroyed while it runs: QProcess kills
    // what it started when it goes, and the launcher may be the browser.
    auto* process = new QProcess;
    process->setProgram(launcher);
    process->setArguments({page});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    const auto gone = [process, ended](bool shown) {
        process->deleteLater();
        if (ended)
            ended(shown);
    };
    QObject::connect(process, &QProcess::finished, process, [gone](int code, QProcess::ExitStatus status) {
        gone(status == QProcess::NormalExit && code == 0);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [gone](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            gone(false);
    });
    process->start();
    return true;
}

QString DesktopService::StartSystemInfo()
{
    // The desktops' own tools, the most informative first.
    static const char* const kTools[] = {"hardinfo2", "hardinfo", "gnome-system-monitor", "plasma-systemmonitor",
                                         "ksysguard", "xfce4-taskmanager", "lxtask", "mate-system-monitor"};
    for (const char* tool : kTools) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!path.isEmpty())
            return QProcess::startDetached(path, {}) ? QString() : ErrorText(QStringLiteral("Cannot start ") + path, 75);
    }
    return ErrorText(QStringLiteral("File not found"), 53);
}

DesktopService& Desktop() { return g_service ? *g_service : g_real; }

DesktopService* SetDesktopService(DesktopService* service)
{
    DesktopService* previous = g_service;
    g_service = service;
    return previous;
}

QString HelpFolder()
{
    if (!g_helpFolder.isEmpty())
        return g_helpFolder;
    // Beside the program in the build tree, in the data folder once installed.
    const QString dir = QCoreApplication::applicationDirPath();
    const QString beside = dir + QStringLiteral("/help");
    if (QFileInfo(beside).isDir())
        return beside;
    return QDir::cleanPath(dir + QStringLiteral("/" PARLOVA_HELP_FROM_BINDIR));
}

QString HelpPath(int context)
{
    const QString page = HelpFolder() + QLatin1Char('/') + HelpPage(context);
    const QString contents = HelpFolder() + QStringLiteral("/index.html");
    return QFileInfo::exists(page) || !QFileInfo::exists(contents) ? page : contents;
}

void SetHelpFolder(const QString& folder) { g_helpFolder = folder; }

QString HelpPage(int context)
{
    for (const HelpTopic& t : kTopics)
        if (t.context == context)
            return QString::fromLatin1(t.page);
    return QStringLiteral("index.html");
}

}  // namespace platform
