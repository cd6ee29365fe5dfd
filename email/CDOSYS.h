#pragma once
// The SMTP sender of the service type CDOSYS_TYPE.
//
// Sending never blocks: Send starts a transfer on a curl multi handle and
// returns; the transfer advances on the object's own timer (and on every
// PollSend), and PollSend tells when it has ended and how. One transfer at a
// time: the gate runs one command at a time.
//
// The mailbox is read over POP3 by the object's own Pop3Reader; Read and the
// members after it hand on to that reader's session.
//
// Peer certificates are verified. A CA file other than the system's can be
// named by the environment variable PARLOVA_SMTP_CAFILE or the setting
// GetSetting("Parlova", "Email", "SmtpCAFile") (the environment wins).
//
// SSL on port 465 is TLS from the first byte (smtps://); on any other port it
// is STARTTLS, required. Another port for the first kind can be named by
// PARLOVA_SMTPS_PORT or the setting "SmtpsPort" of the same section.
//
// Addresses (the sender's and every recipient's) must pass IsSafeAddress
// (LetterComposer.h); From and To are built from (name, address) pairs and
// the envelope from the addresses alone.
#include "email/EmailLetter.h"
#include "email/LeftLetters.h"
#include "email/MAPIMessage.h"
#include "email/MapiRecip.h"
#include "email/ServerInfo.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

namespace platform {
class Timer;
}

namespace quenby {

class Pop3Reader;

class CDOSYS {
public:
    // How the sender logs on, from the account's settings.
    enum AuthMode { AuthNone = 0, AuthBasic = 1, AuthNtlm = 2 };

    struct SendState {
        bool inProcess = false;  // the transfer is still running
        QString result;          // after the end: empty = sent, else the error text
    };

    CDOSYS();
    ~CDOSYS();
    CDOSYS(const CDOSYS&) = delete;
    CDOSYS& operator=(const CDOSYS&) = delete;

    // Keeps the sending configuration; contacts no server. Empty on success.
    QString ConnectSMTP(const QString& user, const QString& fromAddr, const ServerInfo& server);

    // Starts sending msg's subject and body to every element of toAddrs.
    // Empty when the transfer is under way (poll PollSend), else the error.
    QString Send(const QList<MapiRecip>& toAddrs, const MAPIMessage& msg);

    // Advances the transfer without blocking and tells where it stands.
    // With no transfer ever started: not in process, empty result.
    SendState PollSend();

    // Cuts a running transfer at once (no QUIT); its result becomes
    // the given text. Nothing happens when no transfer runs.
    void AbortSend(const QString& result = QString());

    // The timer's work: advances the running transfer. Never blocks.
    void Tick();

    // The POP3 side (Pop3Reader.h says how the session runs).
    QString Read(int maxSizeOfLetter, const QString& pathToAttachmentsFolder);
    QString ConnectPOP3(const ServerInfo& server);
    static QString ParseFromField(QString& outName, QString& outAddr, const QString& fromField);
    bool ReadCompleted() const;
    QString ReadError() const;
    QString GetReadMessages(int& outMsgsCount, QList<EmailLetter>& outLetters) const;
    bool Timeout() const;
    // Cuts a running POP3 session; one whose QUIT is out completes
    // with its letters (Pop3Reader::Abort).
    void AbortRead();
    // The UIDLs of letters left on the server, shared by every read of the
    // account for the gate's life.
    void SetLeftLetters(std::shared_ptr<LeftLetters> left);

    // What ConnectSMTP configured (for tests and traces).
    AuthMode authMode() const { return authMode_; }
    // The sender as "\"user\" <fromAddr>".
    QString sendEmailAddress() const { return sendEmailAddress_; }
    // The URL the transfer goes to: smtp://host:port/ or smtps://host:port/.
    QString url() const { return url_; }

    // The recipients line: for each element "\"" & Name & "\" " & Address & ",".
    // Kept as a helper; nothing sends it.
    static QString RecipientsLine(const QList<MapiRecip>& toAddrs);
    // "\"" & user & "\" <" & fromAddr & ">".
    static QString SenderAddress(const QString& user, const QString& fromAddr);

private:
    struct Transfer;
    void converse();
    bool flush();
    void finish(const QString& result, bool aborted = false);

    QString user_;
    QString fromAddr_;
    ServerInfo server_;
    bool configured_ = false;
    AuthMode authMode_ = AuthNone;
    QString sendEmailAddress_;
    QString url_;

    void* multi_ = nullptr;  // CURLM*
    // The transfer's open sockets. Each is shut down before curl lets go of
    // it: curl would otherwise say QUIT and wait for the answer, blocking.
    QSet<int> sockets_;
    std::unique_ptr<Transfer> transfer_;
    SendState state_;
    bool inTick_ = false;
    std::unique_ptr<platform::Timer> timer_;
    std::unique_ptr<Pop3Reader> pop3_;
};

}  // namespace quenby
