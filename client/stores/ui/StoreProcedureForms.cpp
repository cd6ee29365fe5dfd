#include "client/stores/ui/StoreProcedureForms.h"

#include "client/conversations/ui/frmConf.h"
#include "client/core/Application.h"
#include "client/core/Globals.h"
#include "client/core/ui/frmAllItems.h"
#include "client/stores/IWUStore.h"
#include "client/stores/ui/MessageStoreHandle.h"
#include "client/stores/ui/frmMessageStore.h"
#include "hub/messages/BookRecords.h"
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

std::optional<QString> ChooseConferee(const QString& caption)
{
    // Held here: the chooser reads the books while it is open.
    const std::shared_ptr<corvane::BookRecords> books = G().PhoneBooks;
    if (!books)
        return std::nullopt;
    QPointer<frmConf> chooser = new frmConf(*books, MainOwner());
    chooser->setWindowTitle(caption);
    platform::ShowModalForm(chooser);
    std::optional<QString> line;
    if (chooser && chooser->IsSelectionOK()) {
        const QStringList lines = chooser->ChosenLines();
        if (!lines.isEmpty())
            line = lines.first();
    }
    delete chooser.data();
    return line;
}

}  // namespace

void StoreProcedureForms::Install(Application& app)
{
    IWUStore::Forms forms;
    forms.window = []() -> MessageEditor* { return MessageStoreHandle::Current(); };
    forms.chooseTheme = ChooseTheme;
    forms.chooseConferee = ChooseConferee;
    IWUStore::Install(app.procedures(), std::move(forms));
}

}  // namespace parlova
