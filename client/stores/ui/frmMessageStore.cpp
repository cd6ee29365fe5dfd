#include "client/stores/ui/frmMessageStore.h"

#include "client/core/Globals.h"
#include "client/core/ModalQuestion.h"
#include "client/core/Module1.h"
#include "client/core/Order.h"
#include "client/core/Settings.h"
#include "client/core/ValidityPeriodText.h"
#include "client/core/WindowSeams.h"
#include "client/core/ui/SettingsWidgets.h"
#include "client/core/ui/StoreGrid.h"
#include "client/stores/MessageEditorValues.h"
#include "client/stores/MessageStoreTexts.h"
#include "client/core/ui/TextBoxCommands.h"
#include "client/stores/ui/MessageStoreMenus.h"
#include "email/EmailGate.h"
#include "hub/messages/BookRecords.h"
#include "hub/messages/MessageStore.h"
#include "platform/Clock.h"
#include "platform/VbError.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSplitter>
#include <QVBoxLayout>

namespace parlova {

namespace {

const QStringList kDesignHeaders{QStringLiteral(" Loc "),       QStringLiteral(" Index "),
                                 QStringLiteral("   Status   "), QStringLiteral(" Telephone "),
                                 QStringLiteral(" DateTime "),   QStringLiteral(" Subject ")};
constexpr int kEditorHeight = 1200;  // twips

int px(double twips) { return platform::TwipsToPixelsX(twips); }
int pxY(double twips) { return platform::TwipsToPixelsY(twips); }

corvane::MessageStore& Store()
{
    return platform::Required(G().PhoneMessages, QStringLiteral("frmMessageStore"));
}

}  // namespace

frmMessageStore::frmMessageStore(QWidget* parent) : QWidget(parent), instance_(NextClassID())
{
    setObjectName(QStringLiteral("frmMessageStore"));
    setWindowTitle(Caption());
    buildControls();
    SetSlider(Settings::Instance().RelativeValidity());
    Load();
}

frmMessageStore::~frmMessageStore() = default;

QList<QMenu*> frmMessageStore::Menus() const { return BarMenus(menus_->Bar()); }

void frmMessageStore::buildControls()
{
    auto makeLabel = [this](const QString& text) { return new QLabel(text, this); };

    // The options panel: the location list, the number and the counter on
    // the left, the message options at a fixed width on the right.
    panel_ = new QWidget(this);
    panel_->setFixedHeight(pxY(MessageStoreTexts::kPanelHeight));
    constexpr int kMargin = 4;
    List1 = new QListWidget(panel_);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setMinimumWidth(px(MessageStoreTexts::PanelLayout(0).list1Width));
    Text1 = new QLineEdit(panel_);
    Label8 = new QLabel(panel_);
    Label2 = new QLabel(panel_);
    auto* left = new QVBoxLayout;
    left->setContentsMargins(kMargin, 2, kMargin, 2);
    left->setSpacing(2);
    left->addWidget(makeLabel(QStringLiteral("Locations:")));
    left->addWidget(List1, 1);
    Check1 = new QCheckBox(QStringLiteral("Report"), panel_);
    auto* number = new QHBoxLayout;
    number->addWidget(makeLabel(QStringLiteral("Tel No :")));
    Text1->setMinimumWidth(Text1->fontMetrics().horizontalAdvance(QStringLiteral("+000000000000000")));
    number->addWidget(Text1, 3);
    number->addWidget(Label8, 2);
    number->addWidget(Check1);
    left->addLayout(number);
    auto* text = new QHBoxLayout;
    text->addWidget(makeLabel(QStringLiteral("Text :")));
    text->addStretch(1);
    text->addWidget(Label2);
    left->addLayout(text);

    auto* side = new QWidget(panel_);
    // The list's margins come out of the side's width: the list itself
    // ends where the panel layout puts its right edge.
    side->setFixedWidth(px(MessageStoreTexts::PanelLayout(0).sideWidth) - 2 * kMargin);
    Combo1 = new QComboBox(side);
    for (const auto& [name, value] : {std::pair{"Auto", 10}, {"GSM", 0}, {"Windows", 2}, {"Unicode", 1}})
        Combo1->addItem(QString::fromLatin1(name), value);
    Combo2 = new QComboBox(side);
    for (const auto& [name, value] :
         {std::pair{"Unspecified", 4}, {"Flash", 0}, {"SIM", 2}, {"Mobile", 1}, {"Terminal", 3}})
        Combo2->addItem(QString::fromLatin1(name), value);
    Frame3 = new QGroupBox(QStringLiteral("Validity period"), side);
    Option1 = new QRadioButton(QStringLiteral("Unspecified"), Frame3);
    Option7 = new QRadioButton(QStringLiteral("Relative period"), Frame3);
    Option8 = new QRadioButton(QStringLiteral("Absolute period"), Frame3);
    auto* options = new QButtonGroup(this);
    for (QRadioButton* o : {Option1, Option7, Option8})
        options->addButton(o);
    Slider2 = new QSlider(Qt::Horizontal, Frame3);
    Slider2->setRange(0, 255);
    Label4 = new QLabel(Frame3);
    DTPicker1 = new QDateTimeEdit(Frame3);
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setDateTime(platform::Now());
    auto* frame = new QGridLayout(Frame3);
    frame->setContentsMargins(4, 0, 4, 2);
    frame->setVerticalSpacing(0);
    frame->addWidget(Option1, 0, 0, 1, 2);
    frame->addWidget(Option7, 1, 0, 1, 2);
    frame->addWidget(Slider2, 2, 0);
    frame->addWidget(Label4, 2, 1);
    frame->addWidget(Option8, 3, 0, 1, 2);
    frame->addWidget(DTPicker1, 4, 0, 1, 2);
    auto* grid = new QGridLayout(side);
    grid->setContentsMargins(0, 2, kMargin, 2);
    grid->setVerticalSpacing(1);
    grid->addWidget(makeLabel(QStringLiteral("Coding:")), 0, 0);
    grid->addWidget(Combo1, 0, 1);
    grid->addWidget(makeLabel(QStringLiteral("Class:")), 1, 0);
    grid->addWidget(Combo2, 1, 1);
    grid->addWidget(Frame3, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    auto* panel = new QHBoxLayout(panel_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(0);
    panel->addLayout(left, 1);
    panel->addWidget(side);

    Text4 = new QPlainTextEdit(this);
    Text4->setObjectName(QStringLiteral("Text4"));
    MSFlexGrid1 = new StoreGrid(kDesignHeaders, this);
    MSFlexGrid1->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->addWidget(Text4);
    splitter_->addWidget(MSFlexGrid1);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({pxY(kEditorHeight), pxY(3000)});

    menus_ = new MessageStoreMenus(*this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Inside the main window its menu bar shows these menus; a window of
    // its own shows them itself.
    layout->setMenuBar(menus_->Bar());
    menus_->Bar()->setVisible(SharedActions::Instance() == nullptr);
    layout->addWidget(panel_);
    layout->addWidget(splitter_, 1);

    connect(MSFlexGrid1, &StoreGrid::CurrentRowChanged, this, [this] { SelectionHandling(); });
    connect(MSFlexGrid1, &StoreGrid::HeaderClicked, this, &frmMessageStore::sortByColumn);
    connect(MSFlexGrid1, &StoreGrid::RightClicked, this, &frmMessageStore::rightClicked);
    connect(MSFlexGrid1, &StoreGrid::RowDoubleClicked, this, [this] { menus_->StartTalk(); });
    // Another location chosen, by a click or with the keys: the message is
    // stored there only as a new one. A key press selects in more than one
    // step, so the switch waits until the list is done.
    connect(List1, &QListWidget::itemClicked, this, [this] { SwitchToNewMessage(); });
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!mblnUpdating)
            QMetaObject::invokeMethod(this, &frmMessageStore::SwitchToNewMessage, Qt::QueuedConnection);
    });
    connect(Text1, &QLineEdit::textChanged, this, [this] {
        if (mblnUpdating)
            return;
        SwitchToNewMessage();
        Label8->clear();
    });
    connect(Text4, &QPlainTextEdit::textChanged, this, [this] {
        UpdateMessageCounter();
        SwitchToNewMessage();
    });
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { UpdateMessageCounter(); });
    connect(Slider2, &QSlider::valueChanged, this, [this](int v) { SetSlider(v); });
}

