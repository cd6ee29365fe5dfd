#include "platform/ModalFormCount.h"
#include "platform/ui/FontColorDialog.h"
#include "platform/ui/ModalForm.h"
#include "support/ui/DialogRecorder.h"
#include "support/ui/ModalFormRecorder.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace platform;

namespace {

// A family the machine really has in bold, so the pane can select it.
QString SomeFamily()
{
    for (const QString& family : QFontDatabase::families())
        if (QFontDatabase::styles(family).contains(QStringLiteral("Bold")))
            return family;
    return QString();
}

}  // namespace

TEST(FontColorDialog, AnswersTheChosenFaceEffectsAndColour)
{
    const QString family = SomeFamily();
    ASSERT_FALSE(family.isEmpty());
    FontDialogRequest request;
    request.font.name = family;
    request.font.size = 10;
    request.font.charset = 204;
    request.color = kSystemColorFlag | 8;

    FontColorDialog untouched(request);
    const FontDialogAnswer same = untouched.answer();
    EXPECT_EQ(same.color, qint32(0x80000008u)) << "a system colour left alone stays one";
    EXPECT_EQ(same.font.charset, 204) << "the set is the request's, Qt knows none";
    EXPECT_EQ(same.font.size, 10);

    FontColorDialog dialog(request);
    QFont chosen(family);
    chosen.setPointSizeF(14);
    chosen.setBold(true);
    chosen.setStrikeOut(true);
    dialog.fontPane()->setCurrentFont(chosen);
    DialogRecorder dialogs;
    dialogs.answerColor(0x0000FF);
    dialog.colorButton()->click();
    ASSERT_EQ(dialogs.colors.size(), 1u);
    EXPECT_EQ(dialogs.colors[0].color, qint32(0x80000008u)) << "the colour dialog starts from the request's";
    dialog.accept();
    const FontDialogAnswer a = dialog.answer();
    EXPECT_EQ(a.font.name, family);
    EXPECT_EQ(a.font.size, 14);
    EXPECT_TRUE(a.font.bold);
    EXPECT_TRUE(a.font.strikethrough);
    EXPECT_FALSE(a.font.italic);
    EXPECT_EQ(a.color, 0x0000FF);

    // A cancelled colour dialog keeps the colour chosen before.
    dialog.colorButton()->click();
    EXPECT_EQ(dialog.answer().color, 0x0000FF);
}

TEST(FontColorDialog, UntouchedItKeepsTheWeightAndSlantOfEveryFamily)
{
    // Some families have no "Regular" style ("Book"), which Qt's dialog alone
    // would start on their first-listed style, an oblique or a bold one.
    for (const QString& family : QFontDatabase::families()) {
        // A family two foundries make ("Name [Foundry]") Qt's font pane
        // resolves on its own; which styles it then offers is Qt's choice.
        if (family.contains(QLatin1Char('[')))
            continue;
        for (const auto& [bold, italic] : {std::pair{false, false}, {true, false}, {false, true}}) {
            FontDialogRequest request;
            request.font.name = family;
            request.font.bold = bold;
            request.font.italic = italic;
            bool offered = false;
            for (const QString& style : QFontDatabase::styles(family))
                offered = offered || (QFontDatabase::italic(family, style) == italic &&
                                      (QFontDatabase::weight(family, style) >= QFont::DemiBold) == bold);
            if (!offered)
                continue;
            const FontDialogAnswer a = FontColorDialog(request).answer();
            EXPECT_EQ(a.font.bold, bold) << family.toStdString();
            EXPECT_EQ(a.font.italic, italic) << family.toStdString();
        }
    }
}

TEST(FontColorDialog, EscapeInsideThePaneClosesTheDialogAndLeavesThePaneInPlace)
{
    FontColorDialog dialog(FontDialogRequest{});
    dialog.show();
    dialog.fontPane()->reject();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.fontPane()->isHidden());
}

TEST(ModalForm, TheHookFillsTheFormAndWhatItLeavesOpenIsCancelled)
{
    platform::ModalFormRecorder forms;
    bool openDuring = false;
    forms.answer([&](QDialog& form) {
        openDuring = ModalFormCount::Any() && form.isVisible();
        form.accept();
    });
    QDialog first;
    first.setObjectName(QStringLiteral("first"));
    first.setWindowTitle(QStringLiteral("First"));
    EXPECT_EQ(ShowModalForm(&first), QDialog::Accepted);
    EXPECT_TRUE(openDuring);
    EXPECT_FALSE(ModalFormCount::Any());

    QDialog second;
    EXPECT_EQ(ShowModalForm(&second), QDialog::Rejected) << "no filler: cancelled";
    EXPECT_FALSE(second.isVisible());

    // A form unloaded while it is open.
    auto* third = new QDialog;
    forms.answer([](QDialog& form) { delete &form; });
    EXPECT_EQ(ShowModalForm(third), QDialog::Rejected);

    ASSERT_EQ(forms.forms.size(), 3u);
    EXPECT_EQ(forms.forms[0].name, QStringLiteral("first"));
    EXPECT_EQ(forms.forms[0].caption, QStringLiteral("First"));
    EXPECT_EQ(ShowModalForm(nullptr), QDialog::Rejected);
}
