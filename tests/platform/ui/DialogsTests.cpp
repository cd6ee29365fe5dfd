#include "platform/ui/Dialogs.h"
#include "platform/ui/FontColorDialog.h"
#include "platform/ui/InputBox.h"
#include "platform/Timer.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

using namespace platform;

TEST(Colors, OleValuesAreBlueGreenRed)
{
    const std::pair<qint32, QColor> cases[] = {
        {0x00000000, QColor(0, 0, 0)},
        {0x000000FF, QColor(255, 0, 0)},
        {0x0000FF00, QColor(0, 255, 0)},
        {0x00FF0000, QColor(0, 0, 255)},
        {0x00332211, QColor(0x11, 0x22, 0x33)},
        {0x00FFFFFF, QColor(255, 255, 255)},
    };
    for (const auto& [ole, color] : cases) {
        EXPECT_EQ(OleToColor(ole), color) << ole;
        EXPECT_EQ(ColorToOle(color), ole) << ole;
        EXPECT_FALSE(IsSystemColor(ole));
    }
}

TEST(Colors, SystemColoursAreResolvedAgainstThePalette)
{
    QPalette p;
    p.setColor(QPalette::Active, QPalette::Text, QColor(1, 2, 3));
    p.setColor(QPalette::Active, QPalette::Base, QColor(4, 5, 6));
    p.setColor(QPalette::Active, QPalette::Highlight, QColor(7, 8, 9));
    EXPECT_TRUE(IsSystemColor(qint32(0x80000008u)));
    EXPECT_EQ(OleToColor(qint32(0x80000008u), p), QColor(1, 2, 3));  // window text
    EXPECT_EQ(OleToColor(qint32(0x80000005u), p), QColor(4, 5, 6));  // window background
    EXPECT_EQ(OleToColor(qint32(0x8000000Du), p), QColor(7, 8, 9));  // highlight
}

TEST(Colors, AWidgetKeepsTheValueItWasGiven)
{
    QListWidget list;
    EXPECT_EQ(WidgetBackColor(&list), ColorToOle(list.palette().color(QPalette::Base))) << "never set: its colour";
    SetWidgetForeColor(&list, qint32(0x80000008u));
    SetWidgetBackColor(&list, 0x00112233);
    EXPECT_EQ(WidgetForeColor(&list), qint32(0x80000008u)) << "a system colour reads back as itself";
    EXPECT_EQ(WidgetBackColor(&list), 0x00112233);
    EXPECT_EQ(list.palette().color(QPalette::Text), QApplication::palette().color(QPalette::Active, QPalette::Text));
    EXPECT_EQ(list.palette().color(QPalette::Base), QColor(0x33, 0x22, 0x11));
}

TEST(Colors, ASystemColourFollowsTheDesktopsPalette)
{
    const QPalette before = QApplication::palette();
    QListWidget list;
    SetWidgetForeColor(&list, qint32(0x80000008u));
    SetWidgetBackColor(&list, 0x00112233);
    QPalette changed = before;
    changed.setColor(QPalette::Text, QColor(10, 20, 30));
    changed.setColor(QPalette::Base, QColor(40, 50, 60));
    QApplication::setPalette(changed);
    // Qt tells the widgets only once its event loop runs; tell this one as it would.
    QEvent paletteChange(QEvent::ApplicationPaletteChange);
    QCoreApplication::sendEvent(&list, &paletteChange);
    const QColor text = list.palette().color(QPalette::Text);
    const QColor base = list.palette().color(QPalette::Base);
    QApplication::setPalette(before);
    EXPECT_EQ(text, QColor(10, 20, 30));
    EXPECT_EQ(base, QColor(0x33, 0x22, 0x11)) << "a fixed colour stays";
    EXPECT_EQ(WidgetForeColor(&list), qint32(0x80000008u));
}

TEST(Fonts, AWidgetCarriesEveryPartOfTheFont)
{
    QLineEdit box;
    const FontSpec font{QStringLiteral("DejaVu Sans"), 204, 13.5, true, true, true, true};
    SetWidgetFont(&box, font);
    EXPECT_EQ(WidgetFont(&box), font);

    // An empty name and a size of 0 keep what the widget had.
    SetWidgetFont(&box, FontSpec{QString(), 0, 0, false, false, true, false});
    const FontSpec kept = WidgetFont(&box);
    EXPECT_EQ(kept.name, "DejaVu Sans");
    EXPECT_EQ(kept.size, 13.5);
    EXPECT_EQ(kept.charset, 0);
    EXPECT_FALSE(kept.bold);
    EXPECT_TRUE(kept.strikethrough);
}

TEST(FileDialog, FiltersBecomeQtFilters)
{
    EXPECT_EQ(QtFileFilter(QStringLiteral("Talk files|*.plv|All files|*.*")), "Talk files (*.plv);;All files (*.*)");
    EXPECT_EQ(QtFileFilter(QStringLiteral("Talks (*.plv)|*.plv")), "Talks (*.plv)") << "not given twice";
    EXPECT_EQ(QtFileFilter(QStringLiteral("Text (*.txt)|*.txt;*.log")), "Text (*.txt) (*.txt *.log)");
    EXPECT_EQ(QtFileFilter(QString()), "");
}

