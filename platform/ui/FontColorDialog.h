#pragma once
// The font dialog: Qt's font chooser, embedded without its own buttons,
// with the text colour beside it. A colour the user leaves alone comes back
// as the OLE value it started from, so a system colour stays one.
#include "platform/ui/Dialogs.h"

#include <QDialog>

class QFontDialog;
class QPushButton;

namespace platform {

class FontColorDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontColorDialog(const FontDialogRequest& request, QWidget* parent = nullptr);

    QFontDialog* fontPane() const { return fontPane_; }
    QPushButton* colorButton() const { return colorButton_; }
    qint32 color() const { return color_; }
    void setColor(qint32 ole);
    // The choice as the dialog holds it now.
    FontDialogAnswer answer() const;

private:
    void ChooseColor();

    FontDialogRequest request_;
    QFontDialog* fontPane_;
    QPushButton* colorButton_;
    qint32 color_;
};

}  // namespace platform
