#include "client/core/ui/frmCharSet.h"

#include "client/core/CharSetChoice.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MessageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace parlova {

frmCharSet::frmCharSet(QWidget* owner)
    : QDialog(owner), Combo1(new QComboBox(this)), Text1(new QLineEdit(this)), Label3(new QLabel(this)),
      Label1(new QLabel(this)), cmdOK(new QPushButton(QStringLiteral("OK"), this)),
      cmdCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmCharSet"));
    setWindowTitle(CharSetChoice::Caption());
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label1->setObjectName(QStringLiteral("Label1"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    for (const CharSetEntry& e : CharSetChoice::Entries())
        Combo1->addItem(QString::fromLatin1(e.name), e.charset);
    Combo1->setCurrentIndex(-1);
    Label3->setText(CharSetChoice::ListLabel());
    Label3->setBuddy(Combo1);
    Label1->setText(CharSetChoice::Warning());
    Label1->setWordWrap(true);
    auto* sampleLabel = new QLabel(CharSetChoice::SampleLabel(), this);
    sampleLabel->setBuddy(Text1);
    cmdOK->setDefault(true);

    auto* choice = new QHBoxLayout;
    choice->addWidget(Label3);
    choice->addWidget(Combo1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sampleLabel);
    layout->addWidget(Text1);
    layout->addLayout(choice);
    layout->addWidget(Label1);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(Combo1, &QComboBox::currentIndexChanged, this, &frmCharSet::OnEntryChosen);
    connect(cmdOK, &QPushButton::clicked, this, &frmCharSet::OnOK);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmCharSet::InitCharSet(qint32 charset)
{
    const int index = Combo1->findData(charset);
    if (index >= 0)
        Combo1->setCurrentIndex(index);
}

qint32 frmCharSet::CharSet() const
{
    const int index = Combo1->currentIndex();
    return index < 0 ? -1 : Combo1->itemData(index).toInt();
}

void frmCharSet::OnEntryChosen(int index)
{
    if (index < 0)
        return;
    // The set is only data here: the sample keeps the face and size it shows.
    platform::FontSpec sample = platform::WidgetFont(Text1);
    sample.charset = Combo1->itemData(index).toInt();
    platform::SetWidgetFont(Text1, sample);
}

void frmCharSet::OnOK()
{
    if (Combo1->currentIndex() < 0) {
        platform::msgBox(CharSetChoice::NoChoicePrompt(), platform::vbCritical, windowTitle(), 0, this);
        return;
    }
    selectionOK_ = true;
    accept();
}

}  // namespace parlova
