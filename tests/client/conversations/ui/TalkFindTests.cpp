// Finding text in the conversations' logs through the find dialog and Find
// Next, over real conversation windows in an MDI area: the order of a
// region, case, overlapping matches, new regions, and the ways a search
// ends.
#include "client/support/ConversationRig.h"

#include "client/conversations/TalkFinder.h"
#include "client/conversations/ui/TalkMenus.h"
#include "client/conversations/ui/frmFind.h"
#include "client/conversations/ui/frmTalk.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using clienttest::ConversationRig;
using parlova::frmFind;
using parlova::frmTalk;

namespace {

const QString kSearched = QStringLiteral("The specified region have been searched");

struct FindRig {
    QMdiArea area;
    ConversationRig rig{[this] { return frmTalk::Create(&area); }};
    std::vector<frmTalk*> talks;

    // Conversations whose logs read "\n" followed by each text.
    explicit FindRig(const QStringList& logs)
    {
        frmFind::Install(rig.client.app.procedures());
        area.resize(1000, 800);
        area.show();
        for (const QString& log : logs) {
            auto& talk = dynamic_cast<frmTalk&>(rig.open());
            talk.Log(2, log);
            talks.push_back(&talk);
        }
        activate(0);
    }
    ~FindRig() { delete frmFind::Instance(); }
    void activate(int talk) { area.setActiveSubWindow(talks[talk]->SubWindow()); }
    void caret(int talk, int position)
    {
        QTextCursor c = talks[talk]->Text5->textCursor();
        c.setPosition(position);
        talks[talk]->Text5->setTextCursor(c);
    }
    // The dialog for the active conversation with the text and choices.
    frmFind& dialog(const QString& text, bool down = true, bool all = false, bool matchCase = false)
    {
        parlova::Procs().StartFind();
        frmFind* d = frmFind::Instance();
        EXPECT_NE(d, nullptr);
        d->Text1->setText(text);
        d->optDirection[down ? 1 : 0]->click();
        if (d->chkAllConf->isChecked() != all)
            d->chkAllConf->click();
        if (d->chkCase->isChecked() != matchCase)
            d->chkCase->click();
        return *d;
    }
    // "talk:start" of the match that Find selects, or the box's text.
    QString find()
    {
        const size_t boxes = rig.client.boxes.count();
        frmFind::Instance()->cmdFind->click();
        return rig.client.boxes.count() > boxes ? rig.client.boxes.last().prompt : selection();
    }
    QString selection()
    {
        for (size_t i = 0; i < talks.size(); ++i)
            if (area.currentSubWindow() == talks[i]->SubWindow()) {
                const QTextCursor c = talks[i]->Text5->textCursor();
                return QStringLiteral("%1:%2").arg(i).arg(c.selectionStart());
            }
        return QStringLiteral("none");
    }
    QStringList finds(int n)
    {
        QStringList out;
        for (int i = 0; i < n; ++i)
            out << find();
        return out;
    }
};

}  // namespace

