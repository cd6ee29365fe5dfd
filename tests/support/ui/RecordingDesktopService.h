#pragma once
#include "platform/ui/DesktopService.h"

#include <vector>

namespace platform {

// Records every call and answers with `result`; installs itself for its
// lifetime.
class RecordingDesktopService : public DesktopService {
public:
    enum class Kind { Url, File, Help, SystemInfo };
    struct Call {
        Kind kind;
        QString target;  // the URL or the path
        int context = 0;
    };

    RecordingDesktopService();
    ~RecordingDesktopService() override;
    RecordingDesktopService(const RecordingDesktopService&) = delete;
    RecordingDesktopService& operator=(const RecordingDesktopService&) = delete;

    bool OpenUrl(const QUrl& url) override;
    bool OpenFile(const QString& path) override;
    bool ShowHelp(int context, const std::function<void(bool shown)>& ended = {}) override;
    QString StartSystemInfo() override;

    std::vector<Call> calls;
    bool result = true;
    QString systemInfoError;

private:
    DesktopService* previous_;
};

}  // namespace platform
