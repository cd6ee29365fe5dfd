#include "client/conversations/ui/frmFind.h"

#include "client/conversations/Conference.h"
#include "client/conversations/TalkFinder.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/Globals.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Procedures.h"
#include "client/core/ui/SettingsWidgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace parlova {

namespace {

QPointer<frmFind> g_find;

Conference* Registry() { return dynamic_cast<Conference*>(G().Conferences.get()); }

}  // namespace

frmTalk* frmFind::ActiveTalk()
{
    Conference* registry = Registry();
    if (!registry)
        return nullptr;
    for (qint32 i = 1; i <= registry->TalksCount(); ++i) {
        auto* talk = dynamic_cast<frmTalk*>(&registry->Talk(i));
        if (!talk)
            continue;
        QMdiSubWindow* sub = talk->SubWindow();
        if (sub ? sub->mdiArea() && sub->mdiArea()->currentSubWindow() == sub : talk->isActiveWindow())
            return talk;
    }
    return nullptr;
}

frmFind* frmFind::Instance() { return g_find; }

void frmFind::Install(Procedures& procedures)
{
    procedures.StartFind = [] { StartFind(); };
    TalkFinder::BusyPointer() = [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
}

frmFind::frmFind(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find"));
    setAttribute(Qt::WA_DeleteOnClose);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(QStringLiteral("Text to Find"));
    auto* label = new QLabel(QStringLiteral("Find &What:"), this);
    label->setBuddy(Text1);
    chkCase = new QCheckBox(QStringLiteral("Match &Case"), this);
    chkCase->setObjectName(QStringLiteral("chkCase"));
    chkAllConf = new QCheckBox(QStringLiteral("&All Open Conferences"), this);
    chkAllConf->setObjectName(QStringLiteral("chkAllConf"));
    auto* frame = new QGroupBox(QStringLiteral("Direction"), this);
    optDirection[0] = new QRadioButton(QStringLiteral("&Up"), frame);
    optDirection[1] = new QRadioButton(QStringLiteral("&Down"), frame);
    optDirection[0]->setObjectName(QStringLiteral("optDirection0"));
    optDirection[1]->setObjectName(QStringLiteral("optDirection1"));
    cmdFind = new QPushButton(QStringLiteral("&Find"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setDefault(true);
    cmdcancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));

    auto* what = new QHBoxLayout;
    what->addWidget(label);
    what->addWidget(Text1, 1);
    auto* direction = new QHBoxLayout(frame);
    direction->addWidget(optDirection[0]);
    direction->addWidget(optDirection[1]);
    auto* checks = new QVBoxLayout;
    checks->addWidget(chkCase);
    checks->addWidget(chkAllConf);
    auto* options = new QHBoxLayout;
    options->addLayout(checks);
    options->addWidget(frame);
    auto* left = new QVBoxLayout;
    left->addLayout(what);
    left->addLayout(options);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdFind);
    buttons->addWidget(cmdcancel);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    GetFormat(Text1, kOtherStyle);
    cmdFind->setEnabled(false);
    optDirection[G().FindDirection != 0 ? 1 : 0]->setChecked(true);

    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) {
        TalkFinder::NewRegion(ActiveTalk());
        cmdFind->setEnabled(!text.isEmpty());
    });
    connect(chkCase, &QCheckBox::clicked, this, [](bool on) { G().FindMatchCase = on; });
    connect(chkAllConf, &QCheckBox::clicked, this, [](bool on) {
        G().FindAllConferences = on;
        G().FindNewSearch = true;
    });
    for (qint16 index : {qint16(0), qint16(1)})
        connect(optDirection[index], &QRadioButton::clicked, this, [index] { G().FindDirection = index; });
    connect(cmdFind, &QPushButton::clicked, this, &frmFind::Find);
    connect(cmdcancel, &QPushButton::clicked, this, &frmFind::Cancel);
}

void frmFind::Find()
{
    G().FindText = Text1->text();
    if (Conference* registry = Registry())
        TalkFinder::FindNext(*registry, ActiveTalk(), true);
}

void frmFind::Cancel()
{
    G().FindText = Text1->text();
    G().FindMatchCase = chkCase->isChecked();
    close();
}

void frmFind::StartFind()
{
    frmTalk* talk = ActiveTalk();
    if (!talk) {
        ModalQuestion::Ask(TalkFinder::NotActiveText(), platform::vbExclamation, G().AppName);
        return;
    }
    if (!g_find)
        g_find = new frmFind(talk->window());
    Globals& g = G();
    const QString selected = talk->LogSelection();
    g_find->Text1->setText(selected.isEmpty() ? g.FindText : selected);
    TalkFinder::NewRegion(talk);
    g_find->chkCase->setChecked(g.FindMatchCase);
    g_find->chkAllConf->setChecked(g.FindAllConferences);
    g_find->show();
    g_find->raise();
    g_find->activateWindow();
}

void frmFind::FindNext()
{
    if (Conference* registry = Registry())
        TalkFinder::FindNext(*registry, ActiveTalk(), false);
}

}  // namespace parlova
