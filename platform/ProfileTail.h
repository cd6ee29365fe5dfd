#pragma once
// The side file ("path.~tail") through which an append to a profile file
// goes: the new tail, where it goes and which file it is for, synced
// before the file itself is touched. A kill at any moment leaves either a
// side file that Recover() discards (the old file untouched) or a complete
// one that it writes in place (the new file), whatever part of the write
// in place was done. Errors come back in errno.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

#include <sys/types.h>

namespace platform {

class ProfileTail {
public:
    static QString FileName(const QString& path);

    // The side file for tail, which goes at offset of the file open as fd
    // (its size now oldSize), before being the bytes of the file just
    // before offset. Nothing is left behind on failure.
    static bool Write(const QString& path, int fd, qint64 offset, qint64 oldSize, QByteArrayView before,
                      QByteArrayView tail);
    // Finishes a complete side file and removes it; removes one that is
    // not complete or no longer fits the file; leaves alone a file of that
    // name that is not a side file. False when the finish failed (the side
    // file stays for the next try).
    static bool Recover(const QString& path);
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
void SyncFolderOf(const QString& path);

}  // namespace platform
