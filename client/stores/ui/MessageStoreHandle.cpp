#include "client/stores/ui/MessageStoreHandle.h"

#include "client/core/Application.h"
#include "client/stores/ui/frmMessageStore.h"

#include <QMdiSubWindow>

namespace parlova {

namespace {
// The size a new window opens at, in twips: room for the grid's columns.
constexpr double kOpenWidth = 10500;
constexpr double kOpenHeight = 7500;
}  // namespace

MessageStoreHandle::MessageStoreHandle(std::function<QMdiArea*()> area)
    : child_(
          std::move(area), [] { return new frmMessageStore; }, QSizeF(kOpenWidth, kOpenHeight),
          [](QMdiSubWindow* sub, QWidget* form) {
              auto* window = static_cast<frmMessageStore*>(form);
              QObject::connect(sub, &QMdiSubWindow::aboutToActivate, window, &frmMessageStore::Activated);
          }),
      registration_(Windows().Register(static_cast<MessageStoreWindow&>(*this)))
{
}

MessageStoreHandle::~MessageStoreHandle() { registration_.Release(); }

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

frmMessageStore* MessageStoreHandle::Window() const { return static_cast<frmMessageStore*>(child_.Form()); }

bool MessageStoreHandle::Visible() const { return child_.Visible(); }

qint32 MessageStoreHandle::WindowState() const { return child_.WindowState(); }

void MessageStoreHandle::SetWindowState(qint32 state) { child_.SetWindowState(state); }

void MessageStoreHandle::SetFocus() { child_.SetFocus(); }

void MessageStoreHandle::Unload() { child_.Unload(); }

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
