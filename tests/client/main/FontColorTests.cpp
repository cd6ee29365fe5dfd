// The font and colour procedures on a real control, with the dialogs and the
// character-set form answered through the hooks.
#include "client/core/WindowSeams.h"
#include "client/core/ui/frmCharSet.h"
#include "client/main/ui/FontColorProcedures.h"
#include "platform/ui/Dialogs.h"
#include "support/ui/DialogRecorder.h"
#include "support/ui/MessageBoxRecorder.h"
#include "support/ui/ModalFormRecorder.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace parlova;
using platform::FontSpec;

namespace {

// A window that stores its controls' styles, counting what it was asked.
class StyledWindow : public QWidget, public FormatOwner {
public:
    StyledWindow()
    {
        // The control sits deeper than the window's own children.
        (new QVBoxLayout(this))->addWidget(inner);
        platform::SetWidgetFont(box, Started());
    }
    QString SaveFont(QWidget*) override { return ++fonts, fontError; }
    QString SaveCharset(QWidget*) override { return ++charsets, charsetError; }
    QString SaveColor(QWidget*) override { return ++colors, QString(); }
    QString Theme() const override { return QStringLiteral("Team"); }

    static FontSpec Started() { return {QStringLiteral("Start Face"), 0, 9, false, true, false, true}; }

    QWidget* inner = new QWidget(this);
    QTextEdit* box = new QTextEdit(inner);
    int fonts = 0, charsets = 0, colors = 0;
    QString fontError, charsetError;
};

platform::FontDialogAnswer Chosen()
{
    return {{QStringLiteral("Chosen Face"), 0, 14, true, false, true, false}, 0x0000FF};
}

void PickAndConfirm(frmCharSet& form, const QString& entry)
{
    form.Combo1->setCurrentIndex(form.Combo1->findText(entry));
    form.cmdOK->click();
}

}  // namespace

TEST(ChooseFont, TheChoiceLandsInTheControlAndTheWindowStoresFontThenSet)
{
    StyledWindow window;
    platform::SetWidgetForeColor(window.box, qint32(0x80000008u));
    platform::DialogRecorder dialogs;
    platform::MessageBoxRecorder boxes;
    platform::ModalFormRecorder forms;
    dialogs.answerFont(Chosen());
    FontSpec sample;
    QString listedAt;
    bool hourglassGone = false;
    forms.answerWith<frmCharSet>([&](frmCharSet& form) {
        hourglassGone = QApplication::overrideCursor() == nullptr;
        sample = platform::WidgetFont(form.Text1);
        listedAt = form.Combo1->currentText();
        PickAndConfirm(form, QStringLiteral("Russian"));
    });

    ChooseFont(window.box);

    ASSERT_EQ(dialogs.fonts.size(), 1u);
    EXPECT_EQ(dialogs.fonts[0].font, StyledWindow::Started()) << "the request starts from the control";
    EXPECT_EQ(dialogs.fonts[0].color, qint32(0x80000008u));
    FontSpec expected = Chosen().font;
    expected.charset = 204;
    EXPECT_EQ(platform::WidgetFont(window.box), expected);
    EXPECT_EQ(platform::WidgetForeColor(window.box), 0x0000FF);
    EXPECT_EQ(window.fonts, 1);
    EXPECT_EQ(window.charsets, 1);
    EXPECT_EQ(window.colors, 0);
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(forms.forms.size(), 1u);
    EXPECT_EQ(sample.name, QStringLiteral("Chosen Face")) << "the sample shows the chosen face and size";
    EXPECT_EQ(sample.size, 14);
    EXPECT_EQ(listedAt, QStringLiteral("ANSI")) << "the list starts at the control's set";
    EXPECT_TRUE(hourglassGone);
}

