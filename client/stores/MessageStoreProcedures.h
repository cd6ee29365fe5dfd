#pragma once
// The user procedures behind the message-store window's Store menu, its
// grid and its submenus. The window calls them through this table; an
// empty slot does nothing.
#include <QString>

#include <functional>

namespace parlova {

// What a conversation submenu item stands for: a conversation by its theme,
// or "More conferences..." (the picker of all conversations).
struct TalkChoice {
    QString theme;
    bool more = false;
};

struct MessageStoreProcedures {
    // Each gets the window's caption as owner.
    std::function<void(const QString& owner)> StoreNewMessage;
    std::function<void(const QString& owner)> StartTalkFromStore;
    std::function<void(const QString& owner)> DeleteStoreMessage;
    std::function<void(const QString& owner)> RereadMessageStore;
    std::function<void(const TalkChoice& choice)> ChooseConferenceAndSend;
    std::function<void(const TalkChoice& choice)> ChooseConferenceAndCopy;
    std::function<void()> SelectStoreAddress;
    // book: a phone-book number of the phone-book records.
    std::function<void(qint32 book)> AddStoreAddressToPhonebook;
};

// The program's one table.
MessageStoreProcedures& StoreProcedures();

}  // namespace parlova
