#include "platform/ProfileTail.h"

#include "platform/ProfileFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/file.h>
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
    quint64 check;   // hash of this header (check 0), the tail and the bytes it replaces
};
static_assert(sizeof(Header) == ProfileTail::kHeaderSize);
// Side files of the first kind held no replaced bytes and cannot be told
// apart from a side file of another state of the file: never finished.
constexpr char kMagic[8] = {'P', 'l', 'v', 'T', 'a', 'i', 'l', '2'};
constexpr qsizetype kKindSize = 7;  // "PlvTail": a side file of any kind

quint64 Hash(QByteArrayView bytes, quint64 h = 14695981039346656037ull)
{
    for (const char c : bytes) {
        h ^= quint8(c);
        h *= 1099511628211ull;
    }
    return h;
}

quint64 Check(Header header, QByteArrayView body)
{
    header.check = 0;
    return Hash(body, Hash(QByteArrayView(reinterpret_cast<const char*>(&header), sizeof header)));
}

// A side file of the file open with this status.
bool Owns(const Header& header, const struct stat& st)
{
    return std::memcmp(header.magic, kMagic, sizeof kMagic) == 0 && header.device == quint64(st.st_dev) &&
           header.inode == quint64(st.st_ino);
}

QByteArray Name(const QString& path) { return QFile::encodeName(ProfileTail::FileName(path)); }

int (*g_folderSync)(int) = ::fsync;

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    operator int() const { return fd_; }

private:
    int fd_;
};

bool OfOurKind(const QByteArray& head)
{
    const QByteArrayView kind(kMagic, kKindSize);
    return head.size() < kind.size() ? kind.startsWith(head) : head.startsWith(kind);
}

// Whether the file, open as fd with size bytes, is in a state the append
// can leave it in on its way from the replaced bytes to the tail: as long
// as either, or anywhere between, and each byte from the offset on the
// replaced one or the tail's. A kill leaves the tail's first bytes over the
// replaced ones; a power cut may have kept any of the written pages.
bool Fits(int fd, qint64 size, const Header& h, QByteArrayView tail, QByteArrayView replaced, qint64& bytesRead)
{
    const qint64 offset = qint64(h.offset);
    if (size < offset + std::min(tail.size(), replaced.size()) || size > offset + std::max(tail.size(), replaced.size()))
        return false;
    const qint64 anchor = std::min<qint64>(offset, ProfileTail::kAnchorSize);
    const std::optional<QByteArray> before = ReadFully(fd, off_t(offset - anchor), anchor);
    if (!before || Hash(*before) != h.anchor)
        return false;
    bytesRead += before->size();
    const qint64 length = size - offset;
    constexpr qint64 kChunk = 65536;
    for (qint64 at = 0; at < length; at += kChunk) {
        const qint64 wanted = std::min(kChunk, length - at);
        const std::optional<QByteArray> chunk = ReadFully(fd, off_t(offset + at), wanted);
        if (!chunk || chunk->size() != wanted)
            return false;
        bytesRead += chunk->size();
        for (qint64 i = 0; i < chunk->size(); ++i) {
            const qint64 k = at + i;
            const char c = chunk->at(i);
            if (!(k < tail.size() && tail[k] == c) && !(k < replaced.size() && replaced[k] == c))
                return false;
        }
    }
    return true;
}

}  // namespace

ProfileLock::~ProfileLock() { release(); }

void ProfileLock::release()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}

bool ProfileLock::writable() const { return fd_ >= 0 && (fcntl(fd_, F_GETFL) & O_ACCMODE) == O_RDWR; }

bool ProfileLock::acquire(const QByteArray& name, int flags, int waitMs)
{
    constexpr int kPauseMs = 5;
    // Each round a whole save came in between; a few rounds are plenty.
    for (int round = 0; round < 8; ++round) {
        release();
        // Not blocking: a FIFO put in the file's place opens at once, for the caller to refuse.
        fd_ = open(name.constData(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
        if (fd_ < 0)
            return false;
        for (int waited = 0; flock(fd_, LOCK_EX | LOCK_NB) != 0;) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK)
                break;
            if (waited >= waitMs) {
                release();
                errno = EWOULDBLOCK;
                return false;
            }
            const timespec pause{0, kPauseMs * 1000000L};
            nanosleep(&pause, nullptr);
            waited += kPauseMs;
        }
        struct stat now {};
        if (fstat(fd_, &status_) != 0) {
            const int e = errno;
            release();
            errno = e;
            return false;
        }
        if (stat(name.constData(), &now) == 0 && now.st_dev == status_.st_dev && now.st_ino == status_.st_ino)
            return true;
    }
    release();
    errno = EWOULDBLOCK;
    return false;
}

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

