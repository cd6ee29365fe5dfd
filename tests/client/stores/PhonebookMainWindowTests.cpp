// The phone-book window inside the real main window: Tools, Phonebook
// reads the books and shows it, its menus and toolbar replace the main
// window's, and the toolbar's buttons reach its procedures.
#include "client/support/MainWindowRig.h"

#include "client/conversations/ui/frmNewConf.h"
#include "client/core/ui/StoreGrid.h"
#include "client/stores/PhonebookTexts.h"
#include "client/stores/ui/PhonebookHandle.h"
#include "client/stores/ui/frmPhonebook.h"
#include "support/ui/ModalFormRecorder.h"
#include "tools/phonesim/BookCommands.h"

#include <QMenuBar>
#include <QToolBar>

using namespace parlova;

namespace {

class PhonebookInMain : public mainwintest::MainWindowTest {};

}  // namespace

TEST_F(PhonebookInMain, ToolsPhonebookReadsAndTheToolbarReachesTheProcedures)
{
    phone.sim().state().get<phonesim::BookProfile>().putSampleContacts();
    start();
    const auto handle = PhonebookHandle::Install(*app, [this] { return window->MdiArea(); });
    platform::ModalFormRecorder forms;
    window->MenuAction("mnuToolsConnect")->trigger();
    ASSERT_TRUE(runUntilIdle());

    window->MenuAction("mnuToolsPhonebook")->trigger();
    EXPECT_EQ(boxes.last().prompt, PhonebookTexts::ShowQuestion());
    EXPECT_EQ(boxes.last().style, 36);
    ASSERT_TRUE(runUntilIdle());
    ASSERT_TRUE(handle->Visible());
    EXPECT_EQ(pane(1), QStringLiteral("Menu. Read Phonebook...Done"));
    EXPECT_EQ(panes().ActiveToolbar(), tlbBook);
    EXPECT_FALSE(window->Toolbar(tlbBook)->isHidden());
    QStringList menus;
    for (QAction* a : window->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Phonebook", "Too&ls", "&Window", "&Help"}));

    // Each contact button opens the dialog its procedure asks with (left
    // unanswered: cancelled, nothing queued); Delete asks first.
    const std::pair<const char*, const char*> buttons[] = {
        {"19", "Add contact to SIM"},
        {"20", "Add contact to Phone"},
        {"21", "Edit contact in SIM"},
        {"23", "Move contact to Phone memory"},
        {"24", "Copy contact to Phone memory"},
    };
    for (const auto& [tag, caption] : buttons) {
        window->ButtonAction(tlbBook, QLatin1String(tag))->trigger();
        ASSERT_FALSE(forms.forms.empty());
        EXPECT_EQ(forms.forms.back().caption, QLatin1String(caption)) << tag;
    }
    boxes.answer(platform::vbNo);
    window->ButtonAction(tlbBook, QStringLiteral("22"))->trigger();
    EXPECT_TRUE(boxes.last().prompt.startsWith(QStringLiteral("You are about to delete the following entry from SIM:")));
    EXPECT_EQ(phoneOrders().Count(), 0);

    // Phonebook again: the window comes forward as it is.
    handle->Window()->MSFlexGrid1->SetRow(2);
    window->ButtonAction(tlbMDI, QStringLiteral("13"))->trigger();
    EXPECT_EQ(handle->Window()->MSFlexGrid1->Row(), 2);
}
