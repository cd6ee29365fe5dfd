#include "support/ui/RecordingDesktopService.h"

namespace platform {

RecordingDesktopService::RecordingDesktopService() : previous_(SetDesktopService(this)) {}

RecordingDesktopService::~RecordingDesktopService() { SetDesktopService(previous_); }

bool RecordingDesktopService::OpenUrl(const QUrl& url)
{
    calls.push_back({Kind::Url, url.toString(), 0});
    return result;
}

bool RecordingDesktopService::OpenFile(const QString& path)
{
    calls.push_back({Kind::File, path, 0});
    return result;
}

bool RecordingDesktopService::ShowHelp(int context, const std::function<void(bool shown)>&)
{
    calls.push_back({Kind::Help, HelpPage(context), context});
    return result;
}

QString RecordingDesktopService::StartSystemInfo()
{
    calls.push_back({Kind::SystemInfo, QString(), 0});
    return systemInfoError;
}

}  // namespace platform
