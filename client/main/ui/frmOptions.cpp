#include "client/main/ui/frmOptions.h"

#include "client/core/LogTime.h"
#include "client/core/Module1.h"
#include "client/core/Procedures.h"
#include "client/core/Settings.h"
#include "client/core/ValidityPeriodText.h"
#include "client/core/ui/SettingsWidgets.h"
#include "client/main/OptionsRules.h"
#include "client/main/ui/FontColorProcedures.h"
#include "client/main/ui/OptionsPages.h"
#include "client/main/ui/UpDown.h"

#include "platform/Clock.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ModalForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

namespace parlova {
namespace {

// The empty page the Email tab shows when there is no e-mail service.
constexpr int kEmptyPage = 7;

template <size_t N>
void SelectOption(const std::array<OptionButton, N>& group, std::optional<qint32> value)
{
    for (const OptionButton& o : group)
        if (value && o.value == *value)
            o.button->setChecked(true);
}

template <size_t N>
std::optional<qint32> SelectedOption(const std::array<OptionButton, N>& group)
{
    for (const OptionButton& o : group)
        if (o.button->isChecked())
            return o.value;
    return std::nullopt;
}

// A control whose range is narrower than what may be stored: the stored
// value stands while the control shows it held to its range.
qint32 Kept(qint32 shown, qint32 stored, qint32 min, qint32 max)
{
    return shown == std::clamp(stored, min, max) ? stored : shown;
}

void SetItems(QComboBox* combo, const QStringList& items, const QString& text)
{
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

}  // namespace

frmOptions::frmOptions(Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));

