// Parlova: the application object makes the process-wide objects, the main
// window shows them and runs the main loop until it is closed.
#include "client/core/Application.h"
#include "client/core/ui/SettingsWidgets.h"
#include "client/main/MainProcedures.h"
#include "client/main/ui/frmMDI.h"
#include "client/stores/ui/MessageStoreHandle.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parlova"));
    parlova::Application application;
    parlova::ConnectQuestionsToMessageBoxes();
    parlova::ConnectSettingsToDialogs(application.settings());
    application.StartUp();
    parlova::InstallMainProcedures();
    parlova::frmMDI window(QApplication::arguments().mid(1));
    const auto messageStore =
        parlova::MessageStoreHandle::Install(application, [&window] { return window.MdiArea(); });
    window.Load();
    return QApplication::exec();
}
