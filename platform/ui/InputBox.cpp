#include "platform/ui/InputBox.h"

#include "platform/ui/MessageBox.h"
#include "platform/Timer.h"

#include <QApplication>
#include <QInputDialog>

namespace platform {
namespace {
InputBoxHook g_hook;
}

std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText,
                                QWidget* owner)
{
    InputBoxRequest r{prompt, title.isEmpty() ? QApplication::applicationDisplayName() : title, defaultText};
    if (g_hook)
        return g_hook(r);
    if (TimersInert() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qWarning("Unanswered input box: %s", qPrintable(prompt));
        return std::nullopt;
    }
    bool ok = false;
    const QString text = QInputDialog::getText(owner ? owner : QApplication::activeWindow(), r.title,
                                               MessageBoxText(prompt), QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

InputBoxHook SetInputBoxHook(InputBoxHook hook)
{
    InputBoxHook previous = std::move(g_hook);
    g_hook = std::move(hook);
    return previous;
}

}  // namespace platform