    tbsOptions = new QTabBar(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->setDrawBase(true);
    tbsOptions->setExpanding(false);
    for (const OptionsTab& t : OptionsRules::Tabs()) {
        const int i = tbsOptions->addTab(t.caption);
        tbsOptions->setTabData(i, t.key);
        tbsOptions->setTabToolTip(i, t.toolTip);
    }

    stack_ = new QStackedWidget(this);
    p_ = std::make_unique<OptionsPages>(stack_);
    for (QWidget* page : p_->pages)
        stack_->addWidget(page);
    stack_->addWidget(new QWidget(stack_));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdApply = new QPushButton(QStringLiteral("Apply"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdApply);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(tbsOptions);
    layout->addWidget(stack_, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    Connect();
    Load();
    ShowTabPage(0);
    // Sees every key before the controls do.
    qApp->installEventFilter(this);
}

frmOptions::~frmOptions()
{
    qApp->removeEventFilter(this);
    // The controls go after this object's own members: nothing they say on
    // the way may reach the handlers.
    for (QObject* child : findChildren<QObject*>())
        child->blockSignals(true);
}

void frmOptions::ShowOptions(QWidget* owner)
{
    // The owner may go while the dialog is open, taking it along.
    const QPointer<frmOptions> form = new frmOptions(Settings::Instance(), owner);
    platform::ShowModalForm(form);
    delete form.data();
}

void frmOptions::Install()
{
    Procs().ShowOptions = [](QWidget* owner) { ShowOptions(owner); };
}

void frmOptions::Connect()
{
    OptionsPages& p = *p_;
    auto changed = [this] { Changed(); };
    for (QCheckBox* c : {p.Check2, p.Check3, p.Check4, p.Check5, p.Check6, p.Check7, p.Check8, p.Check9, p.Check10,
                         p.Check11, p.Check12, p.Check13, p.Check14})
        connect(c, &QCheckBox::toggled, this, changed);
    connect(p.Check1, &QCheckBox::toggled, this, [this](bool on) {
        RecentFilesTicked(on);
        Changed();
    });
    for (const auto& o : p.coding)
        connect(o.button, &QRadioButton::toggled, this, changed);
    for (const auto& o : p.messageClass)
        connect(o.button, &QRadioButton::toggled, this, changed);
    for (const auto& o : p.validity)
        connect(o.button, &QRadioButton::toggled, this, changed);
    for (QRadioButton* o : {p.Option10, p.Option11})
        connect(o, &QRadioButton::toggled, this, changed);
    for (QComboBox* c : {p.Combo2, p.Combo3, p.Combo5})
        connect(c, &QComboBox::editTextChanged, this, changed);
    connect(p.Combo4, &QComboBox::currentIndexChanged, this, changed);
    connect(p.Combo1, &QComboBox::editTextChanged, this, [this] {
        ShowExample();
        Changed();
    });
    connect(p.Combo1, &QComboBox::activated, this, [this] {
        ShowExample();
        Changed();
    });
    std::vector<QLineEdit*> boxes = {p.Text1,  p.Text10, p.Text11, p.Text12, p.Text13, p.Text14, p.Text15, p.Text16,
                                     p.Text17, p.Text18, p.Text19, p.Text20, p.Text21, p.Text22, p.Text23, p.Text32};
    boxes.insert(boxes.end(), p.Text9.begin(), p.Text9.end());
    for (QLineEdit* box : boxes)
        connect(box, &QLineEdit::textChanged, this, changed);
    connect(p.Text2, &QSpinBox::valueChanged, this, [this](int v) {
        RecentFilesNumberMoved(v);
        Changed();
    });
    for (QLineEdit* box : {p.Text3, p.Text4})
        connect(box, &QLineEdit::textChanged, this, [this, box] {
            ScanBoxEdited(box);
            Changed();
        });
    connect(p.UpDown2, &UpDown::valueChanged, this, [this](qint32 v) { StartPortMoved(v); });
    connect(p.UpDown3, &UpDown::valueChanged, this, [this](qint32 v) { EndPortMoved(v); });
    connect(p.Slider2, &QSlider::valueChanged, this, [this](int v) {
        p_->Label7->setText(ValidityPeriodText(v));
        Changed();
    });
    for (const SampleRow& row : p.samples) {
        connect(row.font, &QPushButton::clicked, this, [this, &row] { ChooseSampleFont(row); });
        connect(row.colour, &QPushButton::clicked, this, [this, &row] { ChooseSampleColour(row); });
    }
    connect(p.Command1, &QPushButton::clicked, this, [this] { Browse(); });

    connect(tbsOptions, &QTabBar::tabBarClicked, this, [this](int tab) { ShowTabPage(tab); });
    connect(tbsOptions, &QTabBar::currentChanged, this, [this](int tab) { ShowTabPage(tab); });
    connect(cmdApply, &QPushButton::clicked, this, [this] { Save(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (Save())
            accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmOptions::Load()
{
    loading_ = true;
    OptionsPages& p = *p_;
    const OptionsSnapshot c = settings_.Snapshot();
    loaded_ = c;
    p.Check3->setChecked(c.ShowCost);
    FillHistories(c);
    p.Text2->setValue(c.RecentFilesNumber);
    p.Check1->setChecked(c.RememberRecentFiles);
    p.Text1->setText(c.WorkingFolder);
    p.Check2->setChecked(c.SimplifiedLog);
    p.Check4->setChecked(c.ConnectAtStartUp);
    p.Check14->setChecked(c.JoinParts);
    (c.Port == PortChoice::LastChoice   ? p.Option15
     : c.Port == PortChoice::ScanPorts ? p.Option16
                                       : p.Option17)
        ->setChecked(true);
    p.UpDown2->setValue(c.StartPort);
    p.UpDown3->setValue(c.EndPort);
    p.Option15->setText(OptionsRules::LastPortCaption(settings_.LastPort()));
    p.Combo4->setCurrentIndex(c.PortSpeedIndex >= 0 && c.PortSpeedIndex < p.Combo4->count() ? c.PortSpeedIndex : -1);
    SelectOption(p.coding, OptionsRules::CodingShown(c.Coding));
    SelectOption(p.messageClass, OptionsRules::ClassShown(c.Class));
    SelectOption(p.validity, OptionsRules::ValidityShown(c.ValidityType));
    p.Slider2->setValue(c.RelativeValidity);
    p.Label7->setText(ValidityPeriodText(p.Slider2->value()));
    p.Check5->setChecked(c.RequestReport);
    (c.SCNumberFromPhone ? p.Option10 : p.Option11)->setChecked(true);
    for (const SampleRow& row : p.samples) {
        const StyleSample& s = c.Samples[size_t(row.style)];
        platform::SetWidgetFont(row.sample, s.font);
        DescribeSample(row);
        platform::SetWidgetForeColor(row.sample, s.foreColor);
        platform::SetWidgetBackColor(row.sample, s.backColor);
    }
    const bool localMail = settings_.EmailType() == 2;
    (localMail ? p.Check13 : p.Check10)->setChecked(c.ConnectAtStartUpEmail);
    (localMail ? p.Text32 : p.Text10)->setText(c.UserName);
    (localMail ? p.Text23 : p.Text17)->setText(c.POP3PollInterval);
    p.Text11->setText(c.EmailAddress);
    p.Text12->setText(c.Login);
    p.Text13->setText(c.Password);
    p.Text14->setText(c.ServerTimeout);
    p.Check7->setChecked(c.SPARequired);
    p.Text15->setText(c.POP3Address);
    p.Text16->setText(c.POP3Port);
    p.Check8->setChecked(c.POP3SSLRequired);
    p.Text18->setText(c.SMTPAddress);
    p.Text19->setText(c.SMTPPort);
    p.Check9->setChecked(c.SMTPSSLRequired);
    p.Text20->setText(c.MaxSize);
    for (size_t i = 0; i < p.Text9.size(); ++i)
        p.Text9[i]->setText(c.Timeouts[i]);
    p.Check6->setChecked(c.LogToFile);
    p.Check11->setChecked(c.UseExtender);
    p.Text21->setText(c.Extender);
    p.Check12->setChecked(c.LimitMsgToExt);
    p.Text22->setText(c.MaxPartsToExt);
    ShowExample();
    loading_ = false;
    cmdApply->setEnabled(false);
}

void frmOptions::FillHistories(const OptionsSnapshot& shown)
{
    OptionsPages& p = *p_;
    SetItems(p.Combo2, settings_.ComboItems(HistoryList::Price), shown.Price);
    SetItems(p.Combo3, settings_.ComboItems(HistoryList::Currency), shown.CurrencySign);
    SetItems(p.Combo1, settings_.ComboItems(HistoryList::DateTimeFormat), shown.DateTimeFormat);
    SetItems(p.Combo5, settings_.ComboItems(HistoryList::SCNumber), shown.SCNumber);
}

OptionsSnapshot frmOptions::Controls() const
{
    const OptionsPages& p = *p_;
    OptionsSnapshot c = loaded_;
    c.ShowCost = p.Check3->isChecked();
    c.Price = p.Combo2->currentText();
    c.CurrencySign = p.Combo3->currentText();
    c.RememberRecentFiles = p.Check1->isChecked();
    c.RecentFilesNumber = Kept(p.Text2->value(), loaded_.RecentFilesNumber, 0, 9);
    c.WorkingFolder = p.Text1->text();
    c.SimplifiedLog = p.Check2->isChecked();
    c.DateTimeFormat = p.Combo1->currentText();
    c.ConnectAtStartUp = p.Check4->isChecked();
    c.JoinParts = p.Check14->isChecked();
    c.Port = p.Option15->isChecked()   ? PortChoice::LastChoice
             : p.Option16->isChecked() ? PortChoice::ScanPorts
                                       : PortChoice::ScanAllPorts;
    c.StartPort = Kept(p.UpDown2->value(), loaded_.StartPort, 1, 256);
    c.EndPort = Kept(p.UpDown3->value(), loaded_.EndPort, 1, 256);
    if (p.Combo4->currentIndex() >= 0)
        c.PortSpeedIndex = p.Combo4->currentIndex();
    c.Coding = SelectedOption(p.coding).value_or(10);
    // With no class selected (a stored class no option shows) the stored one stands.
    c.Class = SelectedOption(p.messageClass).value_or(loaded_.Class);
    c.ValidityType = SelectedOption(p.validity).value_or(0);
    c.RelativeValidity = Kept(p.Slider2->value(), loaded_.RelativeValidity, 0, 255);
    c.RequestReport = p.Check5->isChecked();
    c.SCNumberFromPhone = p.Option10->isChecked();
    c.SCNumber = p.Combo5->currentText();
    for (const SampleRow& row : p.samples)
        c.Samples[size_t(row.style)] = {platform::WidgetFont(row.sample), platform::WidgetForeColor(row.sample),
                                        platform::WidgetBackColor(row.sample)};
    const bool localMail = settings_.EmailType() == 2;
    c.ConnectAtStartUpEmail = (localMail ? p.Check13 : p.Check10)->isChecked();
    c.UserName = (localMail ? p.Text32 : p.Text10)->text();
    c.POP3PollInterval = (localMail ? p.Text23 : p.Text17)->text();
    c.EmailAddress = p.Text11->text();
    c.Login = p.Text12->text();
    c.Password = p.Text13->text();
    c.POP3Address = p.Text15->text();
    c.POP3Port = p.Text16->text();
    c.POP3SSLRequired = p.Check8->isChecked();
    c.SMTPAddress = p.Text18->text();
    c.SMTPPort = p.Text19->text();
    c.SMTPSSLRequired = p.Check9->isChecked();
    c.ServerTimeout = p.Text14->text();
    c.SPARequired = p.Check7->isChecked();
    c.MaxSize = p.Text20->text();
    c.UseExtender = p.Check11->isChecked();
    c.Extender = p.Text21->text();
    c.LimitMsgToExt = p.Check12->isChecked();
    c.MaxPartsToExt = p.Text22->text();
    for (size_t i = 0; i < p.Text9.size(); ++i)
        c.Timeouts[i] = p.Text9[i]->text();
    c.LogToFile = p.Check6->isChecked();
    return c;
}

void frmOptions::Changed()
{
    if (!loading_)
        cmdApply->setEnabled(true);
}

int frmOptions::ShownPage() const
{
    const int i = stack_->currentIndex();
    return i == kEmptyPage ? OptionsRules::kNoPage : i;
}

void frmOptions::ShowTabPage(int tab)
{
    if (tab < 0 || tab >= OptionsRules::kTabCount)
        return;
    ShowPage(OptionsRules::PageOfTab(tab, settings_.EmailType()));
}

void frmOptions::ShowPage(int page)
{
    // The stack hides every other page, which takes it out of reach too.
    stack_->setCurrentIndex(page == OptionsRules::kNoPage ? kEmptyPage : page);
}

bool frmOptions::HandleKey(int key, Qt::KeyboardModifiers modifiers, bool act)
{
    modifiers &= ~Qt::KeypadModifier;
    if (key == Qt::Key_Tab && modifiers == Qt::ControlModifier) {
        if (act) {
            const int next = OptionsRules::NextTab(tbsOptions->currentIndex());
            tbsOptions->setCurrentIndex(next);
            ShowTabPage(next);
        }
        return true;
    }
    if (key == Qt::Key_6 && modifiers == Qt::ControlModifier) {
        if (act)
            ShowPage(OptionsRules::kHiddenPage);
        return true;
    }
    if (key == Qt::Key_F1 && modifiers == Qt::NoModifier) {
        if (act)
            Procs().ShowHelp(OptionsRules::Tabs()[size_t(std::max(0, tbsOptions->currentIndex()))].helpContext);
        return true;
    }
    return false;
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::ShortcutOverride) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (HandleKey(key->key(), key->modifiers(), type == QEvent::KeyPress)) {
                event->accept();
                return true;
            }
        }
        return false;
    }
    if (type == QEvent::FocusOut) {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box || box->window() != this || !CheckOf(box))
            return false;
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const QWidget* next = QApplication::focusWidget();
        // Leaving the dialog, or for a button that checks every box itself
        // (OK, Apply) or none (Cancel), is not leaving the box.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && next != cmdOK &&
            next != cmdApply && next != cmdCancel && !checking_)
            CheckLater(box);
    }
    return QDialog::eventFilter(watched, event);
}

void frmOptions::CheckLater(QLineEdit* box)
{
    // After the focus has moved: a box shown from inside the focus change
    // would take the focus in its turn.
    QMetaObject::invokeMethod(
        this,
        [this, box = QPointer<QLineEdit>(box)] {
            if (box && isVisible())
                CheckBox(*CheckOf(box));
        },
        Qt::QueuedConnection);
}

const NumberCheck* frmOptions::CheckOf(const QLineEdit* box)
{
    for (const NumberCheck& check : OptionsRules::NumberChecks())
        if (box->objectName() == QLatin1String(check.box))
            return &check;
    return nullptr;
}

int frmOptions::PageOf(QWidget* control) const
{
    while (control && control->parentWidget() != stack_)
        control = control->parentWidget();
    return stack_->indexOf(control);
}

bool frmOptions::CheckBox(const NumberCheck& check)
{
    auto* box = findChild<QLineEdit*>(QLatin1String(check.box));
    const QString message = OptionsRules::CheckNumber(check, box->text());
    if (message.isEmpty())
        return true;
    // The box comes into sight (a tab click may have hidden it) before the
    // message asks for a correction.
    const int page = PageOf(box);
    if (page != ShownPage()) {
        for (int tab = 0; tab < OptionsRules::kTabCount; ++tab)
            if (OptionsRules::PageOfTab(tab, settings_.EmailType()) == page)
                tbsOptions->setCurrentIndex(tab);
        ShowPage(page);
    }
    checking_ = true;
    platform::msgBox(message, platform::vbOKOnly, QString(), 0, this);
    checking_ = false;
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    return false;
}

bool frmOptions::CheckAll()
{
    const qint32 emailType = settings_.EmailType();
    for (const NumberCheck& check : OptionsRules::NumberChecks()) {
        // A box on a page this program never shows cannot be corrected.
        const int page = PageOf(findChild<QLineEdit*>(QLatin1String(check.box)));
        if ((page == 2 && emailType != 1) || (page == 6 && emailType != 2))
            continue;
        if (!CheckBox(check))
            return false;
    }
    return true;
}

bool frmOptions::Save()
{
    if (!CheckAll())
        return false;
    OptionsSnapshot c = Controls();
    const QString error = settings_.SaveOptions(c);
    if (!error.isEmpty()) {
        platform::msgBox(error, platform::vbExclamation, QString(), 0, this);
        cmdApply->setEnabled(true);
        return false;
    }
    ShowSaved(c);
    return true;
}

void frmOptions::ShowSaved(const OptionsSnapshot& saved)
{
    // The histories may have grown, and boxes that held no number were emptied.
    loading_ = true;
    FillHistories(saved);
    for (size_t i = 0; i < p_->Text9.size(); ++i)
        p_->Text9[i]->setText(saved.Timeouts[i]);
    loaded_ = settings_.Snapshot();
    loading_ = false;
    cmdApply->setEnabled(false);
}

void frmOptions::DescribeSample(const SampleRow& row)
{
    row.sample->setText(OptionsRules::FontDescription(platform::WidgetFont(row.sample)));
}

void frmOptions::ChooseSampleFont(const SampleRow& row)
{
    ChooseFont(row.sample);
    DescribeSample(row);
    settings_.SetStyleFontChanged(row.style);
    Changed();
}

void frmOptions::ChooseSampleColour(const SampleRow& row)
{
    ChooseColor(row.sample);
    Changed();
}

void frmOptions::Browse()
{
    QString chosen;
    const QString error = BrowseForFolder(chosen, this);
    if (!error.isEmpty())
        platform::msgBox(error, platform::vbExclamation, QString(), 0, this);
    else if (!chosen.isEmpty())
        p_->Text1->setText(chosen);
}

void frmOptions::ShowExample()
{
    p_->Label1->setText(QStringLiteral("Example: ") + LogTime(platform::Now(), p_->Combo1->currentText()));
}

void frmOptions::StartPortMoved(qint32 value)
{
    if (value > p_->UpDown3->value())
        p_->UpDown3->setValue(value);
}

void frmOptions::EndPortMoved(qint32 value)
{
    if (value < p_->UpDown2->value())
        p_->UpDown2->setValue(value);
}

void frmOptions::ScanBoxEdited(QLineEdit* box)
{
    UpDown* upDown = box == p_->Text3 ? p_->UpDown2 : p_->UpDown3;
    const OptionsRules::BoxValue v = OptionsRules::ScanBoxValue(box->text(), upDown->minimum(), upDown->maximum());
    if (v.rewrite)
        box->setText(QString::number(v.value));
    upDown->setValue(v.value);
}

void frmOptions::RecentFilesTicked(bool ticked)
{
    if (ticked && p_->Text2->value() == 0)
        p_->Text2->setValue(1);
}

void frmOptions::RecentFilesNumberMoved(int value)
{
    if (value == 0)
        p_->Check1->setChecked(false);
}

}  // namespace parlova
