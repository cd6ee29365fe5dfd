#include "client/main/ui/frmPort.h"

#include "platform/ui/Twips.h"
#include "platform/VbError.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace parlova {

frmPort::frmPort(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPort"));
    setWindowTitle(QStringLiteral("Connect"));
    setModal(false);

    lblLabels = new QLabel(QStringLiteral("&Choose  from available modems:"), this);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    lblLabels->setBuddy(List1);
    Check1 = new QCheckBox(QStringLiteral("Next time connect to the same com port"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblLabels);
    layout->addWidget(List1, 1);
    layout->addWidget(Label1);
    layout->addWidget(Check1);
    layout->addLayout(buttons);

    connect(List1, &QListWidget::itemClicked, this, [this] { cmdOK->setEnabled(true); });
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            cmdOK->setEnabled(true);
    });
    connect(cmdOK, &QPushButton::clicked, this, [this] { ok(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { Unload(); });
    showModel();
}

frmPort::~frmPort()
{
    // The list goes after this object's own part.
    disconnect(List1, nullptr, this, nullptr);
}

void frmPort::showModel()
{
    const bool asking = model_.Asking();
    {
        const QSignalBlocker block(List1);
        List1->clear();
        List1->addItems(model_.Entries());
        for (int row = 0; row < List1->count(); ++row)
            List1->item(row)->setData(Qt::UserRole, model_.Port(row));
        List1->setCurrentRow(-1);
    }
    List1->setVisible(!asking);
    lblLabels->setVisible(!asking);
    Check1->setVisible(!asking);
    Label1->setText(model_.Question());
    Label1->setVisible(asking);
    // OK waits for a click on a port, unless the dialog asks its question.
    cmdOK->setEnabled(asking);
    // The question is a few lines: the box shrinks around them, and grows
    // back to show a list.
    if (asking) {
        layout()->activate();
        resize(sizeHint());
    } else {
        resize(platform::TwipsToPixelsX(5400), platform::TwipsToPixelsY(3600));
    }
}

void frmPort::Unload()
{
    hide();
    model_.Clear();
    Check1->setChecked(false);
    showModel();
}

void frmPort::Show()
{
    show();
    raise();
    activateWindow();
}

void frmPort::AddPort(qint32 port, const QString& name, const QString& maker)
{
    model_.AddPort(port, name, maker);
    QListWidgetItem* item = new QListWidgetItem(PortDialogModel::EntryText(port, name, maker), List1);
    item->setData(Qt::UserRole, port);
}

void frmPort::AskToScan(const QString& port)
{
    model_.AskToScan(port);
    showModel();
}

void frmPort::ok()
{
    const int row = List1->currentRow();
    const bool remember = Check1->isChecked();
    // The choice is read before the dialog forgets it.
    PortDialogModel choice = model_;
    Unload();
    try {
        choice.Accept(row, remember);
    } catch (...) {
    }
}

void frmPort::closeEvent(QCloseEvent* event)
{
    Unload();
    event->accept();
}

void frmPort::reject() { Unload(); }

}  // namespace parlova
