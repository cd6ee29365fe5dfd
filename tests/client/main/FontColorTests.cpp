// The font and colour procedures on a real control, with the dialogs and the
// character-set form answered through the hooks.
#include "client/core/WindowSeams.h"
#include "client/core/ui/frmCharSet.h"
#include "client/main/ui/FontColorProcedures.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MessageBox.h"
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
using platform::FontDialogAnswer;
using platform::FontSpec;

namespace {

// A window that stores its controls' styles, counting what it was asked.
class StyledWindow : public QWidget, public StyleSaver {
public:
    StyledWindow() : box(new QTextEdit(inner))
    {
        // The control sits deeper than the window's own children.
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(inner);
    }
    QString SaveFont(QWidget* control) override { return Count(fonts, control, fontError); }
    QString SaveCharset(QWidget* control) override { return Count(charsets, control, charsetError); }
    QString SaveColor(QWidget* control) override { return Count(colors, control, QString()); }
    QString Theme() const override { return QStringLiteral("Team"); }

    QWidget* inner = new QWidget(this);
    QTextEdit* box;
    int fonts = 0;
    int charsets = 0;
    int colors = 0;
    QString fontError;
    QString charsetError;

private:
    QString Count(int& count, QWidget* control, const QString& error)
    {
        EXPECT_EQ(control, box);
        ++count;
        return error;
    }
};

FontDialogAnswer Chosen()
{
    FontDialogAnswer a;
    a.font.name = QStringLiteral("Chosen Face");
    a.font.size = 14;
    a.font.bold = true;
    a.font.strikethrough = true;
    a.color = 0x0000FF;
    return a;
}

FontSpec Started()
{
    FontSpec f;
    f.name = QStringLiteral("Start Face");
    f.size = 9;
    f.italic = true;
    f.underline = true;
    f.charset = 0;
    return f;
}

// Picks the entry of that name and confirms.
void PickAndConfirm(frmCharSet& form, const QString& entry)
{
    form.Combo1->setCurrentIndex(form.Combo1->findText(entry));
    form.cmdOK->click();
}

}  // namespace

