#pragma once
// Picks any number of contacts from the phone books read from the phone:
// a choice of book, a type-ahead search and the list of picked lines
// (List2), which is the result. The caller sets the caption, shows it
// through platform::ShowModalForm, reads IsSelectionOK and List2, then frees
// it. Nothing here changes the books or the conversations.
#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace corvane {
class BookRecords;
}

namespace parlova {

class frmConf : public QDialog {
    Q_OBJECT
public:
    // books: read while the dialog loads and whenever the choice of book
    // changes; it must outlive the dialog.
    explicit frmConf(const corvane::BookRecords& books, QWidget* owner = nullptr);

    // True only after OK.
    bool IsSelectionOK() const { return selectionOK_; }
    // The lines of List2, first to last.
    QStringList ChosenLines() const;

    QLabel* Label1;
    QComboBox* Combo1;
    QLabel* Label2;
    QLineEdit* Text1;
    QListWidget* List1;
    QPushButton* Command1;
    QPushButton* Command2;
    QLabel* Label3;
    QListWidget* List2;
    QPushButton* Command6;
    QPushButton* Command7;
    QFrame* Line1;
    QFrame* Line2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillNames();
    void OnSearch(const QString& typed);
    void AddCurrent();
    void RemoveCurrent();
    void DeleteCurrent();

    const corvane::BookRecords& books_;
    bool selectionOK_ = false;
    qint16 mBookChoice = 0;
};

}  // namespace parlova
