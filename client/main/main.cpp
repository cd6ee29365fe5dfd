// Parlova: the application object makes the process-wide objects, the main
// window shows them and runs the main loop until it is closed.
#include "client/conversations/ui/ConfereeProcedures.h"
#include "client/conversations/ui/TalkWindows.h"
#include "client/conversations/ui/frmFind.h"
#include "client/core/Application.h"
#include "client/core/ui/SettingsWidgets.h"
#include "client/main/MainProcedures.h"
#include "client/main/ui/DialogProcedures.h"
#include "client/main/ui/frmMDI.h"
#include "client/main/ui/frmOptions.h"
#include "client/stores/ui/MessageStoreHandle.h"
#include "client/stores/ui/PhonebookHandle.h"
#include "client/stores/ui/StoreProcedureForms.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
    // A file-size limit fails the write (EFBIG), reported as a full disk,
    // instead of ending the program with every window's unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parlova"));
    parlova::Application application;
    parlova::ConnectQuestionsToMessageBoxes();
    parlova::ConnectSettingsToDialogs(application.settings());
    // Conversation windows open in the main window's MDI area.
    parlova::frmMDI* mainWindow = nullptr;
    parlova::TalkWindows::Install(application, [&mainWindow] { return mainWindow ? mainWindow->MdiArea() : nullptr; });
    parlova::ConfereeProcedures::Install(application.procedures());
    application.StartUp();
    parlova::InstallMainProcedures();
    parlova::FillDialogProcedures(parlova::Procs());
    parlova::frmFind::Install(parlova::Procs());
    parlova::frmOptions::Install();
    parlova::frmMDI window(QApplication::arguments().mid(1));
    mainWindow = &window;
    const auto messageStore =
        parlova::MessageStoreHandle::Install(application, [&window] { return window.MdiArea(); });
    const auto phonebook = parlova::PhonebookHandle::Install(application, [&window] { return window.MdiArea(); });
    parlova::StoreProcedureForms::Install(application);
    window.Load();
    return QApplication::exec();
}
