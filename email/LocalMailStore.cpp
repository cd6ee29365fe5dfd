#include "email/LocalMailStore.h"

#include "email/AttachmentName.h"
#include "email/LetterComposer.h"
#include "email/MimeLetter.h"
#include "email/QuenbyGlobalObjs.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace quenby {
namespace {

const QString kDefaultSendmail = QStringLiteral("/usr/sbin/sendmail -t -i");
// Simple MAPI's flag of an unread letter.
constexpr qint32 kMapiUnread = 1;
constexpr qint32 kMapiOrig = 0;

int g_lastSession = 0;
// Submission commands killed and not yet reaped.
int g_ending = 0;

bool IsPlainName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return false;
    return true;
}

// key=value lines; keys without regard to case; sections and comments skipped.
QList<QPair<QString, QString>> ReadProfileIni(const QString& path)
{
    QList<QPair<QString, QString>> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& raw : lines) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char('[')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        out.append({line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
    return out;
}

QString IniValue(const QList<QPair<QString, QString>>& ini, const char* key)
{
    for (const auto& kv : ini)
        if (kv.first.compare(QLatin1String(key), Qt::CaseInsensitive) == 0)
            return kv.second;
    return QString();
}

// "Name <address>", "\"Name\" <address>" or a bare address.
ComposedAddress ParseNameAddress(const QString& text)
{
    const QString t = text.trimmed();
    const qsizetype lt = t.lastIndexOf(QLatin1Char('<'));
    const qsizetype gt = t.lastIndexOf(QLatin1Char('>'));
    if (lt < 0 || gt < lt)
        return ComposedAddress{QString(), t};
    QString name = t.left(lt).trimmed();
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    return ComposedAddress{name, t.mid(lt + 1, gt - lt - 1).trimmed()};
}

struct Delivered {
    QString id;
    qint64 seconds;
    qint64 micros;
};

// Maildir names begin with the delivery time: "secs.Musec..." or "secs.xxx".
Delivered DeliveryOf(const QString& sub, const QFileInfo& info)
{
    const QString name = info.fileName();
    Delivered d{sub + QLatin1Char('/') + name, -1, 0};
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    bool ok = false;
    const qint64 secs = name.left(dot < 0 ? name.size() : dot).toLongLong(&ok);
    if (ok && secs >= 0) {
        d.seconds = secs;
        if (dot >= 0 && name.mid(dot + 1).startsWith(QLatin1Char('M'))) {
            qsizetype end = dot + 2;
            while (end < name.size() && name.at(end).isDigit())
                ++end;
            d.micros = name.mid(dot + 2, end - dot - 2).toLongLong();
        }
    } else {
        d.seconds = info.lastModified().toSecsSinceEpoch();
    }
    return d;
}

}  // namespace

LocalMailStore::LocalMailStore() = default;

LocalMailStore::~LocalMailStore() { KillSend(); }

QString LocalMailStore::ProfilesFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Parlova/Mail");
}

int LocalMailStore::Logon(const QString& profileName, int& session)
{
    if (!IsPlainName(profileName))
        return LOGIN_FAILURE;
    const QString folder = ProfilesFolder() + QLatin1Char('/') + profileName;
    if (!QFileInfo(folder).isDir())
        return LOGIN_FAILURE;
    const auto ini = ReadProfileIni(folder + QStringLiteral("/profile.ini"));
    QString maildir = IniValue(ini, "Maildir");
    if (maildir.startsWith(QLatin1String("~/")))
        maildir = QDir::homePath() + maildir.mid(1);
    if (!maildir.isEmpty() && QDir::isRelativePath(maildir))
        maildir = folder + QLatin1Char('/') + maildir;
    if (maildir.isEmpty()) {
        // The profile's own inbox is made on first use.
        maildir = folder + QStringLiteral("/Maildir");
        QDir dir;
        for (const char* sub : {"/new", "/cur", "/tmp"})
            if (!dir.mkpath(maildir + QLatin1String(sub)))
                return LOGIN_FAILURE;
    }
    if (!QFileInfo(maildir + QStringLiteral("/new")).isDir() || !QFileInfo(maildir + QStringLiteral("/cur")).isDir())
        return LOGIN_FAILURE;
    QString sendmail = IniValue(ini, "Sendmail");
    QStringList command = QProcess::splitCommand(sendmail.isEmpty() ? kDefaultSendmail : sendmail);
    if (command.isEmpty())
        command = QProcess::splitCommand(kDefaultSendmail);

    auto temp = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/parlova-mail-XXXXXX"));
    if (!temp->isValid())
        return FAILURE;
    profile_ = QDir::cleanPath(folder);
    maildir_ = QDir::cleanPath(maildir);
    from_ = IniValue(ini, "From");
    sendmail_ = command;
    order_.clear();
    temp_ = std::move(temp);
    session = ++g_lastSession;
    return SUCCESS;
}

