#include "client/main/ui/DialogProcedures.h"

#include "client/core/Procedures.h"
#include "client/main/TalkExport.h"
#include "client/main/ui/FontColorProcedures.h"
#include "client/main/ui/frmAbout.h"

namespace parlova {

void FillDialogProcedures(Procedures& procedures)
{
    procedures.ChooseFont = [](QWidget* control) { ChooseFont(control); };
    procedures.ChooseColor = [](QWidget* control) { ChooseColor(control); };
    procedures.ExportTalk = [](const QString& text, const QString& theme) { ExportTalk(text, theme); };
    procedures.ShowAbout = [](QWidget* owner) { ShowAbout(owner); };
}

}  // namespace parlova