TEST(ChooseFont, TheChoiceLandsInTheControlAndTheWindowStoresFontThenSet)
{
    StyledWindow window;
    platform::SetWidgetFont(window.box, Started());
    platform::SetWidgetForeColor(window.box, qint32(0x80000008u));
    platform::DialogRecorder dialogs;
    platform::MessageBoxRecorder boxes;
    platform::ModalFormRecorder forms;
    bool hourglassGone = false;
    dialogs.answerFont(Chosen());
    FontSpec sample;
    QString listedAt;
    forms.answerWith<frmCharSet>([&](frmCharSet& form) {
        hourglassGone = QApplication::overrideCursor() == nullptr;
        sample = platform::WidgetFont(form.Text1);
        listedAt = form.Combo1->currentText();
        PickAndConfirm(form, QStringLiteral("Russian"));
    });

    ChooseFont(window.box);

    ASSERT_EQ(dialogs.fonts.size(), 1u);
    EXPECT_EQ(dialogs.fonts[0].font, Started()) << "the request starts from the control";
    EXPECT_EQ(dialogs.fonts[0].color, qint32(0x80000008u));
    const FontSpec now = platform::WidgetFont(window.box);
    EXPECT_EQ(now.name, QStringLiteral("Chosen Face"));
    EXPECT_EQ(now.size, 14);
    EXPECT_TRUE(now.bold);
    EXPECT_TRUE(now.strikethrough);
    EXPECT_FALSE(now.italic);
    EXPECT_FALSE(now.underline);
    EXPECT_EQ(now.charset, 204);
    EXPECT_EQ(platform::WidgetForeColor(window.box), 0x0000FF);
    EXPECT_EQ(window.fonts, 1);
    EXPECT_EQ(window.charsets, 1);
    EXPECT_EQ(window.colors, 0);
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(forms.forms.size(), 1u);
    EXPECT_EQ(forms.forms[0].caption, QStringLiteral("Choose Character Set"));
    EXPECT_EQ(sample.name, QStringLiteral("Chosen Face")) << "the sample shows the chosen face";
    EXPECT_EQ(sample.size, 14);
    EXPECT_EQ(listedAt, QStringLiteral("ANSI")) << "the list starts at the control's set";
    EXPECT_TRUE(hourglassGone);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ChooseFont, CancelledDialogsAndFailedSaves)
{
    struct Case {
        const char* name;
        bool fontCancelled;
        QString fontError;
        bool charsetConfirmed;
        int fonts, charsets, forms;
        const char* box;  // nullptr: no box
        qint32 charset;
    };
    const Case cases[] = {
        {"font dialog cancelled", true, {}, false, 0, 0, 0, nullptr, 0},
        {"set dialog cancelled", false, {}, false, 1, 0, 1, nullptr, 0},
        {"font not stored", false, QStringLiteral("x"), true, 1, 0, 0, "x", 0},
        {"set not stored", false, {}, true, 1, 1, 1, "y", 161},
    };
    for (const Case& c : cases) {
        StyledWindow window;
        platform::SetWidgetFont(window.box, Started());
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
        EXPECT_EQ(platform::WidgetFont(window.box).name,
                  c.fontCancelled ? QStringLiteral("Start Face") : QStringLiteral("Chosen Face"))
            << c.name;
        if (c.box) {
            ASSERT_EQ(boxes.count(), 1u) << c.name;
            EXPECT_EQ(boxes.last().prompt, QString::fromLatin1(c.box));
            EXPECT_EQ(boxes.last().style, 48);
            EXPECT_EQ(boxes.last().title, QStringLiteral("Team"));
        } else {
            EXPECT_EQ(boxes.count(), 0u) << c.name;
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
    EXPECT_EQ(platform::WidgetFont(box).name, QStringLiteral("Chosen Face"));
    EXPECT_EQ(platform::WidgetFont(box).charset, 186);
    EXPECT_EQ(boxes.count(), 0u);

    dialogs.answerColor(0x00112233);
    ChooseColor(box);
    EXPECT_EQ(platform::WidgetBackColor(box), 0x00112233);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(ChooseFont, AWindowUnloadedWhileADialogIsOpenIsLeftAlone)
{
    platform::MessageBoxRecorder boxes;
    {
        // Gone during the font dialog.
        QPointer<StyledWindow> window = new StyledWindow;
        platform::DialogHooks hooks;
        hooks.font = [&](const platform::FontDialogRequest&) {
            delete window.data();
            return std::optional(Chosen());
        };
        const platform::DialogHooks previous = platform::SetDialogHooks(hooks);
        platform::ModalFormRecorder forms;
        ChooseFont(window->box);
        platform::SetDialogHooks(previous);
        EXPECT_TRUE(forms.forms.empty());
    }
    {
        // Gone during the character-set dialog, which its owner keeps open.
        QWidget owner;
        auto* window = new StyledWindow;
        window->setParent(&owner);
        platform::DialogRecorder dialogs;
        dialogs.answerFont(Chosen());
        platform::ModalFormRecorder forms;
        forms.answerWith<frmCharSet>([&](frmCharSet& form) {
            EXPECT_EQ(form.parentWidget(), &owner);
            delete window;
            PickAndConfirm(form, QStringLiteral("Greek"));
        });
        ChooseFont(window->box);
        EXPECT_EQ(forms.forms.size(), 1u);
        EXPECT_TRUE(owner.findChildren<frmCharSet*>().isEmpty()) << "the form is freed";
    }
    {
        // Gone during the colour dialog.
        QPointer<StyledWindow> window = new StyledWindow;
        platform::DialogHooks hooks;
        hooks.color = [&](const platform::ColorDialogRequest&) {
            delete window.data();
            return std::optional<qint32>(0x123456);
        };
        const platform::DialogHooks previous = platform::SetDialogHooks(hooks);
        ChooseColor(window->box);
        platform::SetDialogHooks(previous);
    }
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