int LocalMailStore::Logoff()
{
    if (!loggedOn())
        return FAILURE;
    profile_.clear();
    maildir_.clear();
    order_.clear();
    temp_.reset();
    return SUCCESS;
}

int LocalMailStore::FindNext(const QString& seedId, QString& foundId)
{
    if (!loggedOn())
        return FAILURE;
    if (seedId.isEmpty()) {
        order_.clear();
        for (const char* sub : {"new", "cur"}) {
            QDir dir(maildir_ + QLatin1Char('/') + QLatin1String(sub));
            const QFileInfoList entries =
                dir.entryInfoList(QDir::Files | QDir::NoSymLinks | QDir::NoDotAndDotDot, QDir::Name);
            QList<Delivered> list;
            for (const QFileInfo& info : entries)
                list.append(DeliveryOf(QLatin1String(sub), info));
            std::stable_sort(list.begin(), list.end(), [](const Delivered& a, const Delivered& b) {
                if (a.seconds != b.seconds)
                    return a.seconds < b.seconds;
                return a.micros < b.micros;
            });
            for (const Delivered& d : list)
                order_.append(d.id);
        }
        if (order_.isEmpty())
            return NO_MESSAGES;
        foundId = order_.first();
        return SUCCESS;
    }
    const qsizetype at = order_.indexOf(seedId);
    if (at < 0 || at + 1 >= order_.size())
        return NO_MESSAGES;
    foundId = order_.at(at + 1);
    return SUCCESS;
}

namespace {

// "new/name" or "cur/name", nothing that leaves the Maildir.
bool IsMessageId(const QString& id)
{
    if (!id.startsWith(QLatin1String("new/")) && !id.startsWith(QLatin1String("cur/")))
        return false;
    const QString name = id.mid(4);
    return IsPlainName(name) && !name.startsWith(QLatin1Char('.'));
}

}  // namespace

int LocalMailStore::ReadMail(const QString& id, int flags, MAPIMessage& message, MapiRecip& originator,
                             QList<MapiRecip>& recips, QList<MapiFile>& files)
{
    Q_UNUSED(flags);
    if (!loggedOn())
        return FAILURE;
    if (!IsMessageId(id))
        return INVALID_MESSAGE;
    const QString path = maildir_ + QLatin1Char('/') + id;
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return INVALID_MESSAGE;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FAILURE;
    const QByteArray raw = file.readAll();
    file.close();
    MimeLetter letter;
    if (!ParseMimeLetter(raw, letter))
        return INVALID_MESSAGE;

    // The attachments of each letter go into a folder of their own, so
    // that equal names of two letters never meet.
    QList<MapiFile> saved;
    if (!letter.attachments.isEmpty()) {
        if (!temp_ || !temp_->isValid())
            return ATTACHMENT_WRITE_FAILURE;
        const QString sub = temp_->path() + QLatin1Char('/') + QString::number(++readSerial_);
        if (!QDir().mkdir(sub))
            return ATTACHMENT_WRITE_FAILURE;
        int counter = 0;
        for (const MimeAttachment& a : letter.attachments) {
            const QString name = AttachmentFileName(a.fileName);
            QString where;
            if (!SaveNewFile(sub + QLatin1Char('/'), name, a.content, counter, where).isEmpty()) {
                QDir(sub).removeRecursively();
                return ATTACHMENT_WRITE_FAILURE;
            }
            MapiFile f;
            f.PathName = where;
            f.FileName = name;
            saved.append(f);
        }
    }

    const Delivered delivered = DeliveryOf(id.left(3), info);
    message = MAPIMessage();
    message.Subject = letter.subject;
    message.NoteText = letter.body;
    message.DateReceived =
        QDateTime::fromSecsSinceEpoch(delivered.seconds).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    message.Flags = id.startsWith(QLatin1String("new/")) || !id.contains(QLatin1String(":2,S")) ? kMapiUnread : 0;
    message.RecipCount = static_cast<qint32>(letter.to.size());
    message.FileCount = static_cast<qint32>(saved.size());
    originator = MapiRecip();
    originator.RecipClass = kMapiOrig;
    originator.Name = letter.from.name;
    originator.Address = letter.from.address;
    recips.clear();
    for (const MimeAddress& a : letter.to) {
        MapiRecip r;
        r.RecipClass = kRecipTo;
        r.Name = a.name;
        r.Address = a.address;
        recips.append(r);
    }
    files = saved;
    return SUCCESS;
}

