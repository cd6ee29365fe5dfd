#include "platform/ui/MessageBox.h"

#include "platform/ui/DesktopService.h"
#include "platform/ui/DialogRelease.h"
#include "platform/Timer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace platform {
namespace {

MessageBoxHook g_hook;

QMessageBox::StandardButton ButtonOf(int answer)
{
    switch (answer) {
    case vbOK: return QMessageBox::Ok;
    case vbCancel: return QMessageBox::Cancel;
    case vbAbort: return QMessageBox::Abort;
    case vbRetry: return QMessageBox::Retry;
    case vbIgnore: return QMessageBox::Ignore;
    case vbYes: return QMessageBox::Yes;
    case vbNo: return QMessageBox::No;
    default: return QMessageBox::NoButton;
    }
}

QMessageBox::Icon IconOf(int style)
{
    switch (style & 112) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// A box that Escape and the window's close button leave alone when the
// style has no way out but a choice, and whose F1 opens help.
class Box : public QMessageBox {
public:
    Box(bool escapable, int helpContext, QWidget* parent)
        : QMessageBox(parent), escapable_(escapable), helpContext_(helpContext) {}

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Escape && !escapable_) {
            e->accept();
            return;
        }
        if (e->key() == Qt::Key_F1 && helpContext_ != 0) {
            Desktop().ShowHelp(helpContext_);
            e->accept();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (!escapable_) {
            e->ignore();
            return;
        }
        QMessageBox::closeEvent(e);
    }

private:
    bool escapable_;
    int helpContext_;
};

int ShowBox(const MessageBoxRequest& r, QWidget* owner)
{
    const std::vector<int> answers = StyleAnswers(r.style);
    const int escape = EscapeAnswer(r.style);
    const int def = DefaultAnswer(r.style);
    // On the heap and watched: a timer may unload the owner while the box is
    // up, and the box goes with it.
    QPointer<Box> guard = new Box(escape != 0, r.helpContext, owner ? owner : QApplication::activeWindow());
    const DialogRelease release(guard);
    Box& box = *guard;
    box.setWindowTitle(r.title);
    box.setTextFormat(Qt::PlainText);
    box.setText(MessageBoxText(r.prompt));
    box.setIcon(IconOf(r.style));
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (int a : answers)
        buttons.emplace_back(box.addButton(ButtonOf(a)), a);
    QAbstractButton* help = nullptr;
    if (r.style & vbMsgBoxHelpButton)
        help = box.addButton(QMessageBox::Help);
    for (auto& [b, a] : buttons) {
        if (a == def)
            box.setDefaultButton(static_cast<QPushButton*>(b));
        if (a == escape)
            box.setEscapeButton(b);
    }
    for (;;) {
        box.exec();
        if (!guard)
            return escape ? escape : def;
        QAbstractButton* clicked = box.clickedButton();
        // Help answers nothing: the box comes back after showing the topic.
        if (help && clicked == help) {
            Desktop().ShowHelp(r.helpContext);
            continue;
        }
        for (auto& [b, a] : buttons)
            if (b == clicked)
                return a;
        return escape ? escape : def;
    }
}

}  // namespace

std::vector<int> StyleAnswers(int style)
{
    switch (style & 7) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

int DefaultAnswer(int style)
{
    const std::vector<int> answers = StyleAnswers(style);
    const size_t index = static_cast<size_t>((style & 768) / 256);
    return index < answers.size() ? answers[index] : answers.front();
}

int EscapeAnswer(int style)
{
    const std::vector<int> answers = StyleAnswers(style);
    if (std::find(answers.begin(), answers.end(), vbCancel) != answers.end())
        return vbCancel;
    return answers.size() == 1 ? answers.front() : 0;
}

QString MessageBoxText(const QString& prompt)
{
    QString text = prompt;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int msgBox(const QString& prompt, int style, const QString& title, int helpContext, QWidget* owner)
{
    MessageBoxRequest r{prompt, style, title, helpContext};
    if (r.title.isEmpty())
        r.title = QApplication::applicationDisplayName();
    const std::vector<int> answers = StyleAnswers(style);
    int reply = 0;
    if (g_hook) {
        reply = g_hook(r);
    } else if (TimersInert() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // A test that forgot to answer must not hang the run, and a program
        // without widgets cannot show a box.
        qWarning("Unanswered message box: %s", qPrintable(prompt));
        reply = DefaultAnswer(style);
    } else {
        reply = ShowBox(r, owner);
    }
    if (std::find(answers.begin(), answers.end(), reply) == answers.end())
        reply = DefaultAnswer(style);
    return reply;
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    MessageBoxHook previous = std::move(g_hook);
    g_hook = std::move(hook);
    return previous;
}

}  // namespace platform
