#pragma once
// The phone-book window: the phone's SIM and handset books as one sortable
// grid, filled once from the phone-book records when it loads and then kept
// in step, row by row, by the "Write Phonebook" orders' replies. It never
// talks to the phone; its menus start the phone-book procedures.
#include "client/core/WindowSeams.h"
#include "client/core/ui/SharedActions.h"

#include <QString>
#include <QWidget>

class QLabel;
class QMenu;

namespace parlova {

class StoreGrid;
class PhonebookMenus;

class frmPhonebook : public QWidget, public ChildMenus, public FormatOwner {
    Q_OBJECT
public:
    explicit frmPhonebook(QWidget* parent = nullptr);
    ~frmPhonebook() override;

    static QString Caption() { return QStringLiteral("Phonebook"); }

    // The current row's contact; "No active contact" (outputs untouched)
    // when no entry row is current.
    QString ActiveContact(QString& contactName, QString& contactNumber, qint32& book, qint32& index) const;
    // "" or "Contact not found".
    QString AddContact(const QString& location, qint32 index);
    QString UpdateContact(const QString& location, qint32 index);
    QString DeleteContact(const QString& location, qint32 index);
    QString GetBookName(qint32 book) const;

    qint32 PhoneBook() const { return mPhoneBook; }
    qint32 SIMBook() const { return mSIMBook; }
    qint32 SortOrder() const { return mSortOrder; }

    PhonebookMenus& MenuSet() { return *menus_; }
    QList<QMenu*> Menus() const override;

    // The grid's style is the phone-book style.
    QString SaveFont(QWidget* control) override;
    QString SaveCharset(QWidget* control) override;
    QString SaveColor(QWidget* control) override;
    QString Theme() const override { return Caption(); }

    // The grid's mouse: a header click sorts, a right click selects the row
    // under the pointer and pops the Phonebook menu up, a double click on
    // an entry starts a conversation.
    void HeaderClick(int col);
    void RightClick(int row, const QPoint& globalPos);

    StoreGrid* MSFlexGrid1;
    QLabel* Label1;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Load();
    void fillRow(int row, const QStringList& fields);
    // The grid row of the book's entry, 0 when none.
    int findRow(qint32 book, qint32 index) const;
    void ShowBookTotals();
    void resizeColumns();

    PhonebookMenus* menus_ = nullptr;
    qint32 mPhoneBook = 0;
    qint32 mSIMBook = 0;
    qint32 mSortOrder = 0;
    bool widthsSet_ = false;
};

}  // namespace parlova
