#include "client/conversations/ui/frmConf.h"

#include "client/conversations/ContactPicker.h"
#include "client/core/ui/SettingsWidgets.h"
#include "platform/ui/Twips.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace parlova {

namespace {

constexpr double kMinWidthTwips = 7200;
constexpr double kMinHeightTwips = 5400;

QFrame* Rule(QWidget* parent, const QString& name)
{
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QStringList Texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

}  // namespace

frmConf::frmConf(const corvane::BookRecords& books, QWidget* owner)
    : QDialog(owner), Label1(new QLabel(QStringLiteral("&Show names from the:"), this)), Combo1(new QComboBox(this)),
      Label2(new QLabel(QStringLiteral("T&ype name or select from list:"), this)), Text1(new QLineEdit(this)),
      List1(new QListWidget(this)), Command1(new QPushButton(QStringLiteral("--&>"), this)),
      Command2(new QPushButton(QStringLiteral("&<--"), this)), Label3(new QLabel(QStringLiteral("Con&ferees"), this)),
      List2(new QListWidget(this)), Command6(new QPushButton(QStringLiteral("OK"), this)),
      Command7(new QPushButton(QStringLiteral("Cancel"), this)), Line1(Rule(this, QStringLiteral("Line1"))),
      Line2(Rule(this, QStringLiteral("Line2"))), books_(books)
{
    setObjectName(QStringLiteral("frmConf"));
    setWindowTitle(QStringLiteral("Select Names"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1->setObjectName(QStringLiteral("Text1"));
    List1->setObjectName(QStringLiteral("List1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    List2->setObjectName(QStringLiteral("List2"));
    Command6->setObjectName(QStringLiteral("Command6"));
    Command7->setObjectName(QStringLiteral("Command7"));
    Label1->setBuddy(Combo1);
    Label2->setBuddy(Text1);
    Label3->setBuddy(List2);
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List2->setSelectionMode(QAbstractItemView::SingleSelection);
    Command6->setDefault(true);
    setSizeGripEnabled(true);
    setMinimumSize(platform::TwipsToPixelsX(kMinWidthTwips), platform::TwipsToPixelsY(kMinHeightTwips));

    auto* choice = new QHBoxLayout;
    choice->addWidget(Label1);
    choice->addWidget(Combo1);
    choice->addStretch(1);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch(1);
    arrows->addWidget(Command1);
    arrows->addWidget(Command2);
    arrows->addStretch(1);
    auto* lists = new QGridLayout;
    lists->addWidget(Label2, 0, 0);
    lists->addWidget(Label3, 0, 2);
    lists->addWidget(Text1, 1, 0);
    lists->addWidget(List1, 2, 0);
    lists->addLayout(arrows, 1, 1, 2, 1);
    lists->addWidget(List2, 1, 2, 2, 1);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(2, 1);
    lists->setRowStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command6);
    buttons->addWidget(Command7);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(Line1);
    layout->addLayout(lists, 1);
    layout->addWidget(Line2);
    layout->addLayout(buttons);

    for (QWidget* w : {static_cast<QWidget*>(Text1), static_cast<QWidget*>(List1), static_cast<QWidget*>(List2)})
        GetFormat(w, kOtherStyle);
    for (const ContactPicker::BookChoice& c : ContactPicker::BookChoices(books_))
        Combo1->addItem(c.text, c.code);
    FillNames();

    connect(Combo1, &QComboBox::currentIndexChanged, this, [this](int index) {
        mBookChoice = qint16(index);
        FillNames();
    });
    connect(Text1, &QLineEdit::textChanged, this, &frmConf::OnSearch);
    connect(Command1, &QPushButton::clicked, this, &frmConf::AddCurrent);
    connect(List1, &QListWidget::itemDoubleClicked, this, &frmConf::AddCurrent);
    connect(Command2, &QPushButton::clicked, this, &frmConf::RemoveCurrent);
    connect(List2, &QListWidget::itemDoubleClicked, this, &frmConf::RemoveCurrent);
    List2->installEventFilter(this);
    connect(Command6, &QPushButton::clicked, this, [this] {
        selectionOK_ = true;
        accept();
    });
    connect(Command7, &QPushButton::clicked, this, &QDialog::reject);
}

QStringList frmConf::ChosenLines() const { return Texts(List2); }

void frmConf::FillNames()
{
    List1->clear();
    const int index = Combo1->currentIndex();
    if (index < 0)
        return;
    List1->addItems(ContactPicker::Lines(books_, Combo1->itemData(index).toInt()));
}

void frmConf::OnSearch(const QString& typed)
{
    const qint32 at = ContactPicker::Search(Texts(List1), typed, List1->currentRow());
    if (at >= 0)
        List1->setCurrentRow(at);
}

void frmConf::AddCurrent()
{
    if (QListWidgetItem* current = List1->currentItem())
        List2->addItem(current->text());
}

void frmConf::RemoveCurrent()
{
    const int row = List2->currentRow();
    if (row >= 0)
        delete List2->takeItem(row);
}

void frmConf::DeleteCurrent()
{
    const int row = List2->currentRow();
    if (row < 0)
        return;
    delete List2->takeItem(row);
    // The list moves its current line on by itself; past the end there is none.
    if (row < List2->count()) {
        List2->setCurrentRow(row);
    } else {
        List2->setCurrentRow(-1);
        List2->clearSelection();
    }
}

bool frmConf::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List2 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        DeleteCurrent();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace parlova
