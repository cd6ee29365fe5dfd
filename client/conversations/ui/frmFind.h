#pragma once
// The modeless find dialog, one for the program, made on first use and
// unloaded by Cancel; its choices live on in the find globals. StartFind
// and FindNext run the search on the main window's active conversation.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace parlova {

class frmTalk;
struct Procedures;

class frmFind : public QDialog {
    Q_OBJECT
public:
    // The dialog for the active conversation, shown modeless; without one
    // a box says so.
    static void StartFind();
    // The next match of the find globals.
    static void FindNext();
    // The loaded dialog, or nullptr.
    static frmFind* Instance();
    // The conversation window that is the active child, or nullptr.
    static frmTalk* ActiveTalk();
    // Fills StartFind and the busy pointer of the search.
    static void Install(Procedures& procedures);

    QLineEdit* Text1;
    QCheckBox* chkCase;
    QCheckBox* chkAllConf;
    // Index 0 "&Up", 1 "&Down", as the direction's number.
    QRadioButton* optDirection[2];
    QPushButton* cmdFind;
    QPushButton* cmdcancel;

private:
    explicit frmFind(QWidget* owner);
    void Find();
    void Cancel();
};

}  // namespace parlova
