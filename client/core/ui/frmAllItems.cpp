#include "client/core/ui/frmAllItems.h"

#include "client/core/ui/SettingsWidgets.h"
#include "platform/ui/Twips.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace parlova {
namespace {

constexpr double kMinWidthTwips = 5295;
constexpr double kMinHeightTwips = 4995;

}  // namespace

frmAllItems::frmAllItems(QWidget* owner)
    : QDialog(owner), List1(new QListWidget(this)), OKButton(new QPushButton(QStringLiteral("OK"), this)),
      CancelButton(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmAllItems"));
    List1->setObjectName(QStringLiteral("List1"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    OKButton->setDefault(true);
    setSizeGripEnabled(true);
    setMinimumSize(platform::TwipsToPixelsX(kMinWidthTwips), platform::TwipsToPixelsY(kMinHeightTwips));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1, 1);
    layout->addLayout(buttons);

    GetFormat(List1, kOtherStyle);
    connect(OKButton, &QPushButton::clicked, this, [this] {
        selectionOK_ = true;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

int frmAllItems::ListIndex() const
{
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    return selected.isEmpty() ? -1 : List1->row(selected.front());
}

QString frmAllItems::SelectedText() const
{
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

}  // namespace parlova
