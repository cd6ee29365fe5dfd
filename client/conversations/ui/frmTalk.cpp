#include "client/conversations/ui/frmTalk.h"

#include "client/conversations/MessageParameters.h"
#include "client/conversations/TalkLayout.h"
#include "client/conversations/ui/TalkMenus.h"
#include "client/core/ui/MdiChild.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTextCursor>

#include <algorithm>

namespace parlova {

namespace {

// The widgets hold LF where the model holds CR LF.
QString ToWidget(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString FromWidget(QString text)
{
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

template <class W>
W* Named(QWidget* parent, const char* name)
{
    W* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text)
{
    QLabel* label = Named<QLabel>(parent, name);
    label->setText(text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

frmTalk* frmTalk::Create(QMdiArea* area)
{
    frmTalk* talk = new frmTalk();
    if (area) {
        talk->sub_ = new QMdiSubWindow();
        talk->sub_->setObjectName(QStringLiteral("frmTalk"));
        talk->sub_->setWidget(talk);
        talk->sub_->setAttribute(Qt::WA_DeleteOnClose);
        // The first size, as much of it as the area shows.
        MdiChild::OpenSize(*talk->sub_, QSize(platform::TwipsToPixelsX(9000), platform::TwipsToPixelsY(7200)),
                           area->viewport()->size());
        area->addSubWindow(talk->sub_);
        talk->sub_->hide();
        QObject::connect(area, &QMdiArea::subWindowActivated, talk, [talk](QMdiSubWindow* window) {
            if (window && window == talk->sub_)
                talk->Activate();
        });
    } else {
        talk->setAttribute(Qt::WA_DeleteOnClose);
        talk->resize(platform::TwipsToPixelsX(9000), platform::TwipsToPixelsY(7200));
    }
    return talk;
}

frmTalk::frmTalk(QWidget* parent) : QWidget(parent), text4Height_(TalkLayout::kText4Height)
{
    setObjectName(QStringLiteral("frmTalk"));
    Build();
    Wire();
    menus_ = new TalkMenus(*this);
    Refresh(TalkPart::Parameters);
    Refresh(TalkPart::Counter);
    Refresh(TalkPart::Conferees);
    Refresh(TalkPart::Log);
}

frmTalk::~frmTalk()
{
    // The menus and mouse handlers go first, then the controls, while the
    // conversation they report to still exists.
    delete menus_;
    menus_ = nullptr;
    const QList<QWidget*> controls = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls)
        control->disconnect(this);
    qDeleteAll(controls);
}

void frmTalk::Build()
{
    Text5 = Named<QPlainTextEdit>(this, "Text5");
    Text5->setReadOnly(true);
    Text5->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Label6 = MakeLabel(this, "Label6", QString());
    Text4 = Named<QPlainTextEdit>(this, "Text4");
    Label1 = MakeLabel(this, "Label1", QStringLiteral("New :"));
    Label2 = MakeLabel(this, "Label2", QString());
    List1 = Named<QListWidget>(this, "List1");
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Label3 = MakeLabel(this, "Label3", QStringLiteral("Conferees :"));
    Label5 = MakeLabel(this, "Label5", QString());
    Label7 = MakeLabel(this, "Label7", QStringLiteral("Coding:"));
    Combo1 = Named<QComboBox>(this, "Combo1");
    Combo1->addItems(MessageParameters::CodingCaptions());
    Label8 = MakeLabel(this, "Label8", QStringLiteral("Class:"));
    Combo2 = Named<QComboBox>(this, "Combo2");
    Combo2->addItems(MessageParameters::ClassCaptions());
    Frame3 = Named<QGroupBox>(this, "Frame3");
    Frame3->setTitle(QStringLiteral("Validity period"));
    Option1 = Named<QRadioButton>(Frame3, "Option1");
    Option1->setText(QStringLiteral("Unspecified"));
    Option7 = Named<QRadioButton>(Frame3, "Option7");
    Option7->setText(QStringLiteral("Relative period"));
    Option8 = Named<QRadioButton>(Frame3, "Option8");
    Option8->setText(QStringLiteral("Absolute period"));
    Slider2 = Named<QSlider>(Frame3, "Slider2");
    Slider2->setOrientation(Qt::Horizontal);
    Slider2->setRange(0, 255);
    Label4 = MakeLabel(Frame3, "Label4", QString());
    DTPicker1 = Named<QDateTimeEdit>(this, "DTPicker1");
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy/MM/dd  HH:mm"));
    DTPicker1->setCalendarPopup(true);
    Check1 = Named<QCheckBox>(this, "Check1");
    Check1->setText(QStringLiteral("Report"));
    Check2 = Named<QCheckBox>(this, "Check2");
    Check2->setText(QStringLiteral("Autosave"));

    // The panel's controls are small, as the twips they are placed by.
    QFont small = font();
    small.setPointSizeF(8);
    for (QWidget* w : {static_cast<QWidget*>(Label7), static_cast<QWidget*>(Combo1), static_cast<QWidget*>(Label8),
                       static_cast<QWidget*>(Combo2), static_cast<QWidget*>(Frame3),
                       static_cast<QWidget*>(DTPicker1), static_cast<QWidget*>(Check1), static_cast<QWidget*>(Check2)})
        w->setFont(small);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void frmTalk::Wire()
{
    connect(Text4, &QPlainTextEdit::textChanged, this, [this] { OnDraftChanged(FromWidget(Text4->toPlainText())); });
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        QList<bool> selection;
        for (int i = 0; i < List1->count(); ++i)
            selection << List1->item(i)->isSelected();
        OnListClick(selection, List1->currentRow());
    });
    connect(Combo1, &QComboBox::activated, this, [this](int index) { OnCodingClick(index); });
    connect(Combo2, &QComboBox::activated, this, [this](int index) { OnClassClick(index); });
    connect(Check1, &QCheckBox::clicked, this, [this](bool on) { OnReportClick(on ? 1 : 0); });
    connect(Check2, &QCheckBox::clicked, this, [this](bool on) { OnAutosaveClick(on ? 1 : 0); });
    connect(Option1, &QRadioButton::clicked, this, [this] { OnValidityClick(0); });
    connect(Option7, &QRadioButton::clicked, this, [this] { OnValidityClick(2); });
    connect(Option8, &QRadioButton::clicked, this, [this] { OnValidityClick(3); });
    connect(Slider2, &QSlider::valueChanged, this, [this](int code) { OnSliderChange(code); });
    connect(DTPicker1, &QDateTimeEdit::dateTimeChanged, this,
            [this](const QDateTime& value) { OnPickerChange(value); });
}

QWidget* frmTalk::Control(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    return findChild<QWidget*>(name);
}

void frmTalk::PlaceControls()
{
    const int width = int(platform::PixelsToTwipsX(this->width()));
    const int height = int(platform::PixelsToTwipsY(this->height()));
    const QHash<QString, QRect> places = TalkLayout::Place(width, height, text4Height_, FullView());
    for (auto it = places.cbegin(); it != places.cend(); ++it) {
        QWidget* w = Control(it.key());
        if (!w)
            continue;
        const QRect& t = it.value();
        w->setGeometry(platform::TwipsToPixelsX(t.left()), platform::TwipsToPixelsY(t.top()),
                       platform::TwipsToPixelsX(t.width()), platform::TwipsToPixelsY(t.height()));
    }
}

QSize frmTalk::sizeHint() const { return QSize(platform::TwipsToPixelsX(9000), platform::TwipsToPixelsY(7200)); }

QSize frmTalk::minimumSizeHint() const
{
    // A box the user made taller takes its room from the log.
    const QSize twips = TalkLayout::MinimumSize(std::min(text4Height_, TalkLayout::kText4Height), FullView());
    return QSize(platform::TwipsToPixelsX(twips.width()), platform::TwipsToPixelsY(twips.height()));
}

// The minimum follows the view.
void frmTalk::minimumChanged()
{
    updateGeometry();
    if (sub_)
        MdiChild::KeepMinimum(*sub_);
}

void frmTalk::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceControls();
}

void frmTalk::closeEvent(QCloseEvent* event)
{
    if (Unload())
        event->accept();
    else
        event->ignore();
}

void frmTalk::CloseWindow()
{
    if (sub_)
        sub_->close();
    else
        close();
}

void frmTalk::TakeFocus()
{
    QWidget* top = sub_ ? static_cast<QWidget*>(sub_) : this;
    top->show();
    if (sub_ && sub_->mdiArea())
        sub_->mdiArea()->setActiveSubWindow(sub_);
    else
        activateWindow();
    Text4->setFocus();
}

void frmTalk::ShowQuietly()
{
    if (!sub_) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        show();
        return;
    }
    // The area activates a sub-window it shows, unless it is disabled then.
    QMdiSubWindow* current = sub_->mdiArea() ? sub_->mdiArea()->activeSubWindow() : nullptr;
    sub_->setEnabled(false);
    sub_->show();
    sub_->setEnabled(true);
    // Nor may it cover what the user is typing.
    if (current)
        current->raise();
}

void frmTalk::Discard()
{
    if (sub_)
        delete sub_;
    else
        delete this;
}

void frmTalk::ShowConferees()
{
    const QSignalBlocker block(List1);
    const QStringList lines = AllConferees();
    const QList<bool> selection = Selection();
    List1->clear();
    // All rows in one insertion: one by one, a long list costs the square
    // of its length.
    List1->addItems(lines);
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (selection.value(i))
            List1->item(int(i))->setSelected(true);
    if (ListIndex() >= 0 && ListIndex() < List1->count())
        List1->setCurrentRow(ListIndex(), QItemSelectionModel::NoUpdate);
    List1->setToolTip(ListToolTip());
    Label5->setText(Label5Text());
}

void frmTalk::ShowParameters()
{
    {
        const QSignalBlocker b1(Combo1), b2(Combo2), b3(Slider2), b4(DTPicker1), b5(Check1), b6(Check2);
        const QSignalBlocker b7(Option1), b8(Option7), b9(Option8);
        Combo1->setCurrentIndex(CodingIndex());
        Combo2->setCurrentIndex(ClassIndex());
        Slider2->setValue(SliderValue());
        DTPicker1->setDateTime(PickerValue());
        Check1->setChecked(ReportValue() != 0);
        Check2->setChecked(Autosave() != 0);
        Check2->setEnabled(AutosaveEnabled());
        switch (Validity()) {
        case 2:
            Option7->setChecked(true);
            break;
        case 3:
            Option8->setChecked(true);
            break;
        default:
            Option1->setChecked(true);
            break;
        }
    }
    Label4->setText(Label4Text());
}

void frmTalk::ShowStyles()
{
    QWidget* areas[3] = {List1, Text4, Text5};
    for (int a = 0; a < 3; ++a) {
        const TalkArea style = Area(a);
        platform::SetWidgetFont(areas[a], style.font);
        platform::SetWidgetForeColor(areas[a], style.foreColor);
        platform::SetWidgetBackColor(areas[a], style.backColor);
    }
}

void frmTalk::ShowView()
{
    const bool full = FullView();
    for (QWidget* w : {static_cast<QWidget*>(List1), static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label5),
                       static_cast<QWidget*>(Label7), static_cast<QWidget*>(Combo1), static_cast<QWidget*>(Label8),
                       static_cast<QWidget*>(Combo2), static_cast<QWidget*>(Frame3),
                       static_cast<QWidget*>(DTPicker1), static_cast<QWidget*>(Check1),
                       static_cast<QWidget*>(Check2)})
        w->setVisible(full);
    minimumChanged();
    PlaceControls();
    if (menus_)
        menus_->SetMessageOptionsChecked(OptionsChecked());
}

void frmTalk::Refresh(TalkPart part)
{
    switch (part) {
    case TalkPart::Caption:
        setWindowTitle(Caption());
        if (sub_)
            sub_->setWindowTitle(Caption());
        break;
    case TalkPart::Conferees:
        ShowConferees();
        break;
    case TalkPart::Draft: {
        const QSignalBlocker block(Text4);
        Text4->setPlainText(ToWidget(DraftText()));
        break;
    }
    case TalkPart::Log: {
        Text5->setPlainText(ToWidget(Log()));
        Text5->moveCursor(QTextCursor::End);
        Label6->setText(Label6Text());
        break;
    }
    case TalkPart::Parameters:
        ShowParameters();
        break;
    case TalkPart::Counter:
        Label2->setText(Label2Text());
        break;
    case TalkPart::View:
        ShowView();
        break;
    case TalkPart::Styles:
        ShowStyles();
        break;
    }
}

void frmTalk::LogAppended(const QString& entry)
{
    QTextCursor cursor(Text5->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(ToWidget(entry));
    Text5->moveCursor(QTextCursor::End);
    Text5->ensureCursorVisible();
    Label6->setText(Label6Text());
}

void frmTalk::TakeStyle(QWidget* control)
{
    const int area = control == List1   ? kConfereeArea
                     : control == Text4 ? kNewMessageArea
                     : control == Text5 ? kLogArea
                                        : -1;
    if (area < 0)
        return;
    SetArea(area, TalkArea{platform::WidgetFont(control), platform::WidgetForeColor(control),
                           platform::WidgetBackColor(control)});
}

QString frmTalk::SaveFont(QWidget* control)
{
    TakeStyle(control);
    return Conversation::SaveFont(control ? control->objectName() : QString());
}

QString frmTalk::SaveCharset(QWidget* control)
{
    TakeStyle(control);
    return Conversation::SaveCharset(control ? control->objectName() : QString());
}

QString frmTalk::SaveColor(QWidget* control)
{
    TakeStyle(control);
    return Conversation::SaveColor(control ? control->objectName() : QString());
}

QList<QMenu*> frmTalk::Menus() const { return menus_ ? menus_->Menus() : QList<QMenu*>(); }

void frmTalk::ResizeNewMessageBox(int delta)
{
    const int width = int(platform::PixelsToTwipsX(this->width()));
    const int height = int(platform::PixelsToTwipsY(this->height()));
    const QRect box = TalkLayout::Place(width, height, text4Height_, FullView()).value(QStringLiteral("Text4"));
    if (const std::optional<int> resized = TalkLayout::ResizedText4Height(box.top(), text4Height_, delta)) {
        text4Height_ = *resized;
        PlaceControls();
    }
}

QString frmTalk::LogBoxText() const { return Text5->toPlainText(); }

qint32 frmTalk::LogCaret() const { return Text5->textCursor().position(); }

QString frmTalk::LogSelection() const
{
    return Text5->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

bool frmTalk::LogFocused() const { return focusWidget() == Text5; }

void frmTalk::ShowFound(qint32 start, qint32 length)
{
    QTextCursor cursor = Text5->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    Text5->setTextCursor(cursor);
    Text5->ensureCursorVisible();
    QWidget* top = sub_ ? static_cast<QWidget*>(sub_) : this;
    top->show();
    top->raise();
    if (sub_ && sub_->mdiArea())
        sub_->mdiArea()->setActiveSubWindow(sub_);
}

}  // namespace parlova
