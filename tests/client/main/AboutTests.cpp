// The about box, filled through the form hook, and its settings reader.
#include "client/core/Procedures.h"
#include "client/main/AboutInfo.h"
#include "client/main/ui/DialogProcedures.h"
#include "client/main/ui/frmAbout.h"
#include "client/support/SettingsStoreFixture.h"
#include "platform/UserSettings.h"
#include "platform/ui/MessageBox.h"
#include "support/ui/MessageBoxRecorder.h"
#include "support/ui/ModalFormRecorder.h"
#include "support/ui/RecordingDesktopService.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace parlova;

TEST(frmAbout, ShowsTheBuiltVersionAndStartsSystemInformation)
{
    EXPECT_EQ(AboutInfo::Title({2, 5, 17}),
              QStringLiteral("Parlova\u2122 (2.5, build 17)\r\n") + AboutInfo::Copyright());
    const AboutInfo::Version built = AboutInfo::BuiltVersion();
    EXPECT_EQ(QStringLiteral("%1.%2.%3").arg(built.major).arg(built.minor).arg(built.revision),
              QStringLiteral(PARLOVA_TEST_VERSION));

    platform::RecordingDesktopService desktop;
    platform::MessageBoxRecorder boxes;
    platform::ModalFormRecorder forms;
    forms.answerWith<frmAbout>([&](frmAbout& about) {
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About Parlova"));
        EXPECT_EQ(about.lblTitle->text(), platform::MessageBoxText(AboutInfo::Title()));
        about.cmdSysInfo->click();
        desktop.systemInfoError = QStringLiteral("File not found (53)");
        about.cmdSysInfo->click();
        EXPECT_TRUE(about.isVisible());
        about.cmdOK->click();
    });
    // Reached as the Help menu reaches it, through the table.
    Procedures procedures;
    FillDialogProcedures(procedures);
    procedures.ShowAbout(nullptr);
    ASSERT_EQ(forms.forms.size(), 1u);
    EXPECT_EQ(forms.forms[0].name, QStringLiteral("frmAbout"));
    ASSERT_EQ(desktop.calls.size(), 2u);
    EXPECT_EQ(desktop.calls[0].kind, platform::RecordingDesktopService::Kind::SystemInfo);
    ASSERT_EQ(boxes.count(), 1u) << "only the failed start says something";
    EXPECT_EQ(boxes.last().prompt,
              QStringLiteral("System Information is unavailable because of:\r\nFile not found (53)"));
    EXPECT_EQ(boxes.last().style, 48);
}

class AboutKeys : public SettingsStoreTest {};

TEST_F(AboutKeys, GetKeyValueReadsTheProgramsStore)
{
    const QString key = QStringLiteral("SOFTWARE\\Tools\\Info");
    platform::SaveSetting(QStringLiteral("Parlova"), key, QStringLiteral("PATH"),
                          QStringLiteral("/usr/bin/info") + QChar(0) + QStringLiteral("rest"));
    QString value = QStringLiteral("before");
    EXPECT_TRUE(AboutInfo::GetKeyValue(0, key, QStringLiteral("path"), value));
    EXPECT_EQ(value, QStringLiteral("/usr/bin/info")) << "cut at character 0";
    EXPECT_FALSE(AboutInfo::GetKeyValue(0, key, QStringLiteral("Missing"), value));
    EXPECT_EQ(value, QString());
    value = QStringLiteral("before");
    EXPECT_FALSE(AboutInfo::GetKeyValue(0, QStringLiteral("No\\Such\\Key"), QStringLiteral("PATH"), value));
    EXPECT_EQ(value, QString());
}