int LocalMailStore::DeleteMail(const QString& id)
{
    if (!loggedOn())
        return FAILURE;
    if (!IsMessageId(id))
        return INVALID_MESSAGE;
    return QFile::remove(maildir_ + QLatin1Char('/') + id) ? SUCCESS : FAILURE;
}

int LocalMailStore::ResolveName(const QString& name, MapiRecip& resolved)
{
    if (!loggedOn())
        return FAILURE;
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return UNKNOWN_RECIPIENT;
    QFile file(profile_ + QStringLiteral("/addressbook"));
    if (!file.open(QIODevice::ReadOnly))
        return UNKNOWN_RECIPIENT;
    QList<ComposedAddress> found;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const ComposedAddress entry = ParseNameAddress(line);
        if (entry.name.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        const bool known = std::any_of(found.begin(), found.end(), [&entry](const ComposedAddress& f) {
            return f.address.compare(entry.address, Qt::CaseInsensitive) == 0;
        });
        if (!known)
            found.append(entry);
    }
    if (found.isEmpty())
        return UNKNOWN_RECIPIENT;
    if (found.size() > 1)
        return AMBIGUOUS_RECIPIENT;
    if (!IsSafeAddress(found.first().address))
        return UNKNOWN_RECIPIENT;
    resolved = MapiRecip();
    resolved.RecipClass = kRecipTo;
    resolved.Name = found.first().name;
    resolved.Address = found.first().address;
    return SUCCESS;
}

int LocalMailStore::StartSendMail(const MAPIMessage& message, const QList<MapiRecip>& recips)
{
    if (!loggedOn())
        return FAILURE;
    if (process_ && process_->state() != QProcess::NotRunning)
        return FAILURE;
    ComposedAddress from;
    if (!from_.isEmpty()) {
        from = ParseNameAddress(from_);
        if (!IsSafeAddress(from.address))
            return FAILURE;
    }
    QList<ComposedAddress> to;
    for (const MapiRecip& r : recips) {
        if (!IsSafeAddress(r.Address))
            return UNKNOWN_RECIPIENT;
        to.append(ComposedAddress{r.Name, r.Address});
    }
    const QByteArray letter = ComposeLetter(from, to, message.Subject, message.NoteText, false);

    process_ = std::make_unique<QProcess>();
    process_->setProgram(sendmail_.first());
    process_->setArguments(sendmail_.mid(1));
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->start(QIODevice::ReadWrite);
    // A command that could not start fails at the next look at it.
    if (process_->state() != QProcess::NotRunning) {
        process_->write(letter);
        process_->closeWriteChannel();
    }
    sendStarted_ = platform::TickCount();
    DebugTrace(QStringLiteral("Submit with ") + sendmail_.join(QLatin1Char(' ')));
    return SUCCESS;
}

bool LocalMailStore::SendRunning(int& code, int limitMs)
{
    if (!process_) {
        code = SUCCESS;
        return false;
    }
    // The event loop keeps the process's state and output up to date; only
    // what already happened is taken here.
    if (process_->state() != QProcess::NotRunning) {
        process_->readAll();
        if (platform::TickCount() - sendStarted_ <= limitMs)
            return true;
        DebugTrace(QStringLiteral("Submission command takes too long; ended"));
        KillSend();
        code = FAILURE;
        return false;
    }
    const QString output = QString::fromLocal8Bit(process_->readAll()).trimmed();
    if (!output.isEmpty())
        DebugTrace(QStringLiteral("Submission command said: ") + output.left(2000));
    const bool ok = process_->error() != QProcess::FailedToStart && process_->exitStatus() == QProcess::NormalExit &&
                    process_->exitCode() == 0;
    code = ok ? SUCCESS : FAILURE;
    return false;
}

void LocalMailStore::KillSend()
{
    if (!process_)
        return;
    if (process_->state() == QProcess::NotRunning) {
        process_.reset();
        return;
    }
    // Reaped by the event loop: waiting for it here would stall the thread,
    // and so would destroying a QProcess that still runs.
    QProcess* dying = process_.release();
    ++g_ending;
    if (QCoreApplication* app = QCoreApplication::instance()) {
        // Queued, so that it is let go outside its own signal.
        QObject::connect(
            dying, &QProcess::finished, app,
            [dying] {
                --g_ending;
                delete dying;
            },
            Qt::QueuedConnection);
    } else {
        QObject::connect(dying, &QProcess::finished, dying, [dying] {
            --g_ending;
            dying->deleteLater();
        });
    }
    dying->kill();
}

int LocalMailStore::ProcessesBeingEnded() { return g_ending; }

}  // namespace quenby
