#pragma once
// A resizable single-choice list that other procedures fill and show
// ("More conferees...", "More conferences..."). OK and Cancel hide it; the
// caller reads IsSelectionOK and the chosen line, then frees it.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace parlova {

class frmAllItems : public QDialog {
    Q_OBJECT
public:
    explicit frmAllItems(QWidget* owner = nullptr);

    bool IsSelectionOK() const { return selectionOK_; }
    // The selected line's position, -1 when none is selected.
    int ListIndex() const;
    // The selected line's text, empty when none is selected.
    QString SelectedText() const;

    QListWidget* List1;
    QPushButton* OKButton;
    QPushButton* CancelButton;

private:
    bool selectionOK_ = false;
};

}  // namespace parlova
