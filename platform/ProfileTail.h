#pragma once
// The side file ("path.~tail") through which an append to a profile file
// goes: the new tail, the bytes it replaces, where it goes and which file it
// is for, synced (its folder too) before the file itself is touched. A kill
// at any moment leaves either a side file that Recover() discards (the old
// file untouched) or a complete one that it writes in place (the new file),
// whatever part of the write in place was done. The side file belongs to
// the file, not to one of its names: it is named after the path with its
// symbolic links resolved, and holds the file's device and inode and the
// very bytes it replaces, so that it is only ever finished over the state
// it was made for. Errors come back in errno.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

#include <sys/stat.h>
#include <sys/types.h>

namespace platform {

// An exclusive advisory lock (flock) on a profile file, held while this
// lives. It is taken on the file itself, so that nothing is left beside it
// and a read-only folder needs nothing made. A whole save renames a new
// file over the name, and a lock on the file replaced keeps out nobody who
// opens the name afterwards: so once locked, the name must still lead to
// the file locked, else the new one is opened and locked in its turn.
class ProfileLock {
public:
    ProfileLock() = default;
    ~ProfileLock();
    ProfileLock(const ProfileLock&) = delete;
    ProfileLock& operator=(const ProfileLock&) = delete;

    // Opens name for reading or for reading and writing (flags; with
    // O_CREAT a new file is private to the user) and locks it, trying again
    // for up to waitMs while another holds the lock. False with errno: the
    // open's, or EWOULDBLOCK when it stayed busy. Where the filesystem has
    // no locks the file is used unlocked.
    bool acquire(const QByteArray& name, int flags, int waitMs);
    // -1 until acquired.
    int fd() const { return fd_; }
    bool writable() const;
    // The file as it was when locked.
    const struct stat& status() const { return status_; }

private:
    void release();

    int fd_ = -1;
    struct stat status_ {};
};

// What Recover() did beyond finishing or removing a side file.
struct TailRecovery {
    // A side file of the file's own whose finish could not be written (a
    // read-only file or filesystem, a full disk): the file reads as its
    // bytes up to offset followed by tail, and the side file stays for a
    // later write. error tells why.
    bool unwritten = false;
    qint64 offset = 0;
    QByteArray tail;
    int error = 0;
    qint64 bytesRead = 0;
    qint64 bytesWritten = 0;
};

class ProfileTail {
public:
    // The path with its symbolic links resolved; as given when it names no file.
    static QString Resolved(const QString& path);
    static QString FileName(const QString& path);

    // The side file for tail, which goes at offset of the file open as fd
    // (its size now oldSize) in place of replaced, the bytes from offset to
    // the end; before are the file's bytes just before offset. Nothing is
    // left behind on failure; EEXIST when a side file is already there.
    static bool Write(const QString& path, int fd, qint64 offset, qint64 oldSize, QByteArrayView before,
                      QByteArrayView tail, QByteArrayView replaced);
    // With the file at path open as fd and locked: finishes a side file of
    // its own and removes it; removes one of its own that is incomplete,
    // larger than a conversation can be, or made for another state of the
    // file; leaves in place, unread beyond its header, a side file of
    // another file (a copied folder) and a file of that name that is not a
    // side file.
    static TailRecovery Recover(const QString& path, int fd);
    // Removes the side file of path when it was made for the file of status st.
    static void RemoveOwn(const QString& path, const struct stat& st);
    // The tail at offset, the file cut at size, synced.
    static bool Place(int fd, off_t offset, QByteArrayView tail, off_t size);

    // The bytes a side file holds before its tail.
    static constexpr qint64 kHeaderSize = 64;
    // How many bytes before the tail identify the file's head.
    static constexpr qint64 kAnchorSize = 64;
};

// pwrite until done.
bool WriteFully(int fd, QByteArrayView bytes, off_t offset);
// pread of up to size bytes; fewer at the end of the file.
std::optional<QByteArray> ReadFully(int fd, off_t offset, qint64 size);
// fsync of the folder that holds path, so that a name made or renamed lasts.
// False, with errno, when it failed.
bool SyncFolderOf(const QString& path);
// What syncs a folder: fsync, or for tests one that fails; null puts fsync back.
void SetFolderSync(int (*sync)(int fd));

}  // namespace platform
