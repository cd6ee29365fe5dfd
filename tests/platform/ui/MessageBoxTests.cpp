#include "support/ui/RecordingDesktopService.h"
#include "support/ui/MessageBoxRecorder.h"
#include "platform/Timer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace platform;

TEST(MessageBox, StylesGiveTheRuntimesButtonsAndAnswers)
{
    struct Case {
        int style;
        std::vector<int> answers;
        int byDefault;
        int escape;
    };
    const Case cases[] = {
        {vbOKOnly, {vbOK}, vbOK, vbOK},
        {vbOKCancel, {vbOK, vbCancel}, vbOK, vbCancel},
        {vbOKCancel + vbDefaultButton2, {vbOK, vbCancel}, vbCancel, vbCancel},
        {vbAbortRetryIgnore, {vbAbort, vbRetry, vbIgnore}, vbAbort, 0},
        {vbAbortRetryIgnore + vbDefaultButton3, {vbAbort, vbRetry, vbIgnore}, vbIgnore, 0},
        {vbYesNoCancel + vbDefaultButton3, {vbYes, vbNo, vbCancel}, vbCancel, vbCancel},
        {vbYesNo, {vbYes, vbNo}, vbYes, 0},
        {36, {vbYes, vbNo}, vbYes, 0},       // question, Yes and No
        {308, {vbYes, vbNo}, vbNo, 0},       // exclamation, Yes and No, No the default
        {49, {vbOK, vbCancel}, vbOK, vbCancel},
        {vbRetryCancel, {vbRetry, vbCancel}, vbRetry, vbCancel},
        {16400, {vbOK}, vbOK, vbOK},         // critical with a Help button
        {vbOKOnly + vbDefaultButton3, {vbOK}, vbOK, vbOK},  // no third button: the first
        {6, {vbOK}, vbOK, vbOK},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StyleAnswers(c.style), c.answers) << c.style;
        EXPECT_EQ(DefaultAnswer(c.style), c.byDefault) << c.style;
        EXPECT_EQ(EscapeAnswer(c.style), c.escape) << c.style;
    }
}

TEST(MessageBox, LineBreaksOfEveryKindBreakLines)
{
    EXPECT_EQ(MessageBoxText(QStringLiteral("a\r\nb\rc\nd\r\n\r\ne")), "a\nb\nc\nd\n\ne");
}

TEST(MessageBox, TheRecorderAnswersAndRecordsEveryBox)
{
    MessageBoxRecorder boxes;
    boxes.answer(vbNo);
    boxes.answer(vbYes);  // a Yes the next box cannot give
    EXPECT_EQ(msgBox(QStringLiteral("Delete <Ann>?"), 36, QStringLiteral("Team"), 33000), vbNo);
    EXPECT_EQ(msgBox(QStringLiteral("Done"), vbInformation), vbOK);
    EXPECT_EQ(msgBox(QStringLiteral("Go on?"), 308), vbNo) << "nothing queued: the default button";
    ASSERT_EQ(boxes.count(), 3u);
    EXPECT_EQ(boxes.boxes()[0].prompt, "Delete <Ann>?");
    EXPECT_EQ(boxes.boxes()[0].style, 36);
    EXPECT_EQ(boxes.boxes()[0].title, "Team");
    EXPECT_EQ(boxes.boxes()[0].helpContext, 33000);
    EXPECT_EQ(boxes.boxes()[1].title, QApplication::applicationDisplayName()) << "no title: the program's";
    EXPECT_EQ(boxes.last().style, 308);

    {
        MessageBoxRecorder inner;
        msgBox(QStringLiteral("inner"));
        EXPECT_EQ(inner.count(), 1u);
    }
    msgBox(QStringLiteral("outer again"));
    EXPECT_EQ(boxes.count(), 4u) << "the outer recorder is back";
}

TEST(MessageBox, AnUnansweredBoxInATestNeverWaits)
{
    ASSERT_TRUE(TimersInert());
    EXPECT_EQ(msgBox(QStringLiteral("Nobody answers"), vbYesNo + vbDefaultButton2), vbNo);
}

namespace {

// Drives the real box from inside its own event loop: each step runs once a
// box is up, then the next is posted. Whatever happens, the last resort
// closes the box, so the test cannot hang.
class BoxDriver {
public:
    using Step = std::function<void(QMessageBox*)>;
    explicit BoxDriver(std::vector<Step> steps) : steps_(std::move(steps)) { post(); }

