#include "platform/ui/FontColorDialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace platform {
namespace {

// The family's style that is the spec's weight and slant. Without it Qt's
// dialog takes the first style it lists when the family has no style named
// "Normal" or "Regular" (a "Book" family starts on "Oblique"), and an
// untouched OK would change the font.
QString MatchingStyle(const QString& family, bool bold, bool italic)
{
    const int wanted = bold ? QFont::Bold : QFont::Normal;
    QString best;
    int bestDistance = 0;
    for (const QString& style : QFontDatabase::styles(family)) {
        const int weight = QFontDatabase::weight(family, style);
        if (QFontDatabase::italic(family, style) != italic || (weight >= QFont::DemiBold) != bold)
            continue;
        const int distance = std::abs(weight - wanted);
        // The plainest of equals: "Book" before "Condensed".
        if (best.isEmpty() || distance < bestDistance || (distance == bestDistance && style.size() < best.size())) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}

QFont StartFont(const FontSpec& spec)
{
    QFont f = FontWithSpec(QFont(), spec);
    const QString style = MatchingStyle(QFontInfo(f).family(), spec.bold, spec.italic);
    if (!style.isEmpty())
        f.setStyleName(style);
    return f;
}

}  // namespace

FontColorDialog::FontColorDialog(const FontDialogRequest& request, QWidget* parent)
    : QDialog(parent), request_(request), fontPane_(new QFontDialog(this)), colorButton_(new QPushButton(this)),
      color_(request.color)
{
    setObjectName(QStringLiteral("FontColorDialog"));
    setWindowTitle(tr("Font"));
    // A child widget, not a window of its own, with the buttons of this dialog.
    fontPane_->setWindowFlags(Qt::Widget);
    fontPane_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fontPane_->setSizeGripEnabled(false);
    fontPane_->setCurrentFont(StartFont(request.font));
    // Escape or Enter inside the pane would close it alone; they close this
    // dialog instead, the pane stays in place.
    connect(fontPane_, &QDialog::finished, this, [this](int result) {
        fontPane_->setVisible(true);
        done(result);
    });

    colorButton_->setObjectName(QStringLiteral("colorButton"));
    colorButton_->setText(tr("&Colour..."));
    connect(colorButton_, &QPushButton::clicked, this, &FontColorDialog::ChooseColor);
    auto* colorLabel = new QLabel(tr("Text colour:"), this);
    colorLabel->setBuddy(colorButton_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(colorButton_);
    colorRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fontPane_);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
    setColor(color_);
}

void FontColorDialog::setColor(qint32 ole)
{
    color_ = ole;
    QPixmap swatch(24, 14);
    swatch.fill(OleToColor(ole));
    colorButton_->setIcon(QIcon(swatch));
    colorButton_->setIconSize(swatch.size());
}

FontDialogAnswer FontColorDialog::answer() const
{
    const QFont f = fontPane_->currentFont();
    FontDialogAnswer a;
    a.font = request_.font;
    a.font.name = f.family();
    a.font.size = f.pointSizeF() > 0 ? f.pointSizeF() : request_.font.size;
    a.font.bold = f.bold();
    a.font.italic = f.italic();
    a.font.strikethrough = f.strikeOut();
    a.font.underline = f.underline();
    a.color = color_;
    return a;
}

void FontColorDialog::ChooseColor()
{
    // The colour dialog runs its own loop, in which this one may be unloaded.
    const QPointer<FontColorDialog> self = this;
    const std::optional<qint32> chosen = ChooseColorDialog({color_, this});
    if (self && chosen)
        setColor(*chosen);
}

}  // namespace platform
