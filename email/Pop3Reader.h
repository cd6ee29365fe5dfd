#pragma once
// The mailbox reader of the service type CDOSYS_TYPE, owned by the CDOSYS
// object: one POP3 session per
// Read, driven by the socket's events on the one thread. Nothing here
// blocks; the read command polls ReadCompleted, ReadError, Timeout and
// finally GetReadMessages.
//
// With SSLRequired the session runs over implicit TLS (POP3S) and the
// server's certificate is verified. A CA file other than the system's can
// be named by the environment variable PARLOVA_POP3_CAFILE or the setting
// GetSetting("Parlova", "Email", "Pop3CAFile") (the environment wins).
#include "email/EmailLetter.h"
#include "email/LeftLetters.h"
#include "email/ServerInfo.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class QSslSocket;

namespace quenby {

class Pop3Reader : public QObject {
    Q_OBJECT
public:
    // Session states; Idle before the first Read and after Abort.
    enum State {
        Idle = 0,
        Greeting = 1,
        User = 2,
        Pass = 3,
        Stat = 4,
        List = 5,
        Retr = 6,
        Top = 7,
        Dele = 8,
        Quit = 9,
        Uidl = 10,
    };

    // More letters than this are left for the next read.
    static constexpr int kMaxLettersPerRead = 10000;
    // A letter is held in memory while it is parsed: a larger one is left
    // on the server with the size note, whatever the size limit, and a
    // reply to RETR that grows beyond it ends the session.
    static constexpr int kMaxLetterBytes = 256 * 1024 * 1024;
    // A reply to TOP (headers only) longer than this ends the session.
    static constexpr int kMaxHeaderBytes = 1024 * 1024;
    // Remembered letters a read did not see that are kept beyond one for
    // each letter of that read without a usable UIDL.
    static constexpr int kLeftMargin = 16;

    explicit Pop3Reader(QObject* parent = nullptr);
    ~Pop3Reader() override;

    // Keeps the incoming server; contacts nothing. Always empty.
    QString ConnectPOP3(const ServerInfo& server);

    // Starts a session (any earlier one is cut). Empty when started;
    // NoServerText when the server has no address.
    QString Read(int maxSizeOfLetter, const QString& pathToAttachmentsFolder);

    // Splits a From text into display name and address. Always empty.
    static QString ParseFromField(QString& outName, QString& outAddr, const QString& fromField);

    bool ReadCompleted() const { return completed_; }
    QString ReadError() const { return error_; }
    QString GetReadMessages(int& outMsgsCount, QList<EmailLetter>& outLetters) const;
    // No socket activity for longer than the server's Timeout seconds, or
    // the session running longer than Timeout seconds for the logon and as
    // many for each letter begun, or longer than 30 minutes.
    bool Timeout() const;

    // Cuts the session at once without QUIT, so the server deletes nothing;
    // later replies are ignored. The attachment files this session saved
    // are removed, as they are when it ends in an error before QUIT: its
    // letters are not handed out, and the next read saves them again.
    // Once QUIT has gone out the server may already be removing them: the
    // session then completes with an error and hands its letters out.
    void Abort();

    // Letters the reader left on the server on purpose (too big, or refused
    // by DELE), or may have left (marked by DELE in a session whose QUIT was
    // not answered "+OK"), shared by the reads of one account. They are
    // handed out once; a later read skips a letter too big and sends DELE
    // again for the others, forgetting one once its deletion is committed.
    // A letter without a UIDL cannot be among them. Nor is a letter left by
    // a local failure (its attachments could not be saved). A read that saw
    // the UIDL of every letter it counted forgets the letters it did not
    // see; one that could not tell n of its letters by UIDL keeps, of the
    // letters it did not see, the n + kLeftMargin seen most recently.
    void SetLeftLetters(std::shared_ptr<LeftLetters> left);
    // Lowers the letter cap (kMaxLetterBytes), so the cap can be shown
    // without streaming hundreds of megabytes.
    void SetLetterCap(int bytes) { letterCap_ = bytes; }

    State state() const { return state_; }
    // Bytes this session has received so far.
    qint64 ReceivedBytes() const { return received_; }

private:
    void onReadyRead();
    void onSocketError();
    void onDisconnected();
    void handleData();
    bool handleLine(const QByteArray& line);
    // Why the multi-line reply held so far is too long to hold, or empty.
    QString overlong(qsizetype replyBytes) const;
    void handleMultiLine(QByteArray&& letterBytes);
    void send(const QByteArray& command);
    void nextLetter();
    void startLetter();
    void leaveLetter(LeftLetter why);
    void rememberLeft(bool quitAnswered);
    // Only "+OK" to QUIT tells that the marked letters are gone.
    void finish(const QString& error, bool quitAnswered = false);
    // Abort, with nobody to take the letters.
    void drop();
    void cut();
    void dropSavedFiles();
    QString saveAttachments(EmailLetter& letter, const QList<QByteArray>& contents, const QStringList& names);

    ServerInfo server_;
    std::unique_ptr<QSslSocket> socket_;
    State state_ = Idle;
    bool completed_ = false;
    QString error_;
    int count_ = 0;    // letters this session handles
    int current_ = 0;  // the server's number of the current letter
    QString currentUid_;
    QList<EmailLetter> letters_;
    QByteArray buffer_;
    qsizetype scanFrom_ = 0;  // where the search for a letter's end goes on
    double listedSize_ = 0;   // the current letter's size as LIST gave it
    int maxSize_ = 0;
    QString folder_;
    qint64 lastActivity_ = 0;
    qint64 sessionStart_ = 0;
    qint64 received_ = 0;
    qint64 budgetS_ = 0;  // the time-out for the logon and for each letter begun
    int nameCounter_ = 0;
    int letterCap_ = kMaxLetterBytes;
    std::shared_ptr<LeftLetters> left_;
    // Left this session; remembered only once the session has completed,
    // so a failed read never hides a letter nobody was told about.
    QHash<QString, LeftLetter> leftThisRead_;
    // Remembered letters deleted this session: forgotten once QUIT commits it.
    QStringList deletedAgain_;
    // New letters deleted this session, remembered unless QUIT commits it.
    QStringList deletedThisRead_;
    bool deletingAgain_ = false;  // the DELE sent is for a remembered letter
    // UIDLs this session saw, in the server's order; with every letter's
    // UIDL seen, a remembered letter missing from them is no longer on the
    // server.
    QSet<QString> seen_;
    QStringList listed_;
    // Attachment files of this session, removed unless it completes.
    QStringList savedThisRead_;
    bool inHandler_ = false;
};

}  // namespace quenby
