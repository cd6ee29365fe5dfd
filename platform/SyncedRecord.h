#pragma once
// A few bytes kept in a file of their own and rewritten in place with one
// synced write: for a value that changes often and must outlive a kill or a
// power cut, where a settings write (a lock file, a new copy of the whole
// file, two syncs and a rename) costs several times as much. A write of the
// size the file has already changes no more than its bytes; a reader checks
// what it reads, since a failed write may leave part of the new bytes.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace platform {

// At most maxSize bytes of the file; nullopt when there is none or it
// cannot be read.
std::optional<QByteArray> ReadRecord(const QString& path, qint64 maxSize);
// True once the bytes are on the disk. A new file is made private to the
// user; its folder is not made.
bool WriteRecord(const QString& path, QByteArrayView bytes);
// True when no file is left at path.
bool RemoveRecord(const QString& path);

}  // namespace platform
