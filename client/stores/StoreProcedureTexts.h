#pragma once
// The texts of the message-store procedures: their boxes and the log entry
// a stored message becomes in a conversation.
#include <QString>

namespace corvane {
class MessageStore;
}

namespace parlova {

class StoreProcedureTexts {
public:
    static QString NothingToStore();
    static QString NowhereToStore();
    static QString NotVisible();
    static QString NoActiveMessage();
    static QString NoSmsService();
    static QString NobodyToSend(const QString& theme);
    static QString NoTelephoneNumber();
    static QString BooksNotRead();
    // The question before a GSM-coded store of a text outside the alphabet.
    static QString GsmWarning();
    // preview: the text's first 35 characters are shown, then "...".
    static QString DeleteQuestion(const QString& text);
    static QString RereadQuestion();
    // The question before a stored message's text replaces what the user
    // typed in a conversation's new-message box.
    static QString ReplaceDraftQuestion(const QString& theme);
    static QString ChooserCaption(const QString& windowCaption);

    // The lead-in of a procedure's unexpected-error box, CR included where
    // the box has one.
    static QString StoreFailed();
    static QString DeleteFailed();
    static QString RereadFailed();
    static QString TalkFailed();
    static QString SendToFailed(const QString& theme);
    static QString SendFailed();
    static QString MoveToFailed(const QString& theme);
    static QString CopyFailed();

    // Whether a message of this status is logged; any other goes to the
    // new-message box.
    static bool Logged(qint32 status);
    // What CopyStoreMessagesToTalk writes for message (location, index): a
    // log entry for a received or sent-from-phone message, or, for any other
    // status, no entry (logged false) and the text for the new-message box.
    // name: the contact ("Noname" for an unknown sender, "" without an
    // address); address: the message's address.
    struct Entry {
        bool logged = false;
        QString text;
    };
    static Entry LogEntry(const corvane::MessageStore& store, qint32 location, qint32 index, const QString& name,
                          const QString& address, bool simplified);
};

}  // namespace parlova
