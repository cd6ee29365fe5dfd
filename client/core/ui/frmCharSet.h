#pragma once
// Picks the font character set after the font dialog. OK and Cancel hide
// it; the caller reads IsSelectionOK and the choice, then frees it.
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parlova {

class frmCharSet : public QDialog {
    Q_OBJECT
public:
    explicit frmCharSet(QWidget* owner = nullptr);

    bool IsSelectionOK() const { return selectionOK_; }
    // Selects the entry of that set; with none, the selection stays.
    void InitCharSet(qint32 charset);
    // The set of the selected entry, -1 with none selected.
    qint32 CharSet() const;

    QComboBox* Combo1;
    QLineEdit* Text1;
    QLabel* Label3;
    QLabel* Label1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    void OnEntryChosen(int index);
    void OnOK();

    bool selectionOK_ = false;
};

}  // namespace parlova
