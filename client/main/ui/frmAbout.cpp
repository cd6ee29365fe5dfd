#include "client/main/ui/frmAbout.h"

#include "client/main/AboutInfo.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ModalForm.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace parlova {
namespace {

constexpr double kMinWidthTwips = 6300;

}  // namespace

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner), picIcon(new QLabel(this)), lblTitle(new QLabel(this)), lblDescription(new QLabel(this)),
      lblDisclaimer(new QLabel(this)), cmdOK(new QPushButton(QStringLiteral("OK"), this)),
      cmdSysInfo(new QPushButton(QStringLiteral("&System Info..."), this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(AboutInfo::Caption());
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    picIcon->setPixmap(icon.pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignTop);
    for (QLabel* label : {lblTitle, lblDescription, lblDisclaimer}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }
    lblTitle->setText(platform::MessageBoxText(AboutInfo::Title()));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblDescription->setText(AboutInfo::Comments());
    lblDisclaimer->setText(AboutInfo::Disclaimer());
    cmdOK->setDefault(true);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblDescription);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addLayout(texts, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(bottom);
    setMinimumWidth(platform::TwipsToPixelsX(kMinWidthTwips));

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

void frmAbout::StartSysInfo() { AboutInfo::StartSysInfo(); }

void ShowAbout(QWidget* owner)
{
    QPointer<frmAbout> about = new frmAbout(owner);
    platform::ShowModalForm(about);
    delete about.data();
}

}  // namespace parlova
