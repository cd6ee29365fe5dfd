#pragma once
// A few bytes kept in a file of their own and rewritten in place with one
// synced write: for a value that changes often and must outlive a kill or a
// power cut, where a settings write (a lock file, a new copy of the whole
// file, two syncs and a rename) costs several times as much. A write of the
// size the file has already changes no more than its bytes; a reader checks
// what it reads, since a failed write may leave part of the new bytes.
// A symbolic link at the record's name is never followed: a link planted
// there is neither read as the record nor written through.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace platform {

struct RecordRead {
    // Something has the name: a record, or a link, folder, pipe or file that
    // cannot be read.
    bool there = false;
    // At most maxSize bytes of it, when it is a file that could be read.
    std::optional<QByteArray> bytes;
};
RecordRead ReadRecord(const QString& path, qint64 maxSize);
// True once the bytes are on the disk. A new file is made private to the
// user; its folder is not made.
bool WriteRecord(const QString& path, QByteArrayView bytes);
// True when no file is left at path.
bool RemoveRecord(const QString& path);

}  // namespace platform
