#pragma once
// The mail service of the type SIMPLE_MAPI_TYPE, over the local mail store
// (a Maildir per profile, an address book and a submission command).
//
// Connect, Disconnect and Read finish inside the call (they only touch local
// files). Sending runs a submission command, so it never blocks: Send starts
// it and PollSend tells when it has ended and how, like CDOSYS.
//
// Codes in results ("MAPI error (n)", and the bare decimal code of Connect
// and Disconnect): 0 success, 2 failure, 3 login failure (no such profile),
// 13 attachment write failure, 14 unknown recipient, 16 no more messages,
// 17 invalid message, 21 ambiguous recipient.
#include "email/EmailLetter.h"
#include "email/MAPIMessage.h"
#include "email/MapiRecip.h"

#include <QList>
#include <QSet>
#include <QString>

#include <memory>

namespace quenby {

class LocalMailStore;

class SMAPI {
public:
    struct SendState {
        bool inProcess = false;
        QString result;  // after the end: empty = sent, else the error text
    };

    SMAPI();
    ~SMAPI();
    SMAPI(const SMAPI&) = delete;
    SMAPI& operator=(const SMAPI&) = delete;

    // Logs on to the profile of that name. Empty, or the code in decimal.
    QString Connect(const QString& accountName);
    // Logs off. Empty, or the code in decimal.
    QString Disconnect();

    // Reads the whole mailbox: every letter read is handed out (its
    // attachments moved into the folder) and deleted from the store.
    // Empty on success; "MAPI error (n)" only when letters were there and
    // none could be read. maxSizeOfLetter is not used.
    QString Read(int maxSizeOfLetter, const QString& pathToAttachmentsFolder, int& outMsgsCount,
                 QList<EmailLetter>& outLetters);

    // Starts sending msg to TOs(0 .. msg.RecipCount - 1): a recipient with an
    // address is sent to that address; one without is resolved by name in the
    // address book. Empty when the submission command runs (poll PollSend),
    // else the error.
    QString Send(QList<MapiRecip>& TOs, const MAPIMessage& msg);

    // Tells where the running submission stands; never blocks. With no send
    // ever started: not in process, empty result.
    SendState PollSend();

    // Ends a running submission at once (the command is killed); its result
    // becomes the given text.
    void AbortSend(const QString& result = QString());

    // Moves the letter's attachments from where the store left them into
    // the folder; the empty text or the error.
    QString MoveLetterAttachments(const QString& folder, EmailLetter& letter);

    // How long a submission command may run before it is ended as failed.
    static constexpr int kSendLimitMs = 120000;

private:
    std::unique_ptr<LocalMailStore> store_;
    int session_ = 0;
    int attachmentCounter_ = 0;
    // Letters left in the store because their attachments could not be
    // moved: handed out once, then skipped for the object's life.
    QSet<QString> leftInStore_;
    bool sending_ = false;
    SendState state_;
};

}  // namespace quenby