TEST(TalkFind, SearchesTheRegionInOrderDownAndUp)
{
    // "cat" at 1, 7 and 13 of the first log, at 1 of the second and the third.
    FindRig f({QStringLiteral("cat a cat b cat"), QStringLiteral("cat"), QStringLiteral("cat")});
    struct Case { bool down; QStringList order; } cases[] = {
        // From the caret inside the second "cat": the third, then the one
        // before the caret and the one across it, then the others.
        // After the region a new one starts in the window of the last match.
        {true, {"0:13", "0:1", "0:7", "1:1", "2:1", kSearched, "2:1"}},
        {false, {"0:1", "0:13", "0:7", "2:1", "1:1", kSearched, "1:1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.down ? "down" : "up");
        f.activate(0);
        f.caret(0, 8);
        f.dialog(QStringLiteral("CAT"), c.down, true);
        EXPECT_EQ(f.finds(int(c.order.size())), c.order);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    // The active conversation only.
    f.activate(1);
    f.dialog(QStringLiteral("cat"), true, false);
    EXPECT_EQ(f.finds(3), (QStringList{"1:1", kSearched, "1:1"}));
}

TEST(TalkFind, CaseOverlapsAndNewRegions)
{
    FindRig f({QStringLiteral("hello aaa"), QStringLiteral("xyz")});
    f.caret(0, 0);
    f.dialog(QStringLiteral("Hello"));
    EXPECT_EQ(f.find(), QStringLiteral("0:1"));
    f.dialog(QStringLiteral("Hello"), true, false, true);
    EXPECT_EQ(f.find(), kSearched);
    // Both overlapping occurrences, either way.
    f.caret(0, 0);
    f.dialog(QStringLiteral("aa"), true);
    EXPECT_EQ(f.finds(3), (QStringList{"0:7", "0:8", kSearched}));
    f.dialog(QStringLiteral("aa"), false);
    f.caret(0, 10);
    EXPECT_EQ(f.finds(3), (QStringList{"0:8", "0:7", kSearched}));

    // A text change starts a new region at the caret: the search goes on
    // from there, not from the last match.
    frmFind& d = f.dialog(QStringLiteral("a"), true);
    f.caret(0, 0);
    EXPECT_EQ(f.find(), QStringLiteral("0:7"));
    f.caret(0, 9);
    d.Text1->setText(QStringLiteral("aa"));
    EXPECT_EQ(parlova::G().FindStartPosition, 9);
    EXPECT_TRUE(parlova::G().FindNewSearch);
    EXPECT_EQ(f.find(), QStringLiteral("0:7"));  // after wrapping: nothing at or after 9
    // So does ticking All Open Conferences.
    d.chkAllConf->click();
    EXPECT_TRUE(parlova::G().FindNewSearch);

    // An empty text keeps Find disabled; Cancel keeps the choices.
    d.Text1->clear();
    EXPECT_FALSE(d.cmdFind->isEnabled());
    d.Text1->setText(QStringLiteral("xyz"));
    EXPECT_TRUE(d.cmdFind->isEnabled());
    d.cmdcancel->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmFind::Instance(), nullptr);
    EXPECT_EQ(parlova::G().FindText, QStringLiteral("xyz"));
    f.caret(0, 0);
    parlova::Procs().StartFind();
    ASSERT_NE(frmFind::Instance(), nullptr);
    EXPECT_EQ(frmFind::Instance()->Text1->text(), QStringLiteral("xyz"));
    EXPECT_TRUE(frmFind::Instance()->chkAllConf->isChecked());
}

TEST(TalkFind, EndsSoundlyWithoutAConversationOrWhenOneCloses)
{
    FindRig f({QStringLiteral("ab"), QStringLiteral("ab"), QStringLiteral("ab")});
    f.dialog(QStringLiteral("ab"), true, true);
    EXPECT_EQ(f.find(), QStringLiteral("0:1"));
    // The next conversation of the region closes: the search ends
    // silently, and the next one starts a new region.
    f.talks[1]->Discard();
    f.talks.erase(f.talks.begin() + 1);
    const size_t boxes = f.rig.client.boxes.count();
    frmFind::Instance()->cmdFind->click();
    EXPECT_EQ(f.rig.client.boxes.count(), boxes);
    EXPECT_TRUE(parlova::G().FindNewSearch);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    f.activate(0);
    EXPECT_EQ(f.find(), QStringLiteral("0:1"));

    // With another child active, neither the dialog nor Find searches.
    QMdiSubWindow* other = f.area.addSubWindow(new QWidget);
    other->show();
    f.area.setActiveSubWindow(other);
    const QString noWindow = QStringLiteral("A conference window must be active to start searching");
    EXPECT_EQ(f.find(), noWindow);
    delete frmFind::Instance();
    f.rig.client.boxes.clear();
    parlova::Procs().StartFind();
    EXPECT_EQ(frmFind::Instance(), nullptr);
    EXPECT_EQ(f.rig.boxTexts(), QStringList{noWindow});
    EXPECT_EQ(f.rig.client.boxes.last().style, platform::vbExclamation);
}

TEST(TalkFind, FindNextOfTheWindowTakesTheCaretOnlyInTheFocusedLog)
{
    FindRig f({QStringLiteral("cat a cat b cat")});
    struct Case {
        bool logFocused;
        bool down;
        const char* found;
    } cases[] = {{false, true, "0:1"}, {true, true, "0:13"}, {false, false, "0:13"}, {true, false, "0:1"}};
    for (const Case& c : cases) {
        parlova::Globals& g = parlova::G();
        g.FindText = QStringLiteral("cat");
        g.FindDirection = c.down ? 1 : 0;
        g.FindNewSearch = true;
        f.caret(0, 8);
        (c.logFocused ? f.talks[0]->Text5 : f.talks[0]->Text4)->setFocus();
        f.talks[0]->MenuSet().Item(QStringLiteral("mnuTalkFindNext"))->trigger();
        EXPECT_EQ(f.selection(), QString::fromLatin1(c.found)) << c.logFocused << c.down;
    }
}
