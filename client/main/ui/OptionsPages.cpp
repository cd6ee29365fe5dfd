#include "client/main/ui/OptionsPages.h"

#include "client/main/ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace parlova {
namespace {

template <class W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QCheckBox* Check(const char* name, const char* caption, QWidget* parent)
{
    return Named(new QCheckBox(QString::fromLatin1(caption), parent), name);
}

QRadioButton* Option(const char* name, const char* caption, QWidget* parent)
{
    return Named(new QRadioButton(QString::fromLatin1(caption), parent), name);
}

QLineEdit* Box(const char* name, QWidget* parent, int width = 0)
{
    QLineEdit* box = Named(new QLineEdit(parent), name);
    if (width > 0)
        box->setFixedWidth(width);
    return box;
}

// A combo box whose history the settings keep: the user types freely, and
// nothing is added to the list or completed while typing.
QComboBox* HistoryCombo(const char* name, QWidget* parent)
{
    QComboBox* combo = Named(new QComboBox(parent), name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

QLabel* Label(const char* caption, QWidget* parent) { return new QLabel(QString::fromLatin1(caption), parent); }

}  // namespace

OptionsPages::OptionsPages(QWidget* parent)
{
    for (size_t n = 0; n < pages.size(); ++n)
        pages[n] = Named(new QWidget(parent), QByteArray("picOptions" + QByteArray::number(qulonglong(n))).constData());
    BuildGeneral(pages[0]);
    BuildSms(pages[1]);
    BuildSmtpEmail(pages[2]);
    BuildMessage(pages[3]);
    BuildView(pages[4]);
    BuildHidden(pages[5]);
    BuildLocalEmail(pages[6]);
}

void OptionsPages::BuildGeneral(QWidget* page)
{
    auto* v = new QVBoxLayout(page);
    auto* cost = new QHBoxLayout;
    Check3 = Check("Check3", "Show message cost, at the price of", page);
    Combo2 = HistoryCombo("Combo2", page);
    Combo3 = HistoryCombo("Combo3", page);
    Combo2->setMinimumWidth(70);
    Combo3->setMinimumWidth(50);
    cost->addWidget(Check3);
    cost->addWidget(Combo2);
    cost->addWidget(Label(", in", page));
    cost->addWidget(Combo3);
    cost->addStretch();
    v->addLayout(cost);

    auto* recent = new QHBoxLayout;
    Check1 = Check("Check1", "Remember recent files, up to:", page);
    Text2 = Named(new QSpinBox(page), "Text2");
    Text2->setRange(0, 9);
    recent->addWidget(Check1);
    recent->addWidget(Text2);
    recent->addStretch();
    v->addLayout(recent);

    Check2 = Check("Check2", "Simplified log", page);
    v->addWidget(Check2);

    auto* format = new QHBoxLayout;
    Combo1 = HistoryCombo("Combo1", page);
    Combo1->setMinimumWidth(160);
    format->addWidget(Label("Date-time format in log:", page));
    format->addWidget(Combo1);
    format->addStretch();
    v->addLayout(format);
    Label1 = Named(new QLabel(page), "Label1");
    Label1->setTextFormat(Qt::PlainText);
    v->addWidget(Label1);

    auto* folder = new QHBoxLayout;
    Text1 = Box("Text1", page);
    Command1 = Named(new QPushButton(QStringLiteral("Browse..."), page), "Command1");
    folder->addWidget(Label("Working folder:", page));
    folder->addWidget(Text1, 1);
    folder->addWidget(Command1);
    v->addLayout(folder);
    v->addStretch();
}

void OptionsPages::BuildSms(QWidget* page)
{
    auto* v = new QVBoxLayout(page);
    Check4 = Check("Check4", "Connect at startup", page);
    v->addWidget(Check4);

    auto* speed = new QHBoxLayout;
    Combo4 = Named(new QComboBox(page), "Combo4");
    for (const char* s : {"9600", "14400", "19200", "38400", "56000", "57600", "115200", "128000", "256000"})
        Combo4->addItem(QString::fromLatin1(s));
    speed->addWidget(Label("Speed of com port", page));
    speed->addWidget(Combo4);
    speed->addStretch();
    v->addLayout(speed);

    auto* port = new QGroupBox(QStringLiteral("Com port"), page);
    auto* pv = new QVBoxLayout(port);
    Option15 = Option("Option15", "The last connected port", port);
    Option16 = Option("Option16", "Scan ports from", port);
    Option17 = Option("Option17", "Scan all ports", port);
    Text3 = Box("Text3", port, 48);
    Text4 = Box("Text4", port, 48);
    UpDown2 = Named(new UpDown(Text3, 1, 256, port), "UpDown2");
    UpDown3 = Named(new UpDown(Text4, 1, 256, port), "UpDown3");
    auto* range = new QHBoxLayout;
    range->setSpacing(2);
    range->addWidget(Option16);
    range->addWidget(Text3);
    range->addWidget(UpDown2);
    range->addSpacing(6);
    range->addWidget(Label("to", port));
    range->addSpacing(6);
    range->addWidget(Text4);
    range->addWidget(UpDown3);
    range->addStretch();
    pv->addWidget(Option15);
    pv->addLayout(range);
    pv->addWidget(Option17);
    v->addWidget(port);

    auto* smsc = new QGroupBox(QStringLiteral("Use SMSC number from"), page);
    auto* sh = new QHBoxLayout(smsc);
    Option10 = Option("Option10", "Phone", smsc);
    Option11 = Option("Option11", "This", smsc);
    Combo5 = HistoryCombo("Combo5", smsc);
    Combo5->setMinimumWidth(140);
    sh->addWidget(Option10);
    sh->addWidget(Option11);
    sh->addWidget(Combo5, 1);
    v->addWidget(smsc);

    Check14 = Check("Check14", "Join parts of long SMS", page);
    v->addWidget(Check14);
    v->addStretch();
}

void OptionsPages::BuildSmtpEmail(QWidget* page)
{
    auto* v = new QVBoxLayout(page);
    Check10 = Check("Check10", "Connect at startup", page);
    v->addWidget(Check10);
    auto* account = new QGridLayout;
    Text10 = Box("Text10", page);
    Text11 = Box("Text11", page);
    Text12 = Box("Text12", page);
    Text13 = Box("Text13", page);
    Text13->setEchoMode(QLineEdit::Password);
    Text14 = Box("Text14", page, 60);
    Check7 = Check("Check7", "SPA required", page);
    account->addWidget(Label("User name:", page), 0, 0);
    account->addWidget(Text10, 0, 1);
    account->addWidget(Label("Email address:", page), 0, 2);
    account->addWidget(Text11, 0, 3);
    account->addWidget(Label("Login:", page), 1, 0);
    account->addWidget(Text12, 1, 1);
    account->addWidget(Label("Password:", page), 1, 2);
    account->addWidget(Text13, 1, 3);
    account->addWidget(Label("Timeout (seconds):", page), 2, 0);
    account->addWidget(Text14, 2, 1, Qt::AlignLeft);
    account->addWidget(Check7, 2, 2, 1, 2);
    v->addLayout(account);

    auto* pop3 = new QGroupBox(QStringLiteral("POP3-server"), page);
    auto* pg = new QGridLayout(pop3);
    Text15 = Box("Text15", pop3);
    Text16 = Box("Text16", pop3, 60);
    Check8 = Check("Check8", "SSL required", pop3);
    Text17 = Box("Text17", pop3, 60);
    pg->addWidget(Label("Address:", pop3), 0, 0);
    pg->addWidget(Text15, 0, 1, 1, 3);
    pg->addWidget(Label("Port:", pop3), 1, 0);
    pg->addWidget(Text16, 1, 1, Qt::AlignLeft);
    pg->addWidget(Check8, 1, 2, 1, 2);
    pg->addWidget(Label("Poll interval (minutes):", pop3), 2, 0);
    pg->addWidget(Text17, 2, 1, Qt::AlignLeft);
    v->addWidget(pop3);

    auto* smtp = new QGroupBox(QStringLiteral("SMTP-server"), page);
    auto* sg = new QGridLayout(smtp);
    Text18 = Box("Text18", smtp);
    Text19 = Box("Text19", smtp, 60);
    Check9 = Check("Check9", "SSL required", smtp);
    sg->addWidget(Label("Address:", smtp), 0, 0);
    sg->addWidget(Text18, 0, 1, 1, 3);
    sg->addWidget(Label("Port:", smtp), 1, 0);
    sg->addWidget(Text19, 1, 1, Qt::AlignLeft);
    sg->addWidget(Check9, 1, 2, 1, 2);
    v->addWidget(smtp);
    v->addStretch();
}

void OptionsPages::BuildMessage(QWidget* page)
{
    auto* v = new QVBoxLayout(page);
    v->addWidget(Label("Defaults for new Conferences:", page));
    auto* row = new QHBoxLayout;

    auto* codingFrame = new QGroupBox(QStringLiteral("Coding"), page);
    auto* cv = new QVBoxLayout(codingFrame);
    coding = {{{Option("Option12", "Auto", codingFrame), 10},
               {Option("Option1", "GSM", codingFrame), 0},
               {Option("Option2", "Unicode", codingFrame), 1},
               {Option("Option9", "Windows", codingFrame), 2}}};
    for (const OptionButton& o : coding)
        cv->addWidget(o.button);
    cv->addStretch();
    row->addWidget(codingFrame);

    auto* classFrame = new QGroupBox(QStringLiteral("Class"), page);
    auto* kv = new QVBoxLayout(classFrame);
    messageClass = {{{Option("Option3", "Flash", classFrame), 0},
                     {Option("Option4", "Mobile", classFrame), 1},
                     {Option("Option5", "SIM", classFrame), 2},
                     {Option("Option6", "Terminal", classFrame), 3},
                     {Option("Option13", "Unspecified", classFrame), 4}}};
    for (const OptionButton& o : messageClass)
        kv->addWidget(o.button);
    kv->addStretch();
    row->addWidget(classFrame);
    v->addLayout(row);

    Check5 = Check("Check5", "Report", page);
    v->addWidget(Check5);

    auto* validityFrame = new QGroupBox(QStringLiteral("Validity period"), page);
    auto* vg = new QGridLayout(validityFrame);
    validity = {{{Option("Option14", "Unspecified", validityFrame), 0},
                 {Option("Option7", "Relative period", validityFrame), 2},
                 {Option("Option8", "Absolute period", validityFrame), 3}}};
    Slider2 = Named(new QSlider(Qt::Horizontal, validityFrame), "Slider2");
    Slider2->setRange(0, 255);
    Label7 = Named(new QLabel(validityFrame), "Label7");
    Label7->setMinimumWidth(90);
    vg->addWidget(validity[0].button, 0, 0);
    vg->addWidget(validity[1].button, 1, 0);
    vg->addWidget(Slider2, 1, 1);
    vg->addWidget(Label7, 1, 2);
    vg->addWidget(validity[2].button, 2, 0);
    vg->setColumnStretch(1, 1);
    v->addWidget(validityFrame);
    v->addStretch();
}

void OptionsPages::BuildView(QWidget* page)
{
    auto* grid = new QGridLayout(page);
    struct Row {
        const char* caption;
        int style;
        const char* sample;
        const char* font;
        const char* colour;
    };
    static constexpr Row kRows[] = {{"Conferees list", 0, "Text5", "Command2", "Command3"},
                                    {"New message", 1, "Text6", "Command4", "Command5"},
                                    {"Log", 2, "Text7", "Command6", "Command7"},
                                    {"Other text fields", 4, "Text8", "Command8", "Command9"}};
    for (size_t i = 0; i < samples.size(); ++i) {
        const Row& r = kRows[i];
        QLineEdit* sample = Box(r.sample, page);
        sample->setText(QStringLiteral("Sample text"));
        sample->setReadOnly(true);
        sample->setMinimumWidth(220);
        samples[i] = {r.style, sample, Named(new QPushButton(QStringLiteral("Font..."), page), r.font),
                      Named(new QPushButton(QStringLiteral("Colour..."), page), r.colour)};
        const int gridRow = int(i);
        grid->addWidget(Label(r.caption, page), gridRow, 0);
        grid->addWidget(sample, gridRow, 1);
        grid->addWidget(samples[i].font, gridRow, 2);
        grid->addWidget(samples[i].colour, gridRow, 3);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(int(samples.size()), 1);
}

void OptionsPages::BuildHidden(QWidget* page)
{
    auto* v = new QVBoxLayout(page);
    Check6 = Check("Check6", "Log debug information to file", page);
    v->addWidget(Check6);

    auto* timeouts = new QGroupBox(QStringLiteral("Comm Port Timeouts, milliseconds"), page);
    auto* tf = new QFormLayout(timeouts);
    static const char* const kCaptions[5] = {"Read Interval Timeout", "Read Total Timeout Multiplier",
                                             "Read Total Timeout Constant", "Write Total Timeout Multiplier",
                                             "Write Total Timeout Constant"};
    for (size_t i = 0; i < Text9.size(); ++i) {
        Text9[i] = Box(QByteArray("Text9_" + QByteArray::number(qulonglong(i))).constData(), timeouts, 90);
        tf->addRow(Label(kCaptions[i], timeouts), Text9[i]);
    }
    v->addWidget(timeouts);

    auto* size = new QHBoxLayout;
    Text20 = Box("Text20", page, 90);
    size->addWidget(Label("Max size of email letter (bytes):", page));
    size->addWidget(Text20);
    size->addWidget(Label("(0 - no max size)", page));
    size->addStretch();
    v->addLayout(size);

    auto* extender = new QGroupBox(QStringLiteral("Extender"), page);
    auto* eg = new QGridLayout(extender);
    Check11 = Check("Check11", "Use Extender", extender);
    Text21 = Box("Text21", extender);
    Check12 = Check("Check12", "Limit length of message", extender);
    Text22 = Box("Text22", extender, 60);
    eg->addWidget(Check11, 0, 0, 1, 2);
    eg->addWidget(Label("Extender address:", extender), 1, 0);
    eg->addWidget(Text21, 1, 1);
    eg->addWidget(Check12, 2, 0, 1, 2);
    eg->addWidget(Label("Max number of parts:", extender), 3, 0);
    eg->addWidget(Text22, 3, 1, Qt::AlignLeft);
    v->addWidget(extender);
    v->addStretch();
}

void OptionsPages::BuildLocalEmail(QWidget* page)
{
    auto* v = new QVBoxLayout(page);
    Check13 = Check("Check13", "Connect at startup", page);
    v->addWidget(Check13);
    auto* form = new QFormLayout;
    Text32 = Box("Text32", page);
    Text23 = Box("Text23", page, 60);
    form->addRow(Label("Account name:", page), Text32);
    form->addRow(Label("Poll interval (minutes):", page), Text23);
    v->addLayout(form);
    QLabel* note = Label("Email functions is not available under the Windows 98/Me operating systems!", page);
    note->setWordWrap(true);
    v->addWidget(note);
    v->addStretch();
}

}  // namespace parlova
