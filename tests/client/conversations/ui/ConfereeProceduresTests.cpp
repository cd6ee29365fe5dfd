// The conferee procedures on real conversation windows and the real
// registry: their questions and refusals word for word, the forms filled
// through the hook, and what they leave in the registry and the files.
#include "client/support/ConversationRig.h"

#include "client/conversations/ui/ConfereeProcedures.h"
#include "client/conversations/ui/frmConf.h"
#include "client/conversations/ui/frmNewConf.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/Module1.h"
#include "client/core/ui/frmAllItems.h"
#include "hub/messages/BookRecords.h"
#include "support/ui/ModalFormRecorder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace parlova;
using clienttest::ConversationRig;

namespace {

const QString kAnn = QStringLiteral("Ann <+441111>");
const QString kBob = QStringLiteral("Bob <+442222>");
const QString kCy = QStringLiteral("Cy <+443333>");
const QString kBullet = QStringLiteral("\r    \u2022 ");

struct ProcRig {
    ProcRig()
    {
        area.resize(900, 700);
        area.show();
        ConfereeProcedures::Install(rig.client.app.procedures());
    }
    // Team: autosaved in Team.plv.
    frmTalk& team(const QStringList& lines)
    {
        Conversation& t = rig.autosaved();
        fill(t, lines);
        return dynamic_cast<frmTalk&>(t);
    }
    frmTalk& other(const QStringList& lines = {})
    {
        Conversation& t = rig.open();
        fill(t, lines);
        return dynamic_cast<frmTalk&>(t);
    }
    void fill(Conversation& t, const QStringList& lines)
    {
        for (QString line : lines) {
            QString name, address;
            ASSERT_EQ(NameAndAddress(name, address, line), QString());
            ASSERT_EQ(rig.conference->AddConferee(address, name, t.Theme()), QString());
        }
    }
    QStringList prompts() const { return rig.boxTexts(); }
    platform::MessageBoxRecorder& boxes() { return rig.client.boxes; }
    // The conferee dialog filled and confirmed, or cancelled.
    void answer(const QString& name, const QString& address, bool ok = true)
    {
        forms.answerWith<frmNewConf>([=](frmNewConf& f) {
            f.txtUserName->setText(name);
            f.txtPassword->setText(address);
            (ok ? f.cmdOK : f.cmdCancel)->click();
        });
    }

    QMdiArea area;
    ConversationRig rig{[this] { return frmTalk::Create(&area); }};
    platform::ModalFormRecorder forms;
};

}  // namespace

TEST(ConfereeProcedures, RemovingReportsEachFailureAndRemovesTheRest)
{
    ProcRig p;
    // A line a file left that cannot be split, between two good ones.
    const QString file = p.rig.path(QStringLiteral("Team.plv"));
    p.rig.write(file, "[Conferees]\r\nConf00001=Ann <+441111>\r\nConf00002=Bob\r\nConf00003=Cy <+443333>\r\n");
    QString theme, warnings;
    ASSERT_EQ(p.rig.conference->AddTalk(theme, warnings, file), QString());
    Conversation& t = p.rig.talk(theme);
    t.OnListClick({true, true, true}, 0);

    p.boxes().answer(platform::vbNo);
    Procs().AskRemoveConferees(theme);
    EXPECT_EQ(t.ConfereesCount(), 3) << "No keeps them all";
    const QString question = QStringLiteral("You are about to delete following conferees:") + kBullet + kCy + kBullet +
                             QStringLiteral("Bob") + kBullet + kAnn + QStringLiteral("\rfrom Team. Are you sure?");
    EXPECT_EQ(p.prompts(), QStringList{question});
    EXPECT_EQ(p.boxes().last().style, platform::vbYesNo | platform::vbQuestion);

    p.boxes().clear();
    p.boxes().answer(platform::vbYes);
    Procs().AskRemoveConferees(theme);
    EXPECT_EQ(p.prompts(), (QStringList{question, QStringLiteral("Conferee Bob was not removed because of:\r\n"
                                                                 "Invalid procedure call or argument (5)")}));
    EXPECT_EQ(p.boxes().last().style, platform::vbExclamation);
    EXPECT_EQ(t.AllConferees(), QStringList{QStringLiteral("Bob")});
    EXPECT_FALSE(p.rig.conference->ConfereeExist(QStringLiteral("+441111")));
    EXPECT_FALSE(p.rig.conference->ConfereeExist(QStringLiteral("+443333")));

    // Nothing selected: no question at all.
    p.boxes().clear();
    t.DeselectAll();
    Procs().AskRemoveConferees(theme);
    EXPECT_EQ(p.boxes().count(), 0u);
}

