#include "platform/ui/ModalForm.h"

#include "platform/ModalFormCount.h"
#include "platform/Timer.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace platform {
namespace {

ModalFormHook g_hook;

}  // namespace

int ShowModalForm(QDialog* form)
{
    if (!form)
        return QDialog::Rejected;
    const ModalFormCount open;
    QPointer<QDialog> watched = form;
    if (g_hook) {
        form->setResult(QDialog::Rejected);
        form->show();
        g_hook(*form);
        if (!watched)
            return QDialog::Rejected;
        if (form->isVisible())
            form->reject();
        return form->result();
    }
    if (TimersInert() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // A test that forgot to fill the form must not hang the run.
        qWarning("Unanswered form %s", qPrintable(form->objectName()));
        return QDialog::Rejected;
    }
    const int result = form->exec();
    return watched ? result : int(QDialog::Rejected);
}

ModalFormHook SetModalFormHook(ModalFormHook hook)
{
    ModalFormHook previous = std::move(g_hook);
    g_hook = std::move(hook);
    return previous;
}

}  // namespace platform
