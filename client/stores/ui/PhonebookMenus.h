#pragma once
// The phone-book window's menus: File, Phonebook (also the grid's context
// menu, its Include In submenu rebuilt each time it opens), Tools, Window
// and Help.
#include <QObject>
#include <QPoint>

class QAction;
class QKeySequence;
class QMenu;
class QMenuBar;

namespace parlova {

class frmPhonebook;

class PhonebookMenus : public QObject {
    Q_OBJECT
public:
    explicit PhonebookMenus(frmPhonebook& window);

    QMenuBar* Bar() const { return bar_; }
    QMenu* PhonebookMenu() const { return mnuPhonebook; }
    QMenu* IncludeInMenu() const { return mnuPhonebookIncludeIn; }
    QAction* TalkAction() const { return mnuPhonebookTalk; }

    void EnableEmail(bool enabled);
    // The Phonebook menu at the pointer, "&Talk" in bold.
    void PopupPhonebookMenu(const QPoint& globalPos);
    // Fills "&Include In" from the open conversations.
    void RebuildIncludeIn();
    void StartTalk();

private:
    template <class F>
    QAction* add(QMenu* menu, const QString& caption, const QKeySequence& key, F action);

    frmPhonebook& window_;
    QMenuBar* bar_;
    QMenu* mnuPhonebook = nullptr;
    QMenu* mnuPhonebookIncludeIn = nullptr;
    QAction* mnuPhonebookTalk = nullptr;
    QAction* mnuToolsConnectEmail = nullptr;
    QAction* mnuToolsDisconnectEmail = nullptr;
};

}  // namespace parlova
