#pragma once
// What the program asks of the desktop: open a web page or a file in the
// user's application for it, show help at a context number, start a
// system-information tool. Tests install the recording fake.
#include <QString>
#include <QUrl>

#include <functional>

namespace platform {

class DesktopService {
public:
    virtual ~DesktopService() = default;
    virtual bool OpenUrl(const QUrl& url);
    virtual bool OpenFile(const QString& path);
    // Context 0 is the contents page. False when it cannot be shown: no
    // page, or nothing to open it with. A launcher found on the PATH is not
    // waited for: ended says, once it has gone, whether it showed the page.
    virtual bool ShowHelp(int context, const std::function<void(bool shown)>& ended = {});
    // Empty on success, else "description (number)".
    virtual QString StartSystemInfo();
};

// The service in use (the real one unless a test set another).
DesktopService& Desktop();
// Returns the previous service; nullptr puts the real one back.
DesktopService* SetDesktopService(DesktopService* service);

// Help pages are HTML files in one folder: the "help" folder beside the
// program (the build tree), else share/parlova/help of the prefix it was
// installed in, unless set otherwise.
QString HelpFolder();
void SetHelpFolder(const QString& folder);
// The page of a help context: a known context has its own page, anything
// else (and 0) the contents, "index.html".
QString HelpPage(int context);
// The file ShowHelp opens for a context: its page, else the contents, in
// the help folder; the page itself when neither is there.
QString HelpPath(int context);

}  // namespace platform
