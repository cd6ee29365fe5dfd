#pragma once
// The SMTP sender of the service type CDOSYS_TYPE.
//
// Sending never blocks: Send starts a transfer on a curl multi handle and
// returns; the transfer advances on the object's own timer (and on every
// PollSend), and PollSend tells when it has ended and how. One transfer at a
// time: the gate runs one command at a time.
//
// The mailbox reader (POP3) of the same service type is a class of its own;
// the gate creates both on Connect.
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
#include "email/MAPIMessage.h"
#include "email/MapiRecip.h"
#include "email/ServerInfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace platform {
class Timer;
}

namespace quenby {

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
    void finish(const QString& result);

    QString user_;
    QString fromAddr_;
    ServerInfo server_;
    bool configured_ = false;
    AuthMode authMode_ = AuthNone;
    QString sendEmailAddress_;
    QString url_;

    void* multi_ = nullptr;  // CURLM*
    std::unique_ptr<Transfer> transfer_;
    SendState state_;
    bool inTick_ = false;
    std::unique_ptr<platform::Timer> timer_;
};

}  // namespace quenby
