#pragma once
// The message-store window's menus: File, Store (also the grid's context
// menu), Tools, Window and Help, with the conversation submenus rebuilt
// each time the Store menu opens.
#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class QMenuBar;

namespace parlova {

class frmMessageStore;

class MessageStoreMenus : public QObject {
    Q_OBJECT
public:
    explicit MessageStoreMenus(frmMessageStore& window);

    QMenuBar* Bar() const { return bar_; }
    QMenu* StoreMenu() const { return mnuStore; }
    QMenu* SendToMenu() const { return mnuStoreSendToTalk; }
    QMenu* MoveToMenu() const { return mnuStoreMoveToTalk; }
    QAction* TalkAction() const { return mnuStoreTalk; }
    QAction* MessageOptionsAction() const { return mnuToolsMessageOptions; }

    void EnableEmail(bool enabled);
    void SetMessageOptionsChecked(bool checked);
    // The Store menu at the pointer, "Tal&k" in bold.
    void PopupStoreMenu(const QPoint& globalPos);
    // Fills "Send T&o" and "Move To" from the open conversations.
    void RebuildTalkSubmenus();
    void StartTalk();

private:
    template <class F>
    QAction* add(QMenu* menu, const QString& caption, const QKeySequence& key, F action);
    void fillSubmenu(QMenu* menu, bool send);

    frmMessageStore& window_;
    QMenuBar* bar_;
    QMenu* mnuStore = nullptr;
    QMenu* mnuStoreSendToTalk = nullptr;
    QMenu* mnuStoreMoveToTalk = nullptr;
    QAction* mnuStoreTalk = nullptr;
    QAction* mnuToolsConnectEmail = nullptr;
    QAction* mnuToolsDisconnectEmail = nullptr;
    QAction* mnuToolsToolbar = nullptr;
    QAction* mnuToolsMessageOptions = nullptr;
};

}  // namespace parlova
