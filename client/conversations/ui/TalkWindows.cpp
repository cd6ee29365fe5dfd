#include "client/conversations/ui/TalkWindows.h"

#include "client/conversations/Conference.h"
#include "client/conversations/ui/TalkFileProcedures.h"
#include "client/conversations/ui/frmTalk.h"

#include <QMdiSubWindow>

namespace parlova {

void TalkWindows::Install(Application& app, std::function<QMdiArea*()> area)
{
    app.MakeConferences = [area] {
        return std::make_shared<Conference>([area] { return frmTalk::Create(area ? area() : nullptr); });
    };
    InstallProcedures(app.procedures());
}

void TalkWindows::InstallProcedures(Procedures& procedures)
{
    procedures.OpenTalkFile = [](std::optional<QString> path) { OpenTalkFile(path); };
    procedures.SaveTalkFile = [](QWidget* window, bool saveAs) {
        frmTalk* talk = Of(window);
        return talk ? SaveTalkFile(*talk, saveAs) : QString();
    };
    procedures.ToggleTalkOptions = [](QWidget* window) {
        frmTalk* talk = Of(window);
        return talk ? talk->ToggleTalkOptions() : QString();
    };
    Conversation::SaveTalkFileProcedure() = [](Conversation& talk, bool saveAs) { return SaveTalkFile(talk, saveAs); };
}

frmTalk* TalkWindows::Of(QWidget* window)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window))
        window = sub->widget();
    return dynamic_cast<frmTalk*>(window);
}

}  // namespace parlova
