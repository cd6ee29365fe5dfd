#include "client/support/OptionsDialogFixture.h"

#include "client/core/ui/frmCharSet.h"
#include "support/ui/ModalFormRecorder.h"

#include <QFile>

namespace {

using namespace optionstest;

TEST_F(OptionsDialogTest, TheViewPageTakesFontsAndColoursIntoTheStyles)
{
    platform::DialogRecorder dialogs;
    platform::ModalFormRecorder forms;
    platform::FontSpec chosen;
    chosen.name = QStringLiteral("Serif");
    chosen.size = 14;
    chosen.bold = true;
    dialogs.answerFont(platform::FontDialogAnswer{chosen, 0x0000FF});
    forms.answerWith<parlova::frmCharSet>([](parlova::frmCharSet& form) {
        form.Combo1->setCurrentIndex(form.Combo1->findText(QStringLiteral("Russian")));
        form.cmdOK->click();
    });
    dialogs.answerColor(0x00FF00);

    frmOptions& d = Open();
    ClickTab(4);
    Find<QPushButton>("Command6")->click();
    QLineEdit* log = Find<QLineEdit>("Text7");
    EXPECT_EQ(log->font().family(), QStringLiteral("Serif"));
    EXPECT_EQ(platform::WidgetForeColor(log), 0x0000FF);
    EXPECT_EQ(log->text(), QStringLiteral("Serif; 14; ") + parlova::CharsetName(204));
    EXPECT_TRUE(d.cmdApply->isEnabled());
    Find<QPushButton>("Command7")->click();
    EXPECT_EQ(platform::WidgetBackColor(log), 0x00FF00);
    d.cmdOK->click();
    EXPECT_EQ(value("Options_LogFont", "Name"), "Serif");
    EXPECT_EQ(value("Options_LogFont", "Size"), "14");
    EXPECT_EQ(value("Options_LogFont", "Bold"), "True");
    EXPECT_EQ(value("Options_LogFont", "CharSet"), "204");
    EXPECT_EQ(value("Options", "LogForeColor"), "255");
    EXPECT_EQ(value("Options", "LogBackColor"), "65280");
    EXPECT_EQ(value("Options_MessageFont", "Name"), "<none>") << "only the style whose font was chosen";

    // Once chosen, the font is written at every save.
    platform::DeleteSetting(QStringLiteral("Parlova"), QStringLiteral("Options_LogFont"));
    Open().cmdOK->click();
    EXPECT_EQ(value("Options_LogFont", "Name"), "Serif");
}

TEST_F(OptionsDialogTest, BrowseReplacesTheFolderOrShowsWhyNot)
{
    platform::DialogRecorder dialogs;
    dialogs.answerFolder(scratch() + QStringLiteral("/logs"));
    Open();
    Find<QPushButton>("Command1")->click();
    EXPECT_EQ(Shown("Text1"), scratch() + QStringLiteral("/logs"));
    ASSERT_EQ(dialogs.folders.size(), 1u);
    EXPECT_EQ(dialogs.folders[0].owner, dialog_.get());

    Find<QPushButton>("Command1")->click();  // cancelled
    EXPECT_EQ(Shown("Text1"), scratch() + QStringLiteral("/logs"));

    platform::DialogHooks failing;
    failing.folder = [](const platform::FolderDialogRequest&) -> std::optional<QString> {
        platform::Raise(76, QStringLiteral("Parlova"), QStringLiteral("Path not found"));
    };
    const platform::DialogHooks previous = platform::SetDialogHooks(failing);
    Find<QPushButton>("Command1")->click();
    platform::SetDialogHooks(previous);
    EXPECT_EQ(boxes_.last().prompt, QStringLiteral("Path not found (76)"));
    EXPECT_EQ(boxes_.last().style, platform::vbExclamation);
    EXPECT_EQ(Shown("Text1"), scratch() + QStringLiteral("/logs"));
}

TEST_F(OptionsDialogTest, HistoriesGrowAndBoxesWithoutNumbersAreEmptied)
{
    frmOptions& d = Open();
    Find<QComboBox>("Combo1")->setEditText(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    EXPECT_EQ(Shown("Label1"), QStringLiteral("Example: 09/12/2026 14:05:07"));
    Find<QComboBox>("Combo2")->setEditText(QStringLiteral("abc"));
    Find<QLineEdit>("Text9_0")->setText(QStringLiteral("x"));
    d.cmdApply->click();
    EXPECT_EQ(section("Options_Combo1"),
              (QList<QPair<QString, QString>>{
                  {"Item0", "yyyy/MM/dd  HH:mm"}, {"Item1", "dd.MM.yy HH:mm"}, {"Item2", "dd/MM/yyyy HH:mm:ss"}}));
    QComboBox* formats = Find<QComboBox>("Combo1");
    ASSERT_EQ(formats->count(), 3);
    EXPECT_EQ(formats->itemText(2), QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    EXPECT_EQ(value("Options", "Price"), "0");
    EXPECT_EQ(Shown("Combo2"), QString());
    EXPECT_TRUE(section("Options_Combo2").isEmpty()) << "an emptied price never enters the history";
    EXPECT_EQ(value("Options", "TO0"), "0");
    EXPECT_EQ(Shown("Text9_0"), QString());
    EXPECT_FALSE(d.cmdApply->isEnabled());

    // A later price does enter it.
    Find<QComboBox>("Combo2")->setEditText(QStringLiteral("0.05"));
    d.cmdOK->click();
    EXPECT_EQ(section("Options_Combo2"), (QList<QPair<QString, QString>>{{"Item0", "0.05"}}));
    Open();
    EXPECT_EQ(Find<QComboBox>("Combo2")->count(), 1);
}

TEST_F(OptionsDialogTest, TheLogSwitchStartsTheHubLogInTheWorkingFolder)
{
    QTemporaryDir logs;
    app_->globals().PhoneGate = std::make_shared<corvane::Gate>();
    frmOptions& d = Open();
    Find<QLineEdit>("Text1")->setText(logs.path());
    Find<QCheckBox>("Check6")->setChecked(true);
    d.cmdOK->click();
    EXPECT_TRUE(QFile::exists(logs.path() + QStringLiteral("/ParlovaHubLog.txt")));
    EXPECT_EQ(value("Options", "LogToFile"), "True");
    app_->globals().PhoneGate.reset();
    platform::SetInitialFolder(QString());
}

TEST_F(OptionsDialogTest, ASaveTheStoreRefusesIsShownAndTheDialogStays)
{
    frmOptions& d = Open();
    // A folder that cannot be made: its parent is a file.
    QFile blocker(scratch() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    platform::SetSettingsFolder(blocker.fileName() + QStringLiteral("/Parlova"));
    Find<QLineEdit>("Text14")->setText(QStringLiteral("90"));
    d.cmdApply->click();
    ASSERT_EQ(boxes_.count(), 1u);
    EXPECT_EQ(boxes_.last().style, platform::vbExclamation);
    EXPECT_TRUE(boxes_.last().prompt.contains(QStringLiteral("The settings could not be saved")));
    EXPECT_TRUE(d.cmdApply->isEnabled());
    d.cmdOK->click();
    EXPECT_EQ(boxes_.count(), 1u) << "nothing differs any more, nothing is written";
    EXPECT_FALSE(d.isVisible());
}

TEST_F(OptionsDialogTest, ShownModallyOverItsOwnerAndFreedAfterwards)
{
    settings().GetOptions();
    QWidget owner;
    platform::ModalFormRecorder forms;
    forms.answerWith<frmOptions>([](frmOptions& form) {
        form.findChild<QLineEdit*>(QStringLiteral("Text21"))->setText(QStringLiteral("+15550100"));
        form.cmdOK->click();
    });
    frmOptions::ShowOptions(&owner);
    ASSERT_EQ(forms.forms.size(), 1u);
    EXPECT_EQ(forms.forms[0].name, QStringLiteral("frmOptions"));
    EXPECT_EQ(forms.forms[0].caption, QStringLiteral("Options"));
    EXPECT_EQ(value("Options", "Extender"), "+15550100");
    EXPECT_TRUE(owner.findChildren<frmOptions*>().isEmpty());
}

}  // namespace
