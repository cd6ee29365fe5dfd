#pragma once
// The local mail store behind the service type SIMPLE_MAPI_TYPE.
//
// A profile is a folder named by the profile name under
// $XDG_DATA_HOME/Parlova/Mail/ (QStandardPaths' generic data location). It holds
//   Maildir/      the inbox (new/, cur/, tmp/), unless profile.ini names another
//   addressbook   lines "Name <address>"
//   profile.ini   key=value lines: From= (the sender, "Name <address>" or an
//                 address), Sendmail= (the submission command, default
//                 "/usr/sbin/sendmail -t -i"), Maildir= (the user's own Maildir)
// Letters are submitted by writing them to the submission command's input;
// no shell runs it and no address is ever one of its arguments.
#include "email/EmailLetter.h"

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace quenby {

class LocalMailStore {
public:
    // Codes of the store, the published Simple MAPI ones.
    enum Code {
        SUCCESS = 0,
        FAILURE = 2,
        LOGIN_FAILURE = 3,
        ATTACHMENT_WRITE_FAILURE = 13,
        UNKNOWN_RECIPIENT = 14,
        NO_MESSAGES = 16,
        INVALID_MESSAGE = 17,
        AMBIGUOUS_RECIPIENT = 21,
    };

    LocalMailStore();
    ~LocalMailStore();
    LocalMailStore(const LocalMailStore&) = delete;
    LocalMailStore& operator=(const LocalMailStore&) = delete;

    // The folder that holds the profiles.
    static QString ProfilesFolder();

    // Logs on to a profile; session is set to a number above 0 on success.
    int Logon(const QString& profileName, int& session);
    int Logoff();
    bool loggedOn() const { return !profile_.isEmpty(); }

    // The id of the letter after seedId ("" = the first), new/ before cur/,
    // each in delivery order; NO_MESSAGES when there is none. The order is
    // taken when the seed is "".
    int FindNext(const QString& seedId, QString& foundId);

    // Reads a letter: its header fields, body, originator, recipients, and
    // its attachments written to a private temporary folder (PathName) with
    // their safe names (FileName).
    int ReadMail(const QString& id, int flags, MAPIMessage& message, MapiRecip& originator,
                 QList<MapiRecip>& recips, QList<MapiFile>& files);

    int DeleteMail(const QString& id);

    // Finds a name in the address book (case ignored, whole name).
    int ResolveName(const QString& name, MapiRecip& resolved);

    // Starts the submission command with the composed letter on its input.
    int StartSendMail(const MAPIMessage& message, const QList<MapiRecip>& recips);
    // True while the submission command runs; after its end, code is its
    // outcome. A command running longer than limitMs is killed and fails.
    bool SendRunning(int& code, int limitMs);
    // Kills a running submission command; the event loop reaps it.
    void KillSend();
    // Killed submission commands the event loop has not reaped yet.
    static int ProcessesBeingEnded();

    QString profileFolder() const { return profile_; }
    QString maildir() const { return maildir_; }
    QString fromSetting() const { return from_; }
    QStringList sendmailCommand() const { return sendmail_; }

private:
    QString profile_;
    QString maildir_;
    QString from_;
    QStringList sendmail_;
    QStringList order_;  // ids taken by the last FindNext from ""
    std::unique_ptr<QTemporaryDir> temp_;
    std::unique_ptr<QProcess> process_;
    qint64 sendStarted_ = 0;
    int readSerial_ = 0;
};

}  // namespace quenby
