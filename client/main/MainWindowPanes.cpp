#include "client/main/MainWindowPanes.h"

#include "client/core/Globals.h"
#include "client/core/PhoneProfile.h"
#include "client/main/RecentFiles.h"
#include "email/EmailGate.h"
#include "hub/engine/Gate.h"
#include "platform/VbError.h"

namespace parlova {

MainWindowPanes::MainWindowPanes() : caption_(G().AppName)
{
    panes_[0].toolTip = QStringLiteral("Background operation and alerting");
    panes_[1].toolTip = QStringLiteral("Progress of a background operation");
    panes_[2].text = QStringLiteral("Phone");
    panes_[2].toolTip = QStringLiteral("Phone");
    panes_[3].text = QStringLiteral("Email");
    panes_[3].toolTip = QStringLiteral("Email");
}

const StatusPane& MainWindowPanes::Pane(int index) const
{
    if (index < 1 || index > 4)
        platform::Raise(platform::vberr::SubscriptOutOfRange, QStringLiteral("StatusBar"),
                        QStringLiteral("Subscript out of range"));
    return panes_[index - 1];
}

StatusPane& MainWindowPanes::pane(int index) { return const_cast<StatusPane&>(Pane(index)); }

void MainWindowPanes::changed(int index)
{
    if (paneChanged)
        paneChanged(index);
}

void MainWindowPanes::alertUser(const QString& text)
{
    pane(1).text = text;
    changed(1);
}

void MainWindowPanes::ShowProgress(qint32 percent, const QString& caption)
{
    if (!caption.isEmpty())
        progressCaption_ = caption;
    QString suffix;
    if (percent >= 100) {
        suffix = QStringLiteral("...Done");
    } else if (percent == 0) {
        suffix = QStringLiteral("...");
    } else if (percent == -1) {
        progressCaption_.clear();
    } else {
        suffix = QStringLiteral("...") + QString::number(percent) + QStringLiteral("%");
    }
    pane(1).text = progressCaption_ + suffix;
    changed(1);
}

// The panes' refreshes go on past a failing statement: a gate that is gone
// leaves the pane as far as it got.
namespace {
template <class F>
void Ignoring(F&& statement)
{
    try {
        statement();
    } catch (...) {
    }
}

bool PhoneConnected() { return G().PhoneGate && G().PhoneGate->connected(); }
}  // namespace

void MainWindowPanes::Ready()
{
    StatusPane& phone = pane(3);
    phone.text = QStringLiteral("Phone");
    Ignoring([&] {
        if (PhoneConnected()) {
            phone.enabled = true;
            phone.toolTip = G().PhoneGate->ComPort() + QStringLiteral(", ") + QString::number(G().PhoneGate->Speed()) +
                            QStringLiteral(" bit/sec");
        } else {
            phone.enabled = false;
            phone.toolTip = QStringLiteral("No connection");
        }
    });
    changed(3);
}

void MainWindowPanes::SMS()
{
    StatusPane& phone = pane(3);
    Ignoring([&] {
        if (!PhoneConnected())
            return;
        if (G().ConnectedPhone->PDUMode) {
            phone.text = QStringLiteral("SMS");
            phone.toolTip = QStringLiteral("SMS available, ") + phone.toolTip;
        } else {
            phone.toolTip = QStringLiteral("SMS unavailable, ") + phone.toolTip;
        }
    });
    changed(3);
}

void MainWindowPanes::phoneName(const QString& name)
{
    StatusPane& phone = pane(3);
    Ignoring([&] {
        if (PhoneConnected())
            phone.toolTip += QStringLiteral(", ") + name;
    });
    changed(3);
}

void MainWindowPanes::Email()
{
    StatusPane& mail = pane(4);
    Ignoring([&] {
        const bool ready = G().MailGate && G().MailGate->Ready();
        mail.enabled = ready;
        mail.toolTip = ready ? QStringLiteral("Email available") : QStringLiteral("Email unavailable");
    });
    changed(4);
}

void MainWindowPanes::SetButtonValue(ToolbarId toolbar, const QString& key, qint32 value)
{
    buttons_[{int(toolbar), key}] = value;
    if (buttonChanged)
        buttonChanged(toolbar, key);
}

qint32 MainWindowPanes::ButtonValue(ToolbarId toolbar, const QString& key) const
{
    const auto it = buttons_.find({int(toolbar), key});
    return it == buttons_.end() ? 0 : it->second;
}

void MainWindowPanes::UpdateCaption(qint32 unread)
{
    caption_ = G().AppName;
    if (unread != 0)
        caption_ += QStringLiteral(" (") + QString::number(unread) + QStringLiteral(")");
    if (captionChanged)
        captionChanged();
}

void MainWindowPanes::UpdateRecentFilesList(const QString& path)
{
    if (RecentFiles::Update(path) && recentFilesChanged)
        recentFilesChanged();
}

void MainWindowPanes::notifyToolbar()
{
    if (toolbarChanged)
        toolbarChanged();
}

void MainWindowPanes::SetActiveToolbar(ToolbarId toolbar)
{
    activeToolbar_ = toolbar;
    notifyToolbar();
}

void MainWindowPanes::SetActiveToolbarVisible(bool visible)
{
    toolbarVisible_ = visible;
    notifyToolbar();
}

void MainWindowPanes::ChangeToolbar(bool mainWindow)
{
    ToolbarId next = activeToolbar_;
    if (mainWindow) {
        next = tlbMDI;
    } else {
        const QString name = activeChildName ? activeChildName() : QString();
        if (name == QLatin1String("frmTalk"))
            next = tlbTalk;
        else if (name == QLatin1String("frmPhonebook"))
            next = tlbBook;
        else if (name == QLatin1String("frmMessageStore"))
            next = tlbStore;
        else if (name == QLatin1String("frmMDI"))
            next = tlbMDI;
    }
    // The row's visibility is the user's choice and survives the switch.
    activeToolbar_ = next;
    notifyToolbar();
}

void MainWindowPanes::Arrange(qint32 arrangement)
{
    if (arrangeRequested)
        arrangeRequested(arrangement);
}

}  // namespace parlova
