#include "client/stores/ui/StoreProcedureForms.h"

#include "client/core/Application.h"
#include "client/core/ui/frmAllItems.h"
#include "client/stores/IWUStore.h"
#include "client/stores/ui/MessageStoreHandle.h"
#include "client/stores/ui/frmMessageStore.h"
#include "platform/ui/ModalForm.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>

namespace parlova {

namespace {

// The main window, which owns the procedures' forms.
QWidget* MainOwner()
{
    if (frmMessageStore* window = MessageStoreHandle::Current())
        return window->window();
    return QApplication::activeWindow();
}

QString ChooseTheme(const QStringList& themes)
{
    QPointer<frmAllItems> picker = new frmAllItems(MainOwner());
    picker->List1->addItems(themes);
    picker->setWindowTitle(QStringLiteral("All conferences"));
    platform::ShowModalForm(picker);
    QString theme;
    if (picker && picker->IsSelectionOK() && picker->ListIndex() != -1)
        theme = picker->SelectedText();
    delete picker.data();
    return theme;
}

}  // namespace

void StoreProcedureForms::Install(Application& app)
{
    IWUStore::Forms forms;
    forms.window = []() -> MessageEditor* { return MessageStoreHandle::Current(); };
    forms.chooseTheme = ChooseTheme;
    IWUStore::Install(app.procedures(), std::move(forms));
}

}  // namespace parlova