TEST(Dialogs, UnansweredDialogsInATestCancelAtOnce)
{
    ASSERT_TRUE(TimersInert());
    EXPECT_EQ(GetFileName(FileDialogRequest{}), std::nullopt);
    EXPECT_EQ(ChooseFolder(FolderDialogRequest{}), std::nullopt);
    EXPECT_EQ(ChooseFontDialog(FontDialogRequest{}), std::nullopt);
    EXPECT_EQ(ChooseColorDialog(ColorDialogRequest{}), std::nullopt);
    EXPECT_EQ(InputBox(QStringLiteral("Name?")), std::nullopt);
}

TEST(FileDialog, ADialogWhoseOwnerGoesAwayMeanwhileCancels)
{
    // A window can be unloaded by a timer while a dialog over it is up; the
    // dialog goes with it and the caller sees a cancel.
    SetTimersInert(false);
    auto* owner = new QWidget;
    owner->show();
    QObject context;
    int polls = 0;
    std::function<void()> poll = [&] {
        if (qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            delete owner;
        else if (++polls < 10000)
            QTimer::singleShot(0, &context, poll);
    };
    QTimer::singleShot(0, &context, poll);
    FileDialogRequest r;
    r.title = QStringLiteral("Open");
    r.owner = owner;
    EXPECT_EQ(GetFileName(r), std::nullopt);
    SetTimersInert(true);
}

TEST(FileDialog, ANameWithItsOwnFolderStartsThere)
{
    QTemporaryDir start, other;
    SetInitialFolder(start.path());
    SetTimersInert(false);
    QObject context;
    int polls = 0;
    QString shownFolder, shownName;
    std::function<void()> poll = [&] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            shownFolder = d->directory().absolutePath();
            shownName = d->selectedFiles().value(0);
            d->reject();
        } else if (++polls < 10000) {
            QTimer::singleShot(0, &context, poll);
        }
    };
    QTimer::singleShot(0, &context, poll);
    FileDialogRequest r;
    r.save = true;
    r.fileName = other.path() + QStringLiteral("/Team.plv");
    EXPECT_EQ(GetFileName(r), std::nullopt);
    EXPECT_EQ(shownFolder, QDir(other.path()).absolutePath());
    EXPECT_EQ(shownName, r.fileName);

    polls = 0;
    QTimer::singleShot(0, &context, poll);
    r.fileName = QStringLiteral("Team.plv");  // a bare name starts in the common dialog's folder
    EXPECT_EQ(GetFileName(r), std::nullopt);
    EXPECT_EQ(shownFolder, QDir(start.path()).absolutePath());
    SetTimersInert(true);
    SetInitialFolder(QString());
}

namespace {

// Runs `step` on the first modal dialog that comes up, from inside its own
// event loop; gives up after a while, so a test cannot hang.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(QDialog*)> step) : step_(std::move(step))
    {
        SetTimersInert(false);
        post();
    }
    ~DialogDriver() { SetTimersInert(true); }

private:
    void post() { QTimer::singleShot(0, &context_, [this] { poll(); }); }
    void poll()
    {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            step_(d);
        else if (++polls_ < 10000)
            post();
    }
    QObject context_;
    std::function<void(QDialog*)> step_;
    int polls_ = 0;
};

}  // namespace

TEST(Dialogs, FolderFontAndColourDialogsAnswerAndSurviveTheirOwnerGoingAway)
{
    QTemporaryDir folder;
    {
        DialogDriver driver([&](QDialog* d) {
            static_cast<QFileDialog*>(d)->selectFile(folder.path());
            d->accept();
        });
        FolderDialogRequest r;
        r.initialFolder = folder.path();
        EXPECT_EQ(ChooseFolder(r).value_or(QString()), QDir(folder.path()).absolutePath());
    }
    {
        QFont chosen = QApplication::font();
        chosen.setPointSize(17);
        chosen.setStrikeOut(true);
        DialogDriver driver([&](QDialog* d) {
            auto* dialog = qobject_cast<FontColorDialog*>(d);
            ASSERT_NE(dialog, nullptr);
            dialog->fontPane()->setCurrentFont(chosen);
            d->accept();
        });
        FontDialogRequest r;
        r.font.charset = 204;
        const std::optional<FontDialogAnswer> a = ChooseFontDialog(r);
        ASSERT_TRUE(a.has_value());
        EXPECT_EQ(a->font.size, 17);
        EXPECT_TRUE(a->font.strikethrough);
        EXPECT_EQ(a->font.charset, 204) << "kept from the request";
    }
    {
        DialogDriver driver([&](QDialog* d) {
            static_cast<QColorDialog*>(d)->setCurrentColor(QColor(0x12, 0x34, 0x56));
            d->accept();
        });
        EXPECT_EQ(ChooseColorDialog(ColorDialogRequest{}), std::optional<qint32>(0x563412));
    }

    // A window can be unloaded by a timer while a dialog over it is up; the
    // dialog goes with it and the caller sees a cancel.
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        auto* owner = new QWidget;
        owner->show();
        DialogDriver driver([&](QDialog*) { delete owner; });
        if (kind == 0) {
            EXPECT_EQ(ChooseFolder({QString(), QString(), owner}), std::nullopt);
        } else if (kind == 1) {
            EXPECT_FALSE(ChooseFontDialog({FontSpec{}, 0, owner}).has_value());
        } else {
            EXPECT_EQ(ChooseColorDialog({0, owner}), std::nullopt);
        }
    }
}
