#include "client/main/MainProcedures.h"
#include "client/support/OptionsDialogFixture.h"

namespace {

using namespace optionstest;

TEST_F(OptionsDialogTest, OpeningShowsEverySettingWithApplyDisabled)
{
    frmOptions& d = Open();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Options"));
    EXPECT_FALSE(d.cmdApply->isEnabled());
    const parlova::OptionsSnapshot stored = settings().Snapshot();
    const struct {
        const char* control;
        QString shown;
    } expected[] = {
        {"Check3", "1"},       {"Combo2", stored.Price},  {"Combo3", "$"},         {"Text2", "4"},
        {"Check1", "1"},       {"Text1", stored.WorkingFolder},                  {"Check2", "0"},
        {"Combo1", "yyyy/MM/dd  HH:mm"},                  {"Label1", "Example: 2026/12/09  14:05"},
        {"Check4", "0"},       {"Check14", "1"},          {"Option15", "0"},       {"Option16", "0"},
        {"Option17", "1"},     {"Text3", "1"},            {"Text4", "256"},        {"Combo4", "115200"},
        {"Option12", "1"},     {"Option1", "0"},          {"Option13", "1"},       {"Option3", "0"},
        {"Option7", "1"},      {"Option14", "0"},         {"Slider2", "170"},      {"Label7", "4 days"},
        {"Check5", "0"},       {"Option10", "1"},         {"Option11", "0"},       {"Combo5", ""},
        {"Check10", "0"},      {"Text10", ""},            {"Text14", "60"},        {"Text16", "110"},
        {"Text17", "1"},       {"Text19", "25"},          {"Check9", "0"},         {"Text20", "0"},
        {"Text9_0", "-1"},     {"Text9_4", "0"},          {"Check6", "0"},         {"Check11", "0"},
        {"Text21", ""},        {"Check12", "0"},          {"Text22", "1"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(Shown(e.control), e.shown) << e.control;
    EXPECT_EQ(Find<QRadioButton>("Option15")->text(), QStringLiteral("The last connected port (not yet)"));
    QComboBox* formats = Find<QComboBox>("Combo1");
    ASSERT_EQ(formats->count(), 2);
    EXPECT_EQ(formats->itemText(0), QStringLiteral("yyyy/MM/dd  HH:mm"));
    EXPECT_EQ(formats->itemText(1), QStringLiteral("dd.MM.yy HH:mm"));
    EXPECT_EQ(Find<QComboBox>("Combo4")->currentIndex(), 6);
    EXPECT_EQ(Find<QLineEdit>("Text13")->echoMode(), QLineEdit::Password);
    // The sample tells the face it really shows.
    QLineEdit* log = Find<QLineEdit>("Text7");
    EXPECT_EQ(log->text(), OptionsRules::FontDescription(platform::WidgetFont(log)));
    EXPECT_FALSE(log->font().family().isEmpty());
    EXPECT_EQ(d.tbsOptions->tabToolTip(0), QStringLiteral("Set general application`s options"));
    EXPECT_EQ(d.tbsOptions->tabData(1).toString(), QStringLiteral("Connection"));

    settings().SaveLastPort(3);
    Open();
    EXPECT_EQ(Find<QRadioButton>("Option15")->text(), QStringLiteral("The last connected port (COM3)"));
}

TEST_F(OptionsDialogTest, OkUntouchedLeavesTheFileAsItWas)
{
    // Values no control can show as they are stay as stored: a class no
    // option stands for (not Flash), a speed past the list, numbers past
    // their controls' ranges.
    writeFile("[Options]\nPrice=0.1\nLastChoice=True\nScanAllPorts=False\nStartPort=5\nEndPort=9\n"
              "RecentFilesNumber=12\nClass=7\nPortSpeedIndex=11\nRelativeValidity=300\nServerTimeout=45\n"
              "[Options_Combo1]\nItem0=HH:mm\n");
    const QByteArray before = fileBytes();
    frmOptions& d = Open();
    for (const char* option : {"Option3", "Option4", "Option5", "Option6", "Option13"})
        EXPECT_EQ(Shown(option), QStringLiteral("0")) << option;
    d.cmdOK->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(settings().Class(), 7);
}

TEST_F(OptionsDialogTest, ApplyWritesTheChangeAndCancelDropsOne)
{
    frmOptions& d = Open();
    Find<QLineEdit>("Text14")->setText(QStringLiteral("90"));
    EXPECT_TRUE(d.cmdApply->isEnabled());
    d.cmdApply->click();
    EXPECT_FALSE(d.cmdApply->isEnabled());
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(section("Options"), (QList<QPair<QString, QString>>{{"ServerTimeout", "90"}}));

    Find<QLineEdit>("Text15")->setText(QStringLiteral("pop.example.org"));
    d.cmdCancel->click();
    EXPECT_FALSE(d.isVisible());
    Open();
    EXPECT_EQ(Shown("Text15"), QString());
    EXPECT_EQ(value("Options", "POP3Address"), "<none>");

    // The port choice enables nothing, yet OK saves it.
    frmOptions& again = Open();
    Find<QRadioButton>("Option15")->click();
    EXPECT_FALSE(again.cmdApply->isEnabled());
    again.cmdOK->click();
    EXPECT_EQ(value("Options", "LastChoice"), "True");
    EXPECT_EQ(value("Options", "ScanPorts"), "False");
    EXPECT_EQ(value("Options", "ScanAllPorts"), "False");
}

TEST_F(OptionsDialogTest, TheSliderTellsThePeriodInWords)
{
    Open();
    QSlider* slider = Find<QSlider>("Slider2");
    const struct {
        int position;
        const char* words;
    } cases[] = {{0, "0 h 5 min"}, {143, "12 h 0 min"}, {144, "12 h 30 min"}, {167, "24 h 0 min"}, {168, "2 days"},
                 {170, "4 days"},  {196, "30 days"},    {197, "5 weeks"},     {255, "63 weeks"}};
    for (const auto& c : cases) {
        slider->setValue(c.position == 170 ? 171 : 170);  // a change every time
        slider->setValue(c.position);
        EXPECT_EQ(Shown("Label7"), QString::fromLatin1(c.words)) << c.position;
    }
    EXPECT_TRUE(dialog_->cmdApply->isEnabled());
}

TEST_F(OptionsDialogTest, ScanRangeAndRecentFilesFollowTheirRules)
{
    Open();
    auto* start = Find<parlova::UpDown>("UpDown2");
    auto* end = Find<parlova::UpDown>("UpDown3");
    Find<QLineEdit>("Text3")->setText(QStringLiteral("300"));
    EXPECT_EQ(Shown("Text3"), QStringLiteral("256"));
    EXPECT_EQ(start->value(), 256);
    Find<QLineEdit>("Text4")->setText(QStringLiteral("30"));
    EXPECT_EQ(end->value(), 30);
    EXPECT_EQ(start->value(), 30) << "the start follows the end down";
    EXPECT_EQ(Shown("Text3"), QStringLiteral("30"));
    Find<QLineEdit>("Text3")->setText(QStringLiteral("80"));
    EXPECT_EQ(end->value(), 80) << "the end follows the start up";
    EXPECT_EQ(Shown("Text4"), QStringLiteral("80"));
    Find<QLineEdit>("Text3")->setText(QStringLiteral("0"));
    EXPECT_EQ(Shown("Text3"), QStringLiteral("1"));

    QSpinBox* count = Find<QSpinBox>("Text2");
    QCheckBox* remember = Find<QCheckBox>("Check1");
    count->setValue(0);
    EXPECT_FALSE(remember->isChecked());
    remember->click();
    EXPECT_TRUE(remember->isChecked());
    EXPECT_EQ(count->value(), 1);
}

TEST_F(OptionsDialogTest, NumberBoxesRefuseOutOfRangeValues)
{
    const struct {
        qint32 emailType;
        const char* box;
        const char* text;
        const char* next;
        bool hiddenPage;
        const char* message;
    } cases[] = {
        {1, "Text14", "5", "Text15", false, "Enter number from 10 to 600"},
        {1, "Text16", "-1", "Text15", false, "Enter positive whole number"},
        {1, "Text16", "99999999999", "Text15", false, "Enter positive whole number"},
        {1, "Text17", "0", "Text15", false, "Enter number from 1 to 600"},
        {1, "Text19", "x", "Text15", false, "Enter positive whole number"},
        {1, "Text20", "-1", "Text21", true, "Enter whole positive number"},
        {1, "Text22", "256", "Text21", true, "Enter number from 1 to 255"},
        {2, "Text23", "601", "Text32", false, "Enter number from 1 to 600"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        frmOptions& d = Open(c.emailType);
        const QByteArray before = fileBytes();
        if (c.hiddenPage)
            Key(Qt::Key_6, Qt::ControlModifier);
        else
            ClickTab(2);
        boxes_.clear();
        Leave(c.box, QString::fromLatin1(c.text), c.next);
        ASSERT_EQ(boxes_.count(), 1u);
        EXPECT_EQ(boxes_.last().prompt, QString::fromLatin1(c.message));
        EXPECT_EQ(boxes_.last().style, platform::vbOKOnly);
        EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(c.box));
        d.cmdOK->click();
        EXPECT_EQ(boxes_.count(), 2u) << "OK checks again";
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(fileBytes(), before);
    }
    // 0 is a port.
    Open();
    ClickTab(2);
    boxes_.clear();
    Leave("Text16", QStringLiteral("0"), "Text19");
    Leave("Text19", QStringLiteral("0"), "Text15");
    EXPECT_EQ(boxes_.count(), 0u);
    // Cancel and the title-bar close never check.
    Leave("Text14", QStringLiteral("5"), "cmdCancel");
    dialog_->cmdCancel->click();
    Open();
    ClickTab(2);
    Leave("Text14", QStringLiteral("5"), "cmdCancel");
    dialog_->close();
    QApplication::processEvents();
    EXPECT_EQ(boxes_.count(), 0u);
}

TEST_F(OptionsDialogTest, TabsAndKeys)
{
    frmOptions& d = Open(2);
    parlova::OptionsPages& p = d.Pages();
    ClickTab(4);
    EXPECT_EQ(d.ShownPage(), 4);
    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(d.tbsOptions->currentIndex(), 0);
    EXPECT_EQ(d.ShownPage(), 0);

    // With the local mail page on show, Ctrl+6 leaves the hidden page alone in sight.
    ClickTab(2);
    EXPECT_EQ(d.ShownPage(), 6);
    Key(Qt::Key_6, Qt::ControlModifier);
    EXPECT_EQ(d.ShownPage(), OptionsRules::kHiddenPage);
    for (size_t n = 0; n < p.pages.size(); ++n)
        EXPECT_EQ(p.pages[n]->isVisible(), n == size_t(OptionsRules::kHiddenPage)) << n;
    ClickTab(2);
    EXPECT_EQ(d.ShownPage(), 6) << "a click on the current tab brings its page back";

    platform::RecordingDesktopService desktop;
    parlova::InstallMainProcedures();
    for (int tab = 0; tab < OptionsRules::kTabCount; ++tab) {
        ClickTab(tab);
        Key(Qt::Key_F1);
    }
    ASSERT_EQ(desktop.calls.size(), 5u);
    for (int tab = 0; tab < 5; ++tab)
        EXPECT_EQ(desktop.calls[size_t(tab)].context, 35100 + 100 * tab);

    frmOptions& none = Open(0);
    ClickTab(2);
    EXPECT_EQ(none.ShownPage(), OptionsRules::kNoPage);
    for (QWidget* page : none.Pages().pages)
        EXPECT_FALSE(page->isVisible());
}

}  // namespace
