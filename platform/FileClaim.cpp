#include "platform/FileClaim.h"

#include "platform/ProfileTail.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The lock file for the file at path, or empty where none can be named.
QByteArray ClaimName(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo file(ProfileTail::Resolved(path));
    struct stat folder {};
    if (stat(QFile::encodeName(file.absolutePath()).constData(), &folder) != 0)
        return {};
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    const QString claims = runtime + QStringLiteral("/parlova/open");
    if (!QDir().mkpath(claims))
        return {};
    QFile::setPermissions(claims, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray key = QByteArray::number(quint64(folder.st_dev)) + ':' + QByteArray::number(quint64(folder.st_ino)) +
                           ':' + QFile::encodeName(file.fileName());
    return QFile::encodeName(claims) + '/' + QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex() +
           ".lock";
}

// The locks this running copy holds, by name.
QHash<QByteArray, std::weak_ptr<ProfileLock>>& Held()
{
    static QHash<QByteArray, std::weak_ptr<ProfileLock>> held;
    return held;
}

}  // namespace

FileClaim::FileClaim() = default;
FileClaim::~FileClaim() { release(); }
FileClaim::FileClaim(FileClaim&&) noexcept = default;

FileClaim& FileClaim::operator=(FileClaim&& other) noexcept
{
    if (this != &other) {
        release();
        key_ = std::move(other.key_);
        lock_ = std::move(other.lock_);
    }
    return *this;
}

bool FileClaim::take(const QString& path)
{
    const QByteArray name = ClaimName(path);
    if (!name.isEmpty() && name == key_)
        return true;
    release();
    if (name.isEmpty())
        return true;
    std::shared_ptr<ProfileLock> lock = Held().value(name).lock();
    if (!lock) {
        lock = std::make_shared<ProfileLock>();
        if (!lock->acquire(name, O_RDWR | O_CREAT | O_NOFOLLOW, 0))
            return errno != EWOULDBLOCK;
        Held().insert(name, lock);
    }
    key_ = name;
    lock_ = std::move(lock);
    return true;
}

void FileClaim::release()
{
    // Removed while still locked: whoever opened it meanwhile finds the
    // name gone once it has the lock, and makes a new one.
    if (lock_ && lock_.use_count() == 1) {
        Held().remove(key_);
        if (lock_->fd() >= 0)
            unlink(key_.constData());
    }
    lock_.reset();
    key_.clear();
}

bool FileClaim::covers(const QString& path) const { return !key_.isEmpty() && ClaimName(path) == key_; }

bool FileClaim::HeldElsewhere(const QString& path)
{
    const QByteArray name = ClaimName(path);
    if (name.isEmpty() || !Held().value(name).expired())
        return false;
    // Looked at without making the lock file, so no stray file is left.
    ProfileLock lock;
    return !lock.acquire(name, O_RDONLY | O_NOFOLLOW, 0) && errno == EWOULDBLOCK;
}

}  // namespace platform