TEST(ConfereeProcedures, MovingAsksForADestinationAndConfirmation)
{
    ProcRig p;
    frmTalk& team = p.team({kAnn, kBob, kCy});
    frmTalk& second = p.other();
    frmTalk& third = p.other();

    // Nothing selected; then "[nowhere]" and an empty choice ask nothing.
    Procs().AskMoveConferees(QStringLiteral("Team"), TalkChoice{second.Theme()});
    EXPECT_EQ(p.prompts(), QStringList{QStringLiteral("Select some conferee(s)")});
    p.boxes().clear();
    team.OnListClick({true, false, true}, 2);
    Procs().AskMoveConferees(QStringLiteral("Team"), TalkChoice{QString(), false, true});
    Procs().AskMoveConferees(QStringLiteral("Team"), TalkChoice{});
    EXPECT_EQ(p.boxes().count(), 0u);
    EXPECT_TRUE(p.forms.forms.empty());

    // "More conferences...": the other themes in order; the picked one.
    p.forms.answerWith<frmAllItems>([&](frmAllItems& f) {
        QStringList offered;
        for (int i = 0; i < f.List1->count(); ++i)
            offered << f.List1->item(i)->text();
        EXPECT_EQ(offered, (QStringList{second.Theme(), third.Theme()}));
        f.List1->setCurrentRow(1);
        f.OKButton->click();
    });
    p.boxes().answer(platform::vbYes);
    Procs().AskMoveConferees(QStringLiteral("Team"), TalkChoice{QString(), true, false});
    ASSERT_EQ(p.forms.forms.size(), 1u);
    EXPECT_EQ(p.forms.forms[0].caption, QStringLiteral("All conferences"));
    EXPECT_EQ(p.prompts(), QStringList{QStringLiteral("You are about to move following conferees:") + kBullet + kCy +
                                       kBullet + kAnn + QStringLiteral("\rto ") + third.Theme() +
                                       QStringLiteral(". Are you sure?")});
    EXPECT_EQ(team.AllConferees(), QStringList{kBob});
    EXPECT_EQ(third.AllConferees(), (QStringList{kCy, kAnn}));
    EXPECT_EQ(p.rig.conference->LocateConferee(QStringLiteral("+441111")), third.Theme());

    // A cancelled picker moves nothing.
    team.OnListClick({true}, 0);
    p.boxes().clear();
    Procs().AskMoveConferees(QStringLiteral("Team"), TalkChoice{QString(), true, false});
    EXPECT_EQ(p.boxes().count(), 0u);
    EXPECT_EQ(team.AllConferees(), QStringList{kBob});
}

TEST(ConfereeProcedures, JoiningMovesEveryoneAppendsTheLogAndClosesTheSource)
{
    ProcRig p;
    frmTalk& team = p.team({kAnn});
    frmTalk& source = p.other({kBob, kCy});
    const QString a = source.Theme();
    source.Log(2, QStringLiteral("first line"));
    source.Log(2, QStringLiteral("second line"));
    const QString sourceLog = source.Log();
    const QString before = team.Log();

    Procs().AskJoinTalks(a, TalkChoice{QString(), false, true});
    EXPECT_EQ(p.boxes().count(), 0u);

    p.boxes().answer(platform::vbNo);
    Procs().AskJoinTalks(a, TalkChoice{QStringLiteral("Team")});
    const QString question = QStringLiteral("You are about to join conference ") + a +
                             QStringLiteral(" with conference Team.\rAll conferees from ") + a +
                             QStringLiteral(" will be moved to Team.\rArchive of ") + a +
                             QStringLiteral(" will be added to archive of Team.\rAfter that conference ") + a +
                             QStringLiteral(" will be closed.\rDo you want to continue?");
    EXPECT_EQ(p.prompts(), QStringList{question});
    ASSERT_TRUE(p.rig.conference->TalkExist(a));

    p.boxes().answer(platform::vbYes);
    p.boxes().answer(platform::vbNo);  // the closing source's own question: no need to save it
    Procs().AskJoinTalks(a, TalkChoice{QStringLiteral("Team")});
    EXPECT_FALSE(p.rig.conference->TalkExist(a));
    EXPECT_EQ(team.AllConferees(), (QStringList{kAnn, kBob, kCy}));
    EXPECT_EQ(team.Log(), before + QStringLiteral("\r\n") + Conversation::NormalizeLineEnds(sourceLog))
        << "one entry";
    ASSERT_EQ(p.prompts().size(), 3);
    EXPECT_TRUE(p.prompts()[2].startsWith(QStringLiteral("There are unsaved changes.")));
}

