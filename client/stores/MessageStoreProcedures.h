#pragma once
// The user procedures behind the message-store window's Store menu and
// its submenus that only this window starts (those the main window's
// toolbar starts too are in the cross-layer table). The window calls them
// through this table; an empty slot does nothing.
#include "client/core/Procedures.h"

#include <QString>

#include <functional>

namespace parlova {

struct MessageStoreProcedures {
    // owner: the window's caption.
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
