#include "platform/SyncedRecord.h"

#include "platform/ProfileTail.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

RecordRead ReadRecord(const QString& path, qint64 maxSize)
{
    const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return {errno != ENOENT, std::nullopt};
    RecordRead read{true, std::nullopt};
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        read.bytes = ReadFully(fd, 0, maxSize);
    close(fd);
    return read;
}

bool WriteRecord(const QString& path, QByteArrayView bytes)
{
    const QByteArray name = QFile::encodeName(path);
    // Not held up by a pipe or device that took the name.
    int fd = open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    bool made = false;
    if (fd < 0 && errno == ENOENT) {
        fd = open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        made = fd >= 0;
    }
    if (fd < 0)
        return false;
    struct stat st {};
    const bool written = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && WriteFully(fd, bytes, 0) &&
                         (st.st_size == bytes.size() || ftruncate(fd, bytes.size()) == 0) && fdatasync(fd) == 0;
    close(fd);
    // The name of a new file lasts only once its folder is synced too.
    if (written && made)
        SyncFolderOf(path);
    return written;
}

bool RemoveRecord(const QString& path)
{
    return unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

}  // namespace platform