    int polls = 0;

private:
    void post()
    {
        // Tied to the driver, so nothing fires once the test is over.
        QTimer::singleShot(0, &context_, [this] { poll(); });
    }
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            if (++polls < 10000 && next_ < steps_.size())
                post();
            return;
        }
        if (next_ < steps_.size()) {
            steps_[next_++](box);
            post();
        } else {
            box->done(0);
        }
    }

    QObject context_;
    std::vector<Step> steps_;
    size_t next_ = 0;
};

// Real boxes only show while timers are live, as in the program.
class LiveBoxes {
public:
    LiveBoxes() { SetTimersInert(false); }
    ~LiveBoxes() { SetTimersInert(true); }
};

void PressEscape(QMessageBox* box)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &press);
}

}  // namespace

TEST(MessageBox, ARealYesNoBoxIgnoresEscapeAndShowsPlainText)
{
    const LiveBoxes live;
    bool stillUp = false;
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString defaultButton;
    int buttons = 0;
    BoxDriver driver({
        [&](QMessageBox* box) {
            shown = box->text();
            format = box->textFormat();
            icon = box->icon();
            buttons = int(box->buttons().size());
            defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            PressEscape(box);
            box->close();
        },
        [&](QMessageBox* box) {
            stillUp = box->isVisible();
            box->button(QMessageBox::Yes)->click();
        },
    });
    const int answer = msgBox(QStringLiteral("Remove <b>Ann</b> <+491701234567>?\r\nIt cannot be undone."), 308,
                              QStringLiteral("Team"));
    EXPECT_EQ(answer, vbYes);
    EXPECT_TRUE(stillUp) << "Escape and closing do not answer a Yes/No box";
    EXPECT_EQ(shown, "Remove <b>Ann</b> <+491701234567>?\nIt cannot be undone.");
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, 2);
    EXPECT_EQ(defaultButton, QMessageBox().addButton(QMessageBox::No)->text());
}

TEST(MessageBox, EscapeCancelsARealOKCancelBox)
{
    const LiveBoxes live;
    BoxDriver driver({[](QMessageBox* box) { PressEscape(box); }});
    EXPECT_EQ(msgBox(QStringLiteral("Data would be lost"), 49), vbCancel);
}

TEST(MessageBox, TheHelpButtonShowsHelpAndLeavesTheBoxOpen)
{
    const LiveBoxes live;
    RecordingDesktopService desktop;
    QAbstractButton* help = nullptr;
    bool helpShown = false;
    BoxDriver driver({
        [&](QMessageBox* box) {
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == QMessageBox::HelpRole)
                    help = b;
            if (help)
                help->click();
        },
        [&](QMessageBox* box) {
            helpShown = !desktop.calls.empty();
            box->button(QMessageBox::Ok)->click();
        },
    });
    EXPECT_EQ(msgBox(QStringLiteral("Your phone (modem) does not answer."), 16400, QString(), 42000), vbOK);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(helpShown);
    ASSERT_EQ(desktop.calls.size(), 1u);
    EXPECT_EQ(desktop.calls[0].kind, RecordingDesktopService::Kind::Help);
    EXPECT_EQ(desktop.calls[0].context, 42000);
}

TEST(MessageBox, ABoxWhoseOwnerGoesAwayMeanwhileGivesTheDefaultAnswer)
{
    // A window can be unloaded by a timer while a box over it is up; the
    // box goes with it and the caller still gets an answer.
    const LiveBoxes live;
    auto* owner = new QWidget;
    owner->show();
    BoxDriver driver({[&](QMessageBox*) { delete owner; }});
    EXPECT_EQ(msgBox(QStringLiteral("Remove Ann?"), vbYesNo + vbDefaultButton2, QStringLiteral("Team"), 0, owner), vbNo);
}

TEST(DesktopService, HelpContextsMapOntoPages)
{
    const std::pair<int, const char*> pages[] = {
        {0, "index.html"},
        {21000, "main-window.html"},
        {33000, "conversation-window.html"},
        {34000, "phone-book-window.html"},
        {34500, "message-store-window.html"},
        {35100, "options-general.html"},
        {35500, "options-view.html"},
        {42000, "connecting.html"},
        {12345, "index.html"},
    };
    for (auto [context, page] : pages)
        EXPECT_EQ(HelpPage(context), QString::fromLatin1(page)) << context;

    // Without the pages nothing is opened.
    QTemporaryDir empty;
    const QString before = HelpFolder();
    SetHelpFolder(empty.path());
    DesktopService real;
    EXPECT_FALSE(real.ShowHelp(21000));
    SetHelpFolder(before);
}
