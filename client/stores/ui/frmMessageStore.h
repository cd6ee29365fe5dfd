#pragma once
// The message-store window: the phone's message memories with their fill,
// a grid of the stored messages and, above it, an editor for one message
// with its options panel. It shows the global message store and never
// talks to the phone; the store procedures and the orders' replies act on
// it through its public operations.
#include "client/core/ui/SharedActions.h"
#include "client/stores/MessageEditor.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QRadioButton;
class QSlider;
class QSplitter;

namespace corvane {
class MessageStore;
}

namespace parlova {

class StoreGrid;
class MessageStoreMenus;
struct MessageEditorValues;

class frmMessageStore : public QWidget, public ChildMenus, public MessageEditor {
    Q_OBJECT
public:
    explicit frmMessageStore(QWidget* parent = nullptr);
    ~frmMessageStore() override;

    static QString Caption() { return QStringLiteral("Message Store "); }

    // Hides or shows the options panel; "" or the error's text.
    QString ToggleMessageOptions();
    // A row for the stored message at the end of the grid, made current.
    void AddMessage(qint32 location, qint32 index);
    // The coding to send with, Auto resolved.
    qint32 CodingA() const override;
    qint32 Coding() const override;
    void Coding(qint32 value);
    qint32 Class() const override;
    void Class(qint32 value);
    qint32 Validity() const override;
    void Validity(qint32 value);
    // The message of the current row; "There is no active message" for
    // the header row and for a row the store holds no message for.
    QString ActiveMessage(qint32& location, qint32& index) const override;
    // Removes the message's row; "", "Not found" or the error's text.
    QString DeleteMessage(qint32 location, qint32 index);
    // The message text, trimmed.
    QVariant Text() const override;

    // What the store procedures read and set.
    QString WindowCaption() const override { return windowTitle(); }
    qint32 RelativeValidity() const override;
    QDateTime AbsoluteValidity() const override;
    qint32 Report() const override;
    qint32 Destination() const override;
    QString Address() const override;
    void SetContact(const QString& address, const QString& name) override;
    void Storing() override;

    // Runs when the window becomes the active child: check marks and the
    // toolbar's "Message Options" button follow the panel.
    void Activated();

    MessageStoreMenus& MenuSet() { return *menus_; }
    // The menus the main window shows while this window is current.
    QList<QMenu*> Menus() const override;

    // The controls the store procedures read and set.
    QPlainTextEdit* Text4;
    QLineEdit* Text1;
    QLabel* Label8;
    QListWidget* List1;
    QComboBox* Combo1;
    QComboBox* Combo2;
    QCheckBox* Check1;
    QGroupBox* Frame3;
    QRadioButton* Option1;
    QRadioButton* Option7;
    QRadioButton* Option8;
    QSlider* Slider2;
    QLabel* Label4;
    QDateTimeEdit* DTPicker1;
    QLabel* Label2;
    StoreGrid* MSFlexGrid1;

    // The options panel and the splitter between text and grid.
    QWidget* Panel() const { return panel_; }
    QSplitter* Splitter() const { return splitter_; }
    qint32 SortOrder() const { return mlngSortOrder; }

    // The text commands of the Store menu.
    void Clear();
    void TimeDate();
    void SelectAll();
    void Cut();
    void Copy();
    void Paste();
    void Delete();

private:
    void buildControls();
    void Load();
    // Shows the current row's message, or prepares a new one when the
    // current row has just left a message row (or at load).
    void SelectionHandling(bool atLoad = false);
    void fill(const MessageEditorValues& values);
    void showEmpty();
    // The user's edit: leaves a shown message for a new one.
    void SwitchToNewMessage();
    void SetSlider(qint32 value);
    void UpdateMessageCounter();
    void RefreshStoreTotals();
    QStringList storeItems() const;
    QString StoreListName(qint32 location) const;
    QString FindStoreListItem(const QString& name) const;
    void fillRow(int row, const QStringList& fields);
    void sortByColumn(int col);
    void rightClicked(int row, const QPoint& globalPos);
    bool text4Active() const;
    // The editor composes a text or number the user has not stored.
    bool holdsUnstored() const;

    MessageStoreMenus* menus_ = nullptr;
    QWidget* panel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    bool mblnUpdating = false;
    bool showingMessage_ = false;
    // The text and number last handed to a store order.
    QString storingText_, storingAddress_;
    qint32 mlngSortOrder = 0;
    qint32 instance_ = 0;
};

}  // namespace parlova
