#pragma once
// The options dialog: every user setting in a control, the changes handed
// to the settings on Apply and OK, dropped on Cancel. The dialog holds no
// setting itself; each opening loads the controls afresh.
#include "client/core/OptionsSnapshot.h"

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace parlova {

class OptionsPages;
class Settings;
struct NumberCheck;
struct SampleRow;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(Settings& settings, QWidget* parent = nullptr);
    ~frmOptions() override;

    // Tools, Options...: the dialog over the program's settings, modal over
    // owner, freed when it closes.
    static void ShowOptions(QWidget* owner);
    // Puts ShowOptions in the current application's table of procedures.
    static void Install();

    // The controls as SaveOptions takes them.
    OptionsSnapshot Controls() const;
    // The index of the page on show (-1: the empty page of no e-mail service).
    int ShownPage() const;
    OptionsPages& Pages() { return *p_; }

    QTabBar* tbsOptions;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdApply;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Load();
    void Connect();
    void Changed();
    void ShowTabPage(int tab);
    void ShowPage(int page);
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers, bool act);
    // Saves; false when a box is refused or the settings could not be written.
    bool Save();
    int PageOf(QWidget* control) const;
    static const NumberCheck* CheckOf(const QLineEdit* box);
    bool CheckBox(const NumberCheck& check);
    bool CheckAll();
    void CheckLater(QLineEdit* box);
    void ShowSaved(const OptionsSnapshot& saved);
    void FillHistories(const OptionsSnapshot& shown);
    void DescribeSample(const SampleRow& row);
    void ChooseSampleFont(const SampleRow& row);
    void ChooseSampleColour(const SampleRow& row);
    void Browse();
    void ShowExample();
    void StartPortMoved(qint32 value);
    void EndPortMoved(qint32 value);
    void ScanBoxEdited(QLineEdit* box);
    void RecentFilesTicked(bool ticked);
    void RecentFilesNumberMoved(int value);

    Settings& settings_;
    std::unique_ptr<OptionsPages> p_;
    QStackedWidget* stack_;
    // What was loaded: the values a control cannot show (a stored class,
    // speed or number out of the control's range) are kept from here.
    OptionsSnapshot loaded_;
    bool loading_ = false;
    bool checking_ = false;
};

}  // namespace parlova
