#pragma once
// The about box: title, version, copyright, comments and a disclaimer, and
// the desktop's system-information tool.
#include <QDialog>

class QLabel;
class QPushButton;

namespace parlova {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner = nullptr);

    void StartSysInfo();

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
};

// Shows the about box modally over owner and frees it.
void ShowAbout(QWidget* owner);

}  // namespace parlova
