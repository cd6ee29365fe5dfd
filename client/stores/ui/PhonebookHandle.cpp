#include "client/stores/ui/PhonebookHandle.h"

#include "client/core/Application.h"
#include "client/stores/ui/PhonebookProcedures.h"
#include "client/stores/ui/frmPhonebook.h"

#include <QMdiArea>

namespace parlova {

namespace {
// The size a new window opens at, in twips: room for the four columns.
constexpr double kOpenWidth = 7800;
constexpr double kOpenHeight = 6000;
const QString kNotFound = QStringLiteral("Contact not found");
}  // namespace

PhonebookHandle::PhonebookHandle(std::function<QMdiArea*()> area)
    : area_(area),
      child_(std::move(area), [] { return new frmPhonebook; }, QSizeF(kOpenWidth, kOpenHeight)),
      registration_(Windows().Register(static_cast<PhonebookWindow&>(*this)))
{
}

PhonebookHandle::~PhonebookHandle() { registration_.Release(); }

std::unique_ptr<PhonebookHandle> PhonebookHandle::Install(Application& app, std::function<QMdiArea*()> area)
{
    InstallPhonebookProcedures(app.procedures());
    return std::make_unique<PhonebookHandle>(std::move(area));
}

PhonebookHandle* PhonebookHandle::Current() { return dynamic_cast<PhonebookHandle*>(Windows().frmPhonebook()); }

frmPhonebook* PhonebookHandle::CurrentWindow()
{
    const PhonebookHandle* handle = Current();
    return handle ? handle->Window() : nullptr;
}

frmPhonebook* PhonebookHandle::Window() const { return static_cast<frmPhonebook*>(child_.Form()); }

QWidget* PhonebookHandle::Owner() const
{
    QMdiArea* area = area_ ? area_() : nullptr;
    return area ? area->window() : nullptr;
}

QString PhonebookHandle::AddContact(const QString& bookName, qint32 index)
{
    frmPhonebook* w = Window();
    return w ? w->AddContact(bookName, index) : kNotFound;
}

QString PhonebookHandle::UpdateContact(const QString& bookName, qint32 index)
{
    frmPhonebook* w = Window();
    return w ? w->UpdateContact(bookName, index) : kNotFound;
}

QString PhonebookHandle::DeleteContact(const QString& bookName, qint32 index)
{
    frmPhonebook* w = Window();
    return w ? w->DeleteContact(bookName, index) : kNotFound;
}

}  // namespace parlova