TEST(ConfereeProcedures, AddingThroughTheDialogRemembersTheEntries)
{
    ProcRig p;
    frmTalk& team = p.team({kAnn});
    frmTalk& mine = p.other();
    team.LastConfereeName = QStringLiteral("Old");
    mine.LastConfereeName = QStringLiteral("Dora");
    mine.LastConfereeAddress = QStringLiteral("+44");

    // An address Team holds: refused, the entries kept for the next Add.
    p.forms.answerWith<frmNewConf>([](frmNewConf& f) {
        EXPECT_EQ((QStringList{f.txtUserName->text(), f.txtPassword->text()}), (QStringList{"Dora", "+44"}));
        EXPECT_EQ((QStringList{f.Label1->text(), f.Label2->text()}), (QStringList{"(4/50)", "(3/50)"}));
        f.txtUserName->setText(QStringLiteral("  Annie "));
        f.txtPassword->setText(QStringLiteral(" +441111"));
        f.cmdOK->click();
    });
    Procs().AskAddConferee(&mine);
    ASSERT_EQ(p.forms.forms.size(), 1u);
    EXPECT_EQ(p.forms.forms[0].name, QStringLiteral("frmNewConf"));
    EXPECT_EQ(p.forms.forms[0].caption, QStringLiteral("Add Conferee to ") + mine.Caption());
    EXPECT_EQ(p.prompts(), QStringList{QStringLiteral("Conferee was not added because of:\r\n"
                                                      "The number +441111 is taking part in conference Team")});
    EXPECT_EQ(mine.LastConfereeName, QStringLiteral("Annie"));
    EXPECT_EQ(mine.LastConfereeAddress, QStringLiteral("+441111"));
    EXPECT_EQ(mine.ConfereesCount(), 0);

    p.answer(QStringLiteral("Annie"), QStringLiteral("+445555"));
    Procs().AskAddConferee(mine.SubWindow());
    EXPECT_EQ(mine.AllConferees(), QStringList{QStringLiteral("Annie <+445555>")});
    EXPECT_EQ(p.boxes().count(), 1u);

    // Cancelled: nothing added, nothing remembered.
    p.answer(QStringLiteral("Annie"), QStringLiteral("+446666"), false);
    Procs().AskAddConferee(&mine);
    EXPECT_EQ(mine.ConfereesCount(), 1);
    EXPECT_EQ(mine.LastConfereeAddress, QStringLiteral("+445555"));
}

