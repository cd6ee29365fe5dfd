#include "client/stores/ui/MessageStoreHandle.h"

#include "client/core/Application.h"
#include "client/stores/ui/frmMessageStore.h"

#include "platform/ui/Twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace parlova {

namespace {
// The size a new window opens at, in twips: room for the grid's columns.
constexpr double kOpenWidth = 10500;
constexpr double kOpenHeight = 7500;
}  // namespace

MessageStoreHandle::MessageStoreHandle(std::function<QMdiArea*()> area)
    : area_(std::move(area)), registration_(Windows().Register(static_cast<MessageStoreWindow&>(*this)))
{
}

MessageStoreHandle::~MessageStoreHandle()
{
    registration_.Release();
    delete sub_.data();
}

std::unique_ptr<MessageStoreHandle> MessageStoreHandle::Install(Application& app, std::function<QMdiArea*()> area)
{
    // The slot looks the window up each time: it may outlive any handle.
    app.procedures().ToggleMessageOptions = [] {
        if (frmMessageStore* window = Current())
            window->ToggleMessageOptions();
    };
    return std::make_unique<MessageStoreHandle>(std::move(area));
}

frmMessageStore* MessageStoreHandle::Current()
{
    const auto* handle = dynamic_cast<const MessageStoreHandle*>(Windows().frmMessageStore());
    return handle ? handle->Window() : nullptr;
}

frmMessageStore* MessageStoreHandle::Window() const
{
    return sub_ && !sub_->isHidden() ? form_.data() : nullptr;
}

bool MessageStoreHandle::Visible() const { return Window() != nullptr; }

qint32 MessageStoreHandle::WindowState() const
{
    if (!Window())
        return vbNormal;
    if (sub_->isMinimized())
        return vbMinimized;
    return sub_->isMaximized() ? vbMaximized : vbNormal;
}

void MessageStoreHandle::SetWindowState(qint32 state)
{
    if (!Window())
        return;
    if (state == vbMinimized)
        sub_->showMinimized();
    else if (state == vbMaximized)
        sub_->showMaximized();
    else
        sub_->showNormal();
}

void MessageStoreHandle::SetFocus()
{
    QMdiArea* area = area_ ? area_() : nullptr;
    if (!area)
        return;
    if (!Window()) {
        Unload();
        auto* form = new frmMessageStore;
        QMdiSubWindow* sub = area->addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(form->windowTitle());
        sub->resize(platform::TwipsToPixelsX(kOpenWidth), platform::TwipsToPixelsY(kOpenHeight));
        QObject::connect(sub, &QMdiSubWindow::aboutToActivate, form, &frmMessageStore::Activated);
        sub_ = sub;
        form_ = form;
        sub->show();
    }
    area->setActiveSubWindow(sub_);
    form_->setFocus();
}

void MessageStoreHandle::Unload()
{
    if (sub_) {
        sub_->close();
        // A window closed by its owner goes at once: the next load must not
        // meet the old one's rows.
        sub_->deleteLater();
    }
    sub_ = nullptr;
    form_ = nullptr;
}

void MessageStoreHandle::AddMessage(qint32 location, qint32 index)
{
    if (frmMessageStore* w = Window())
        w->AddMessage(location, index);
}

QString MessageStoreHandle::DeleteMessage(qint32 location, qint32 index)
{
    frmMessageStore* w = Window();
    return w ? w->DeleteMessage(location, index) : QStringLiteral("Not found");
}

}  // namespace parlova
