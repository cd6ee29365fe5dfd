#include "support/MaildirProfile.h"

#include <QDir>
#include <QFile>

namespace testsupport {

MaildirProfile::MaildirProfile(const QString& profileName) : name_(profileName)
{
    hadPrevious_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    previous_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data_.path()));
    QDir dir;
    for (const char* sub : {"/new", "/cur", "/tmp"})
        dir.mkpath(maildir() + QLatin1String(sub));
}

MaildirProfile::~MaildirProfile()
{
    if (hadPrevious_)
        qputenv("XDG_DATA_HOME", previous_);
    else
        qunsetenv("XDG_DATA_HOME");
}

QString MaildirProfile::folder() const { return data_.path() + QStringLiteral("/Parlova/Mail/") + name_; }

QString MaildirProfile::maildir() const { return folder() + QStringLiteral("/Maildir"); }

QString MaildirProfile::deliver(const QByteArray& letter, qint64 deliveredSecs, bool intoCur)
{
    const QString name = QString::number(deliveredSecs) + QStringLiteral(".M") + QString::number(++serial_) +
                         QStringLiteral("P1.test") + (intoCur ? QStringLiteral(":2,S") : QString());
    const QString id = (intoCur ? QStringLiteral("cur/") : QStringLiteral("new/")) + name;
    QFile f(maildir() + QLatin1Char('/') + id);
    if (f.open(QIODevice::WriteOnly))
        f.write(letter);
    return id;
}

void MaildirProfile::writeAddressBook(const QStringList& lines)
{
    QFile f(folder() + QStringLiteral("/addressbook"));
    if (f.open(QIODevice::WriteOnly))
        f.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
}

void MaildirProfile::writeProfileIni(const QStringList& lines)
{
    QFile f(folder() + QStringLiteral("/profile.ini"));
    if (f.open(QIODevice::WriteOnly))
        f.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
}

int MaildirProfile::letterCount() const
{
    int n = 0;
    for (const char* sub : {"/new", "/cur"})
        n += static_cast<int>(QDir(maildir() + QLatin1String(sub)).entryList(QDir::Files).size());
    return n;
}

}  // namespace testsupport