TEST(ConfereeProcedures, EditingNeverLosesTheConferee)
{
    ProcRig p;
    frmTalk& team = p.team({kAnn, kCy});
    p.other({kBob});
    const QString file = p.rig.path(QStringLiteral("Team.plv"));
    struct Case { QString address; QString error; };
    // Another conversation's address is refused before anything is
    // removed; Team's own other address fails after the removal, and the
    // old conferee comes back.
    const Case cases[] = {{"+442222", "The number +442222 is taking part in conference Conference2"},
                          {"+443333", "The number +443333 is taking part in conference Team"}};
    for (const Case& c : cases) {
        p.boxes().clear();
        p.answer(QStringLiteral("Ann"), c.address);
        Procs().AskEditConferee(QStringLiteral("Team"), 0);
        EXPECT_EQ(p.prompts(), QStringList{QStringLiteral("Conferee was not edited because of:\r\n") + c.error});
        EXPECT_EQ(p.rig.conference->LocateConferee(QStringLiteral("+441111")), QStringLiteral("Team"));
        EXPECT_TRUE(team.AllConferees().contains(kAnn));
        EXPECT_TRUE(ConversationRig::bytes(file).contains("Ann <+441111>")) << c.address.toStdString();
    }
    EXPECT_EQ(p.forms.forms.back().caption, QStringLiteral("Edit Conferee from Team"));

    // A good edit replaces the line.
    p.boxes().clear();
    const qint32 at = qint32(team.AllConferees().indexOf(kCy));
    p.forms.answerWith<frmNewConf>([](frmNewConf& f) {
        EXPECT_EQ((QStringList{f.txtUserName->text(), f.txtPassword->text()}), (QStringList{"Cy", "+443333"}));
        f.txtUserName->setText(QStringLiteral("Cyril"));
        f.cmdOK->click();
    });
    Procs().AskEditConferee(QStringLiteral("Team"), at);
    EXPECT_EQ(p.boxes().count(), 0u);
    EXPECT_TRUE(team.AllConferees().contains(QStringLiteral("Cyril <+443333>")));
    EXPECT_TRUE(ConversationRig::bytes(file).contains("Cyril <+443333>"));

    // Entries past the typing limit stay whole; typing cannot take them further.
    const QString name = QString(60, QLatin1Char('n'));
    const QString address = QString(48, QLatin1Char('a')) + QStringLiteral("@example.org");
    p.fill(team, {name + QStringLiteral(" <") + address + QStringLiteral(">")});
    p.forms.answerWith<frmNewConf>([](frmNewConf& f) {
        f.txtUserName->insert(QStringLiteral("x"));
        f.txtPassword->backspace();
        f.txtPassword->insert(QStringLiteral("gx"));
        f.txtPassword->insert(QStringLiteral("g"));
        EXPECT_EQ(f.Label1->text(), QStringLiteral("(60/50)"));
        f.cmdOK->click();
    });
    Procs().AskEditConferee(QStringLiteral("Team"), qint32(team.AllConferees().size()) - 1);
    EXPECT_EQ(p.boxes().count(), 0u);
    EXPECT_EQ(team.AllConferees().last(), name + QStringLiteral(" <") + address + QStringLiteral(">"));

    // No conferees at all; a position past the list.
    frmTalk& empty = p.other();
    Procs().AskEditConferee(empty.Theme(), 0);
    Procs().AskEditConferee(QStringLiteral("Team"), 7);
    EXPECT_EQ(p.prompts(), (QStringList{QStringLiteral("There is no conferee to edit. To add a conferee go to "
                                                       "'Conferee->Add' menu item"),
                                        QStringLiteral("Conferee was not edited because of:\r\n"
                                                       "Invalid procedure call or argument (5)")}));
}

TEST(ConfereeProcedures, AddingFromThePhoneBooks)
{
    ProcRig p;
    frmTalk& team = p.team({kBob});
    frmTalk& mine = p.other();
    auto books = std::make_shared<corvane::BookRecords>();
    p.rig.client.app.globals().PhoneBooks = books;

    Procs().AddConfereesFromPhonebooks(&mine);
    EXPECT_EQ(p.prompts(), QStringList{QStringLiteral("Phonebooks have not been read from the phone.\r\n"
                                                      "To do that, choose 'Tools->Phonebook' from menu.")});
    EXPECT_EQ(p.boxes().last().style, platform::vbInformation);
    EXPECT_TRUE(p.forms.forms.empty());

    ASSERT_FALSE(books->ResolveBookLocations(QStringLiteral("+CPBS: (\"SM\",\"ME\")")).isValid());
    books->Add(1, books->GetSIMBook(), QStringLiteral("Ann"), QStringLiteral("+441111"));
    books->Add(1, books->GetPhoneBook(), QStringLiteral("Bob"), QStringLiteral("+442222"));
    books->setFilled(true);
    for (const bool ok : {false, true}) {
        p.boxes().clear();
        p.forms.answerWith<frmConf>([ok](frmConf& f) {
            f.Combo1->setCurrentIndex(2);
            for (int row : {0, 1}) {
                f.List1->setCurrentRow(row);
                f.Command1->click();
            }
            (ok ? f.Command6 : f.Command7)->click();
        });
        Procs().AddConfereesFromPhonebooks(mine.SubWindow());
        EXPECT_EQ(p.forms.forms.back().caption, QStringLiteral("Select Conferees for ") + mine.Caption());
        EXPECT_EQ(mine.AllConferees(), ok ? QStringList{kAnn} : QStringList());
        EXPECT_EQ(p.prompts(), ok ? QStringList{QStringLiteral("While adding, some error(s) occurred: \r\nThe number "
                                                               "+442222 is taking part in conference Team")}
                                  : QStringList());
    }
    EXPECT_EQ(team.AllConferees(), QStringList{kBob});
}
