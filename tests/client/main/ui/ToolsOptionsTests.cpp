#include "client/main/ui/frmOptions.h"

#include "client/support/MainWindowRig.h"
#include "support/ui/ModalFormRecorder.h"

#include <QAction>
#include <QPushButton>

namespace {

using mainwintest::MainWindowTest;

TEST_F(MainWindowTest, ToolsOptionsOpensTheOptionsOverTheMainWindow)
{
    start();
    parlova::frmOptions::Install();
    platform::ModalFormRecorder forms;
    QWidget* owner = nullptr;
    forms.answerWith<parlova::frmOptions>([&](parlova::frmOptions& form) {
        owner = form.parentWidget();
        form.cmdCancel->click();
    });
    window->MenuAction(QStringLiteral("mnuToolsOptions"))->trigger();
    ASSERT_EQ(forms.forms.size(), 1u);
    EXPECT_EQ(forms.forms[0].name, QStringLiteral("frmOptions"));
    EXPECT_EQ(forms.forms[0].caption, QStringLiteral("Options"));
    EXPECT_EQ(owner, window.get());
}

}  // namespace