void SetFolderSync(int (*sync)(int fd)) { g_folderSync = sync ? sync : ::fsync; }

bool SyncFolderOf(const QString& path)
{
    const Fd fd(open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd >= 0 && g_folderSync(fd) == 0;
}

QString ProfileTail::Resolved(const QString& path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? path : resolved;
}

QString ProfileTail::FileName(const QString& path) { return Resolved(path) + QStringLiteral(".~tail"); }

bool ProfileTail::Place(int fd, off_t offset, QByteArrayView tail, off_t size)
{
    return WriteFully(fd, tail, offset) && ftruncate(fd, size) == 0 && fsync(fd) == 0;
}

bool ProfileTail::Write(const QString& path, int fd, qint64 offset, qint64 oldSize, QByteArrayView before,
                        QByteArrayView tail, QByteArrayView replaced)
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
    header.check = Hash(replaced, Check(header, tail));

    const QByteArray side = Name(path);
    const int out = open(side.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0)
        return false;
    bool written = WriteFully(out, QByteArrayView(reinterpret_cast<const char*>(&header), sizeof header), 0) &&
                   WriteFully(out, tail, sizeof header) && WriteFully(out, replaced, off_t(sizeof header + tail.size())) &&
                   fsync(out) == 0;
    close(out);
    // Without its name synced the side file may be gone after a crash that
    // leaves the file half written.
    written = written && SyncFolderOf(QFile::decodeName(side));
    if (!written) {
        const int e = errno;
        unlink(side.constData());
        errno = e;
    }
    return written;
}

TailRecovery ProfileTail::Recover(const QString& path, int fd)
{
    TailRecovery r;
    const QByteArray side = Name(path);
    const Fd in(open(side.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat sideStat {};
    struct stat st {};
    std::optional<QByteArray> head;
    if (in < 0 || fstat(in, &sideStat) != 0 || !S_ISREG(sideStat.st_mode) || fstat(fd, &st) != 0 ||
        !(head = ReadFully(in, 0, kHeaderSize)) || !OfOurKind(*head))
        return r;  // none, or not a side file
    r.bytesRead += head->size();
    auto discard = [&] {
        unlink(side.constData());
        return r;
    };
    Header header{};
    if (head->size() < qsizetype(sizeof header))
        return discard();  // cut short by a kill
    std::memcpy(&header, head->constData(), sizeof header);
    if (!Owns(header, st))
        return r;  // another file's
    // Bounded like the file itself, before any more of it is read.
    const quint64 max = quint64(ProfileFile::kMaxSize);
    if (header.offset > header.oldSize || header.offset > header.newSize || header.oldSize > max ||
        header.newSize > max ||
        quint64(sideStat.st_size) != sizeof header + (header.newSize - header.offset) + (header.oldSize - header.offset))
        return discard();
    const qint64 tailSize = qint64(header.newSize - header.offset);
    const std::optional<QByteArray> body = ReadFully(in, sizeof header, tailSize + qint64(header.oldSize - header.offset));
    if (!body)
        return r;
    r.bytesRead += body->size();
    if (quint64(body->size()) != header.newSize + header.oldSize - 2 * header.offset || Check(header, *body) != header.check)
        return discard();
    const QByteArrayView tail = QByteArrayView(*body).first(tailSize);
    if (!Fits(fd, qint64(st.st_size), header, tail, QByteArrayView(*body).sliced(tailSize), r.bytesRead))
        return discard();

    // Written through fd when it allows, else through a new descriptor for the same file.
    int out = fd;
    std::optional<Fd> opened;
    if ((fcntl(fd, F_GETFL) & O_ACCMODE) != O_RDWR) {
        struct stat outStat {};
        opened.emplace(open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
        out = *opened;
        if (out >= 0 && (fstat(out, &outStat) != 0 || outStat.st_dev != st.st_dev || outStat.st_ino != st.st_ino)) {
            out = -1;
            errno = EAGAIN;
        }
    }
    if (out < 0 || !Place(out, off_t(header.offset), tail, off_t(header.newSize))) {
        r.unwritten = true;
        r.error = errno;
        r.offset = qint64(header.offset);
        r.tail = tail.toByteArray();
        return r;
    }
    r.bytesWritten += tail.size();
    unlink(side.constData());
    // Unchecked: a side file that comes back finds its tail in place and
    // writes it again.
    SyncFolderOf(QFile::decodeName(side));
    return r;
}

void ProfileTail::RemoveOwn(const QString& path, const struct stat& st)
{
    const QByteArray side = Name(path);
    const Fd in(open(side.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    Header header{};
    if (in < 0 || pread(in, &header, sizeof header, 0) != qint64(sizeof header))
        return;
    if (Owns(header, st))
        unlink(side.constData());
}

}  // namespace platform
