#include "client/conversations/ui/TalkFileProcedures.h"

#include "client/conversations/Conference.h"
#include "client/conversations/TalkFile.h"
#include "client/core/Module1.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/MessageBox.h"

#include <QFileInfo>

namespace parlova {

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kFilter = QStringLiteral("Parlova Files (*.plv)|*.plv|All Files (*.*)|*.*");

// The next dialog starts in the chosen file's folder.
void RememberFolder(const QString& path) { platform::SetInitialFolder(QFileInfo(path).absolutePath()); }

}  // namespace

void OpenTalkFile(const std::optional<QString>& given)
{
    QString path;
    if (!given) {
        platform::FileDialogRequest request;
        request.filter = kFilter;
        request.defaultExt = QStringLiteral("plv");
        const std::optional<QString> chosen = platform::GetFileName(request);
        if (!chosen)
            return;
        RememberFolder(*chosen);
        path = *chosen;
    } else {
        path = *given;
        if (!path.isEmpty() && !QFileInfo::exists(path)) {
            platform::msgBox(QStringLiteral("File '") + path + QStringLiteral("' does not exist"),
                             platform::vbExclamation);
            return;
        }
    }
    Conference& conferences = Conferences();
    // Open here, or in another running copy of the program.
    if (!path.isEmpty() && (conferences.TalkExist(FileTitle(path)) || TalkFile::OpenElsewhere(path))) {
        platform::msgBox(QStringLiteral("File '") + path + QStringLiteral("' have already opened"),
                         platform::vbExclamation);
        return;
    }
    QString theme, warnings, error;
    {
        const platform::Hourglass wait;
        error = conferences.AddTalk(theme, warnings, path);
    }
    if (!error.isEmpty())
        platform::msgBox(QStringLiteral("Can`t open file '") + path + QStringLiteral("' because of: ") + kCRLF +
                             error + QStringLiteral("."),
                         platform::vbCritical);
    else if (!path.isEmpty())
        MainWin().UpdateRecentFilesList(path);
    if (!warnings.isEmpty())
        platform::msgBox(QStringLiteral("While opening file '") + path + QStringLiteral("' some error(s) occurred: ") +
                             warnings + QStringLiteral("."),
                         platform::vbExclamation);
}

QString SaveTalkFile(Conversation& talk, bool saveAs)
{
    QString path = talk.Pathname();
    const bool ask = saveAs || path.isEmpty();
    if (ask) {
        platform::FileDialogRequest request;
        request.save = true;
        request.filter = kFilter;
        request.fileName = path;
        request.defaultExt = QStringLiteral("plv");
        const std::optional<QString> chosen = platform::GetFileName(request);
        if (!chosen)
            return QString();
        RememberFolder(*chosen);
        path = *chosen;
    }
    QString error;
    {
        const platform::Hourglass wait;
        error = Conferences().SaveFile(talk.Theme(), path);
    }
    if (!error.isEmpty())
        platform::msgBox(QStringLiteral("Can`t save because of: ") + error, platform::vbCritical);
    else if (ask)
        MainWin().UpdateRecentFilesList(path);
    return error;
}

}  // namespace parlova
