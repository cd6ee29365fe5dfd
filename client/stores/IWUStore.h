#pragma once
// The user procedures behind the message-store window: store the message
// being edited in the phone, delete, reread, start a conversation from a
// stored message, send it to or move it into a conversation, take the
// number from the phone books and add it to one. They queue orders and
// never wait for the phone; every outcome is a box or the order's effect.
//
// Boxes and forms hold the main loop while they are open; the window is
// looked up again after each, as a reply may have rebuilt it meanwhile.
#include "client/core/Procedures.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

namespace parlova {

class Application;
class MessageEditor;

class IWUStore {
public:
    struct Forms {
        // The loaded, shown message-store window; nullptr when none is.
        std::function<MessageEditor*()> window;
        // The theme chosen in the "All conferences" picker; "" when none.
        std::function<QString(const QStringList& themes)> chooseTheme;
        // The first line chosen in the conferee chooser of that caption;
        // nothing when it was cancelled or left empty.
        std::function<std::optional<QString>(const QString& caption)> chooseConferee;
    };

    explicit IWUStore(Forms forms);

    void StoreNewMessage(const QString& owner);
    void DeleteStoreMessage(const QString& owner);
    void RereadMessageStore(const QString& owner);
    void StartTalkFromStore(const QString& owner);
    void ChooseConferenceAndSend(const TalkChoice& choice);
    void SendStoreMessageToTalk(const QString& theme, qint32 location, qint32 index);
    void ChooseConferenceAndCopy(const TalkChoice& choice);
    void CopyStoreMessagesToTalk(const QString& theme, qint32 location, qint32 index, bool deleteAfter);
    void SelectStoreAddress();
    void AddStoreAddressToPhonebook(qint32 book);

    // Fills the table's and the store window's slots with the procedures
    // of one shared object.
    static void Install(Procedures& table, Forms forms);

private:
    // The active message of the shown window, or the failure text.
    QString Active(qint32& location, qint32& index, bool needsVisible) const;
    QString ChooseTheme(const TalkChoice& choice) const;
    // The chosen conversation and the active message; false, after any
    // box, when there is none.
    bool Chosen(const TalkChoice& choice, bool needsVisible, QString& theme, qint32& location, qint32& index) const;

    Forms forms_;
};

}  // namespace parlova
