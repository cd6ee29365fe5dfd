#include "platform/ProfileTail.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

struct Header {
    char magic[8];
    quint64 offset;   // where the tail goes
    quint64 oldSize;  // the file's size before the append
    quint64 newSize;  // and after it
    quint64 device;
    quint64 inode;
    quint64 anchor;  // hash of the bytes just before offset
    quint64 check;   // hash of this header (check 0) and the tail
};
static_assert(sizeof(Header) == ProfileTail::kHeaderSize);
constexpr char kMagic[8] = {'P', 'l', 'v', 'T', 'a', 'i', 'l', '1'};

quint64 Hash(QByteArrayView bytes, quint64 h = 14695981039346656037ull)
{
    for (const char c : bytes) {
        h ^= quint8(c);
        h *= 1099511628211ull;
    }
    return h;
}

quint64 Check(Header header, QByteArrayView tail)
{
    header.check = 0;
    return Hash(tail, Hash(QByteArrayView(reinterpret_cast<const char*>(&header), sizeof header)));
}

QByteArray Name(const QString& path) { return QFile::encodeName(ProfileTail::FileName(path)); }

}  // namespace

bool WriteFully(int fd, QByteArrayView bytes, off_t offset)
{
    const char* data = bytes.data();
    qsizetype size = bytes.size();
    while (size > 0) {
        const ssize_t n = pwrite(fd, data, size_t(size), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

std::optional<QByteArray> ReadFully(int fd, off_t offset, qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = pread(fd, bytes.data() + done, size_t(size - done), offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

void SyncFolderOf(const QString& path)
{
    const int fd = open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

QString ProfileTail::FileName(const QString& path) { return path + QStringLiteral(".~tail"); }

bool ProfileTail::Place(int fd, off_t offset, QByteArrayView tail, off_t size)
{
    return WriteFully(fd, tail, offset) && ftruncate(fd, size) == 0 && fsync(fd) == 0;
}

bool ProfileTail::Write(const QString& path, int fd, qint64 offset, qint64 oldSize, QByteArrayView before,
                        QByteArrayView tail)
{
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return false;
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof header.magic);
    header.offset = quint64(offset);
    header.oldSize = quint64(oldSize);
    header.newSize = quint64(offset + tail.size());
    header.device = quint64(st.st_dev);
    header.inode = quint64(st.st_ino);
    header.anchor = Hash(before.last(std::min<qint64>(before.size(), kAnchorSize)));
    header.check = Check(header, tail);

    const QByteArray side = Name(path);
    const int out = open(side.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0)
        return false;
    if (!WriteFully(out, QByteArrayView(reinterpret_cast<const char*>(&header), sizeof header), 0) ||
        !WriteFully(out, tail, sizeof header) || fsync(out) != 0) {
        const int e = errno;
        close(out);
        unlink(side.constData());
        errno = e;
        return false;
    }
    close(out);
    SyncFolderOf(path);
    return true;
}

bool ProfileTail::Recover(const QString& path)
{
    if (path.isEmpty())
        return true;
    const QByteArray side = Name(path);
    const int in = open(side.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0)
        return errno == ENOENT;
    struct stat sideStat {};
    std::optional<QByteArray> head;
    if (fstat(in, &sideStat) != 0 || !S_ISREG(sideStat.st_mode) || !(head = ReadFully(in, 0, kHeaderSize))) {
        close(in);
        return true;  // not one of ours
    }
    const QByteArrayView magic(kMagic, sizeof kMagic);
    if (head->size() < magic.size() ? !magic.startsWith(*head) : !head->startsWith(magic)) {
        close(in);
        return true;
    }
    auto discard = [&] {
        unlink(side.constData());
        return true;
    };
    Header header{};
    if (head->size() < qsizetype(sizeof header)) {
        close(in);
        return discard();
    }
    std::memcpy(&header, head->constData(), sizeof header);
    const quint64 length = quint64(sideStat.st_size) - sizeof header;
    if (header.offset > header.newSize || header.newSize - header.offset != length || header.offset > header.oldSize ||
        length > quint64(std::numeric_limits<qsizetype>::max())) {
        close(in);
        return discard();
    }
    const std::optional<QByteArray> tail = ReadFully(in, sizeof header, qint64(length));
    close(in);
    if (!tail || quint64(tail->size()) != length || Check(header, *tail) != header.check)
        return discard();

    const int fd = open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? discard() : false;
    auto giveUp = [&] {
        close(fd);
        return discard();
    };
    // Only the file the tail was set aside for, in a state the append can
    // leave it in.
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || quint64(st.st_dev) != header.device ||
        quint64(st.st_ino) != header.inode)
        return giveUp();
    const quint64 size = quint64(st.st_size);
    if (size < std::min(header.oldSize, header.newSize) || size > std::max(header.oldSize, header.newSize))
        return giveUp();
    const qint64 anchor = std::min<qint64>(qint64(header.offset), kAnchorSize);
    const std::optional<QByteArray> before = ReadFully(fd, off_t(header.offset) - off_t(anchor), anchor);
    if (!before || Hash(*before) != header.anchor)
        return giveUp();
    if (!Place(fd, off_t(header.offset), *tail, off_t(header.newSize))) {
        const int e = errno;
        close(fd);
        errno = e;
        return false;
    }
    close(fd);
    unlink(side.constData());
    SyncFolderOf(path);
    return true;
}

}  // namespace platform