TEST(ChooseFont, CancelledDialogsAndFailedSaves)
{
    struct Case {
        const char* name;
        bool fontCancelled;
        QString fontError;
        bool charsetConfirmed;
        int fonts, charsets, forms;
        QString box;  // empty: no box
        qint32 charset;
    };
    const Case cases[] = {
        {"font dialog cancelled", true, {}, false, 0, 0, 0, {}, 0},
        {"set dialog cancelled", false, {}, false, 1, 0, 1, {}, 0},
        {"font not stored", false, QStringLiteral("x"), true, 1, 0, 0, QStringLiteral("x"), 0},
        {"set not stored", false, {}, true, 1, 1, 1, QStringLiteral("y"), 161},
    };
    for (const Case& c : cases) {
        StyledWindow window;
        window.fontError = c.fontError;
        window.charsetError = QStringLiteral("y");
        platform::DialogRecorder dialogs;
        platform::MessageBoxRecorder boxes;
        platform::ModalFormRecorder forms;
        dialogs.answerFont(c.fontCancelled ? std::nullopt : std::optional(Chosen()));
        forms.answerWith<frmCharSet>([&](frmCharSet& form) {
            if (c.charsetConfirmed)
                PickAndConfirm(form, QStringLiteral("Greek"));
            else
                form.cmdCancel->click();
        });

        ChooseFont(window.box);

        EXPECT_EQ(window.fonts, c.fonts) << c.name;
        EXPECT_EQ(window.charsets, c.charsets) << c.name;
        EXPECT_EQ(int(forms.forms.size()), c.forms) << c.name;
        EXPECT_EQ(platform::WidgetFont(window.box).charset, c.charset) << c.name;
        EXPECT_EQ(platform::WidgetFont(window.box).name, (c.fontCancelled ? StyledWindow::Started() : Chosen().font).name)
            << c.name;
        ASSERT_EQ(boxes.count(), c.box.isEmpty() ? 0u : 1u) << c.name;
        if (!c.box.isEmpty()) {
            EXPECT_EQ(boxes.last().prompt, c.box);
            EXPECT_EQ(boxes.last().style, 48);
            EXPECT_EQ(boxes.last().title, QStringLiteral("Team"));
        }
    }
}

TEST(ChooseFont, APlainWindowKeepsTheChoiceInTheControl)
{
    QWidget window;
    auto* box = new QTextEdit(&window);
    platform::DialogRecorder dialogs;
    platform::MessageBoxRecorder boxes;
    platform::ModalFormRecorder forms;
    dialogs.answerFont(Chosen());
    forms.answerWith<frmCharSet>([](frmCharSet& form) { PickAndConfirm(form, QStringLiteral("Baltic")); });
    ChooseFont(box);
    dialogs.answerColor(0x00112233);
    ChooseColor(box);
    EXPECT_EQ(platform::WidgetFont(box).name, QStringLiteral("Chosen Face"));
    EXPECT_EQ(platform::WidgetFont(box).charset, 186);
    EXPECT_EQ(platform::WidgetBackColor(box), 0x00112233);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(ChooseFont, AControlUnloadedWhileADialogIsOpenIsLeftAlone)
{
    platform::MessageBoxRecorder boxes;
    platform::ModalFormRecorder forms;
    // The host owns the dialogs, as the main window does; the styled window
    // inside it goes while one is open.
    QWidget host;
    QPointer<StyledWindow> window;
    const auto load = [&] {
        window = new StyledWindow;
        window->setParent(&host);
    };
    platform::DialogHooks hooks;
    hooks.font = [&](const platform::FontDialogRequest&) {
        delete window.data();
        return std::optional(Chosen());
    };
    hooks.color = [&](const platform::ColorDialogRequest&) {
        delete window.data();
        return std::optional<qint32>(0x123456);
    };
    const platform::DialogHooks previous = platform::SetDialogHooks(hooks);
    load();
    ChooseFont(window->box);
    EXPECT_TRUE(forms.forms.empty()) << "gone during the font dialog";
    load();
    ChooseColor(window->box);
    platform::SetDialogHooks(previous);

    platform::DialogRecorder dialogs;
    dialogs.answerFont(Chosen());
    forms.answerWith<frmCharSet>([&](frmCharSet& form) {
        delete window.data();
        PickAndConfirm(form, QStringLiteral("Greek"));
    });
    load();
    ChooseFont(window->box);
    EXPECT_EQ(forms.forms.size(), 1u) << "gone during the set dialog";
    EXPECT_TRUE(host.findChildren<frmCharSet*>().isEmpty()) << "the form is freed";
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(ChooseColor, StartsFromTheBackgroundAndStoresTheChoice)
{
    StyledWindow window;
    platform::SetWidgetBackColor(window.box, qint32(0x80000005u));
    platform::DialogRecorder dialogs;
    dialogs.answerColor(std::nullopt);
    ChooseColor(window.box);
    EXPECT_EQ(window.colors, 0) << "cancelled";
    EXPECT_EQ(platform::WidgetBackColor(window.box), qint32(0x80000005u));

    dialogs.answerColor(0x00336699);
    ChooseColor(window.box);
    ASSERT_EQ(dialogs.colors.size(), 2u);
    EXPECT_EQ(dialogs.colors[0].color, qint32(0x80000005u)) << "a system colour stays one";
    EXPECT_EQ(platform::WidgetBackColor(window.box), 0x00336699);
    EXPECT_EQ(window.colors, 1);
    EXPECT_EQ(window.fonts, 0);
}
