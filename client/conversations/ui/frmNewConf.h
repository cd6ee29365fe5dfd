#pragma once
// Asks for one name and one telephone number or e-mail address. The caller
// sets the caption, the boxes' limits and starting texts (in either order),
// shows it through platform::ShowModalForm, reads IsSelectionOK and the two
// boxes (trimming them itself), then frees it.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace parlova {

class frmNewConf : public QDialog {
    Q_OBJECT
public:
    explicit frmNewConf(QWidget* owner = nullptr);

    // True only after OK with both boxes filled.
    bool IsSelectionOK() const { return selectionOK_; }
    // A limit on what the user types; 0 or less is none. A starting text
    // longer than the limit stays whole.
    static void SetMaxLength(QLineEdit* box, int limit);
    // The limit set, 0 for none.
    static int MaxLength(const QLineEdit* box);

    QLabel* lblLabels[2];
    QLineEdit* txtUserName;
    // The address: a plain box, never hidden.
    QLineEdit* txtPassword;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowCounters();
    void OnOK();

    bool selectionOK_ = false;
};

}  // namespace parlova
