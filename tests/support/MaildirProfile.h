#pragma once
// A local mail store profile for the tests: a data folder of its own
// (XDG_DATA_HOME points at it while the object lives), a profile folder
// with its Maildir, address book and profile.ini.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

class MaildirProfile {
public:
    explicit MaildirProfile(const QString& profileName = QStringLiteral("Ann"));
    ~MaildirProfile();
    MaildirProfile(const MaildirProfile&) = delete;
    MaildirProfile& operator=(const MaildirProfile&) = delete;

    QString name() const { return name_; }
    QString folder() const;   // the profile's folder
    QString maildir() const;  // its Maildir
    QString dataHome() const { return data_.path(); }

    // Drops a letter into new/ (or cur/) under a Maildir name that starts
    // with the given delivery time; returns the id ("new/<name>").
    QString deliver(const QByteArray& letter, qint64 deliveredSecs, bool intoCur = false);
    void writeAddressBook(const QStringList& lines);
    void writeProfileIni(const QStringList& lines);
    // Files in new/ and cur/.
    int letterCount() const;

private:
    QTemporaryDir data_;
    QString name_;
    QByteArray previous_;
    bool hadPrevious_ = false;
    int serial_ = 0;
};

}  // namespace testsupport
