#pragma once
// The port dialog "Connect": after a scan it lists the ports where a phone
// answered; when a port would not open it asks whether to scan the others.
// Modeless, owned by the main window; closed in any way it unloads: its
// list emptied, its question mode left.
#include "client/main/PortDialogModel.h"
#include "client/core/WindowSeams.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace parlova {

class frmPort : public QDialog, public PortDialog {
    Q_OBJECT
public:
    explicit frmPort(QWidget* owner);
    ~frmPort() override;

    bool Visible() const override { return isVisible(); }
    void Unload() override;
    void Show() override;
    void AddPort(qint32 port, const QString& name, const QString& maker) override;
    void AskToScan(const QString& port) override;

    const PortDialogModel& Model() const { return model_; }
    QListWidget* List1 = nullptr;
    QLabel* lblLabels = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void showModel();
    void ok();

    PortDialogModel model_;
};

}  // namespace parlova