void frmMessageStore::Load()
{
    const quenby::EmailGate* mail = G().MailGate.get();
    menus_->EnableEmail(mail && mail->ServiceType() == quenby::CDOSYS_TYPE);

    for (QWidget* w : std::initializer_list<QWidget*>{MSFlexGrid1, List1, Text4, Text1, Label8})
        GetFormat(w, 4);
    QPalette own = Label8->palette();
    own.setColor(QPalette::Window, palette().color(QPalette::Window));
    Label8->setPalette(own);

    const corvane::MessageStore& store = Store();
    List1->addItems(MessageStoreTexts::LocationItems(store));

    MSFlexGrid1->setUpdatesEnabled(false);
    MSFlexGrid1->SetRows(store.Count() + 1);
    int row = 1;
    for (const QStringList& fields : MessageStoreTexts::ExportRows(store.GetAllRecords())) {
        if (row >= MSFlexGrid1->Rows())
            MSFlexGrid1->AddRow();
        fillRow(row++, fields);
    }
    MSFlexGrid1->FitColumns();
    MSFlexGrid1->setUpdatesEnabled(true);
    MSFlexGrid1->SetRow(MSFlexGrid1->Rows() > 1 ? 1 : 0);

    DTPicker1->setDisplayFormat(QStringLiteral("yyyy/MM/dd  HH:mm"));
    SelectionHandling(true);
}

