#include "client/conversations/ui/frmNewConf.h"

#include "client/conversations/ConfereeTexts.h"
#include "client/core/ui/SettingsWidgets.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Twips.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace parlova {

namespace {

constexpr double kMinWidthTwips = 5400;
// QLineEdit's own limit when nobody set one.
constexpr int kNoLimit = 32767;

// A limit on typing only. QLineEdit's own would cut a longer starting text
// (an address cut short is another address); this one keeps it whole, and
// typing may bring it back to its starting length but not past it.
class TypingLimit : public QValidator {
public:
    TypingLimit(int limit, QObject* box) : QValidator(box), limit_(limit) {}
    int limit() const { return limit_; }
    // From the showing on; until then the caller's texts go in whole.
    void setStart(qsizetype length) { start_ = length; }
    State validate(QString& input, int&) const override
    {
        return start_ < 0 || input.size() <= std::max(qsizetype(limit_), start_) ? Acceptable : Invalid;
    }

private:
    int limit_;
    qsizetype start_ = -1;
};

TypingLimit* LimitOf(const QLineEdit* box)
{
    for (QValidator* validator : box->findChildren<QValidator*>(Qt::FindDirectChildrenOnly))
        if (auto* limit = dynamic_cast<TypingLimit*>(validator))
            return limit;
    return nullptr;
}

}  // namespace

frmNewConf::frmNewConf(QWidget* owner)
    : QDialog(owner), lblLabels{new QLabel(QStringLiteral("&Name:"), this),
                                new QLabel(QStringLiteral("&TelNo/ Email:"), this)},
      txtUserName(new QLineEdit(this)), txtPassword(new QLineEdit(this)), Label1(new QLabel(this)),
      Label2(new QLabel(this)), cmdOK(new QPushButton(QStringLiteral("OK"), this)),
      cmdCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmNewConf"));
    setWindowTitle(QStringLiteral("Add Conferee"));
    lblLabels[0]->setObjectName(QStringLiteral("lblLabels0"));
    lblLabels[1]->setObjectName(QStringLiteral("lblLabels1"));
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    lblLabels[0]->setBuddy(txtUserName);
    lblLabels[1]->setBuddy(txtPassword);
    cmdOK->setDefault(true);
    setMinimumWidth(platform::TwipsToPixelsX(kMinWidthTwips));

    auto* fields = new QGridLayout;
    fields->addWidget(lblLabels[0], 0, 0);
    fields->addWidget(txtUserName, 0, 1);
    fields->addWidget(Label1, 0, 2);
    fields->addWidget(lblLabels[1], 1, 0);
    fields->addWidget(txtPassword, 1, 1);
    fields->addWidget(Label2, 1, 2);
    fields->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch(1);
    layout->addLayout(buttons);

    GetFormat(txtUserName, kOtherStyle);
    GetFormat(txtPassword, kOtherStyle);
    ShowCounters();
    connect(txtUserName, &QLineEdit::textChanged, this, &frmNewConf::ShowCounters);
    connect(txtPassword, &QLineEdit::textChanged, this, &frmNewConf::ShowCounters);
    connect(cmdOK, &QPushButton::clicked, this, &frmNewConf::OnOK);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmNewConf::SetMaxLength(QLineEdit* box, int limit)
{
    box->setMaxLength(kNoLimit);
    delete LimitOf(box);
    box->setValidator(limit > 0 ? new TypingLimit(limit, box) : nullptr);
}

int frmNewConf::MaxLength(const QLineEdit* box)
{
    const TypingLimit* limit = LimitOf(box);
    return limit ? limit->limit() : 0;
}

void frmNewConf::showEvent(QShowEvent* event)
{
    // The caller set the limits and texts after construction.
    for (QLineEdit* box : {txtUserName, txtPassword})
        if (TypingLimit* limit = LimitOf(box))
            limit->setStart(box->text().size());
    ShowCounters();
    QDialog::showEvent(event);
}

void frmNewConf::ShowCounters()
{
    Label1->setText(ConfereeTexts::Counter(qint32(txtUserName->text().size()), MaxLength(txtUserName)));
    Label2->setText(ConfereeTexts::Counter(qint32(txtPassword->text().size()), MaxLength(txtPassword)));
}

void frmNewConf::OnOK()
{
    if (ConfereeTexts::Blankless(txtUserName->text()).isEmpty() ||
        ConfereeTexts::Blankless(txtPassword->text()).isEmpty()) {
        platform::msgBox(ConfereeTexts::BothFieldsRequired(), platform::vbCritical, windowTitle(), 0, this);
        return;
    }
    selectionOK_ = true;
    accept();
}

}  // namespace parlova