void frmMessageStore::fillRow(int row, const QStringList& fields)
{
    MSFlexGrid1->SetTextMatrix(row, 0, StoreListName(fields.at(0).toInt()));
    for (int c = 1; c <= 5; ++c) {
        MSFlexGrid1->SetTextMatrix(row, c, fields.at(c));
        if (c == 5)
            MSFlexGrid1->item(row - 1, c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void frmMessageStore::SelectionHandling(bool atLoad)
{
    const int row = MSFlexGrid1->Row();
    const bool leftMessage = showingMessage_;
    showingMessage_ = row > 0;
    // While a new message is composed, nothing but leaving a message row
    // prepares another: a sort or another row's removal keeps the draft.
    if (row == 0 && !atLoad && !leftMessage)
        return;
    mblnUpdating = true;
    try {
        if (row == 0) {
            fill(MessageEditorValues::NewMessage(List1->count()));
        } else {
            const qint32 location = FindStoreListItem(MSFlexGrid1->TextMatrix(row, 0)).toInt();
            const qint32 index = MSFlexGrid1->TextMatrix(row, 1).toInt();
            const std::optional<MessageEditorValues> v =
                MessageEditorValues::Stored(Store(), G().PhoneBooks.get(), location, index);
            if (v)
                fill(*v);
            else
                showEmpty();
        }
    } catch (const std::exception& error) {
        mblnUpdating = false;
        ModalQuestion::Ask(platform::ErrorText(error), platform::vbExclamation);
        return;
    }
    mblnUpdating = false;
}

void frmMessageStore::fill(const MessageEditorValues& v)
{
    Coding(v.coding);
    Class(v.msgClass);
    Text4->setPlainText(v.text);
    Check1->setChecked(v.report);
    Validity(v.validity);
    if (v.relative)
        SetSlider(*v.relative);
    if (v.absolute)
        DTPicker1->setDateTime(*v.absolute);
    Text1->setText(v.address);
    if (v.location >= 0 && v.location < List1->count())
        List1->setCurrentRow(v.location);
    else
        List1->clearSelection();
    Label8->setText(v.contactName);
}

void frmMessageStore::showEmpty()
{
    Text4->clear();
    Text1->clear();
    List1->clearSelection();
    Label8->clear();
}

void frmMessageStore::SwitchToNewMessage()
{
    if (mblnUpdating || (MSFlexGrid1->Row() == 0 && !showingMessage_))
        return;
    MSFlexGrid1->SetRow(0);
    SelectionHandling();
}

void frmMessageStore::SetSlider(qint32 value)
{
    {
        const QSignalBlocker block(Slider2);
        Slider2->setValue(value);
    }
    const QString words = ValidityPeriodText(Slider2->value());
    if (!words.isEmpty())
        Label4->setText(words);
}

void frmMessageStore::UpdateMessageCounter()
{
    Label2->setText(MessageStoreTexts::MessageCounter(Text().toString(), CodingA()));
}

QStringList frmMessageStore::storeItems() const
{
    QStringList items;
    for (int k = 0; k < List1->count(); ++k)
        items << List1->item(k)->text();
    return items;
}

QString frmMessageStore::StoreListName(qint32 location) const
{
    return MessageStoreTexts::StoreListName(storeItems(), location);
}

QString frmMessageStore::FindStoreListItem(const QString& name) const
{
    return MessageStoreTexts::FindStoreListItem(storeItems(), name);
}

void frmMessageStore::RefreshStoreTotals()
{
    const QStringList items = MessageStoreTexts::RefreshedTotals(storeItems(), Store());
    for (int k = 0; k < items.size(); ++k)
        List1->item(k)->setText(items.at(k));
}

void frmMessageStore::sortByColumn(int col)
{
    const bool pair = col <= 1;
    mlngSortOrder = MessageStoreTexts::NextSortOrder(mlngSortOrder, pair);
    const QStringList& names = MessageStoreTexts::HeaderNames();
    for (int c = 0; c < names.size(); ++c) {
        const bool sorted = pair ? c <= 1 : c == col;
        MSFlexGrid1->SetTextMatrix(0, c, sorted ? MessageStoreTexts::HeaderText(names.at(c), mlngSortOrder)
                                                : names.at(c));
    }
    MSFlexGrid1->SortRows(pair ? 0 : col, pair ? 1 : col, mlngSortOrder);
    // The header's sort mark widens its column.
    MSFlexGrid1->FitColumns();
    SelectionHandling();
}

void frmMessageStore::rightClicked(int row, const QPoint& globalPos)
{
    if (row > 0)
        MSFlexGrid1->SetRow(row);
    SelectionHandling();
    menus_->PopupStoreMenu(globalPos);
}

// Public operations --------------------------------------------------------

QString frmMessageStore::ToggleMessageOptions()
{
    return platform::TextOrError([this] {
        const bool show = panel_->isHidden();
        menus_->SetMessageOptionsChecked(show);
        panel_->setVisible(show);
        if (MainWindow* main = Windows().frmMDI())
            main->SetButtonValue(tlbStore, QStringLiteral("114"), show ? 1 : 0);
        return QString();
    });
}

void frmMessageStore::Activated()
{
    const bool shown = !panel_->isHidden();
    menus_->SetMessageOptionsChecked(shown);
    if (MainWindow* main = Windows().frmMDI())
        main->SetButtonValue(tlbStore, QStringLiteral("114"), shown ? 1 : 0);
}

void frmMessageStore::AddMessage(qint32 location, qint32 index)
{
    const int row = MSFlexGrid1->AddRow();
    const QStringList fields = MessageStoreTexts::RecordFields(Store().GetRecord(location, index));
    if (!fields.isEmpty())
        fillRow(row, fields);
    MSFlexGrid1->FitColumns();
    // The stored message shows in the editor only in place of itself: what
    // the user typed on while it was on its way stays.
    if (!holdsUnstored()) {
        MSFlexGrid1->SetRow(row);
        SelectionHandling();
    }
    RefreshStoreTotals();
}

void frmMessageStore::Storing()
{
    storingText_ = Text4->toPlainText();
    storingAddress_ = Text1->text();
}

bool frmMessageStore::holdsUnstored() const
{
    if (showingMessage_ || (Text().toString().isEmpty() && Text1->text().isEmpty()))
        return false;
    return Text4->toPlainText() != storingText_ || Text1->text() != storingAddress_;
}

qint32 frmMessageStore::CodingA() const
{
    return MessageEditorValues::ResolvedCoding(Coding(), Text().toString());
}

qint32 frmMessageStore::Coding() const { return Combo1->currentData().toInt(); }

void frmMessageStore::Coding(qint32 value) { Combo1->setCurrentIndex(MessageEditorValues::CodingItem(value)); }

qint32 frmMessageStore::Class() const { return Combo2->currentData().toInt(); }

void frmMessageStore::Class(qint32 value)
{
    const int item = MessageEditorValues::ClassItem(value);
    if (item >= 0)
        Combo2->setCurrentIndex(item);
}

qint32 frmMessageStore::Validity() const
{
    if (Option1->isChecked())
        return 0;
    return Option7->isChecked() ? 2 : 3;
}

void frmMessageStore::Validity(qint32 value)
{
    QRadioButton* const options[] = {Option1, Option7, Option8};
    options[MessageEditorValues::ValidityOption(value)]->setChecked(true);
}

QString frmMessageStore::ActiveMessage(qint32& location, qint32& index) const
{
    const int row = MSFlexGrid1->Row();
    if (row > 0) {
        bool numbered = false;
        const qint32 l = FindStoreListItem(MSFlexGrid1->TextMatrix(row, 0)).toInt();
        const qint32 i = MSFlexGrid1->TextMatrix(row, 1).toInt(&numbered);
        if (l >= 0 && numbered && Store().MessageStatus(l, i) >= 0) {
            location = l;
            index = i;
            return QString();
        }
    }
    return QStringLiteral("There is no active message");
}

QString frmMessageStore::DeleteMessage(qint32 location, qint32 index)
{
    return platform::TextOrError([&] {
        for (int row = 1; row < MSFlexGrid1->Rows(); ++row) {
            bool numbered = false;
            const qint32 i = MSFlexGrid1->TextMatrix(row, 1).toInt(&numbered);
            if (!numbered || i != index || FindStoreListItem(MSFlexGrid1->TextMatrix(row, 0)).toInt() != location)
                continue;
            MSFlexGrid1->RemoveRow(row);
            SelectionHandling();
            RefreshStoreTotals();
            return QString();
        }
        return QStringLiteral("Not found");
    });
}

QVariant frmMessageStore::Text() const
{
    QString set;
    return TrimSet(Text4->toPlainText(), set);
}

qint32 frmMessageStore::RelativeValidity() const { return Slider2->value(); }

QDateTime frmMessageStore::AbsoluteValidity() const
{
    const QDateTime picked = DTPicker1->dateTime();
    return QDateTime(picked.date(), picked.time());
}

qint32 frmMessageStore::Report() const { return Check1->isChecked() ? 1 : 0; }

qint32 frmMessageStore::Destination() const
{
    for (int item = 0; item < List1->count(); ++item)
        if (List1->item(item)->isSelected())
            return item;
    return -1;
}

QString frmMessageStore::Address() const { return Text1->text(); }

void frmMessageStore::SetContact(const QString& address, const QString& name)
{
    // Switching first: the switch empties the number of a shown message.
    SwitchToNewMessage();
    Text1->setText(address);
    Label8->setText(name);
}

// Text commands --------------------------------------------------------------

bool frmMessageStore::text4Active() const { return focusWidget() == Text4; }

void frmMessageStore::Clear()
{
    Text4->clear();
    Text4->setFocus();
}

void frmMessageStore::TimeDate()
{
    if (text4Active())
        TextBoxCommands::InsertTimeDate(Text4);
}

void frmMessageStore::SelectAll()
{
    Text4->setFocus();
    Text4->selectAll();
}

void frmMessageStore::Cut()
{
    if (text4Active())
        Text4->cut();
}

void frmMessageStore::Copy()
{
    if (text4Active())
        Text4->copy();
}

void frmMessageStore::Paste()
{
    if (text4Active())
        Text4->paste();
}

void frmMessageStore::Delete()
{
    if (text4Active())
        TextBoxCommands::DeleteForward(Text4);
}

}  // namespace parlova
