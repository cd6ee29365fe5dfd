#pragma once
// This running copy's hold on a file, so that another copy of the program
// does not open it too. A locked file in the runtime folder stands for it,
// named after the file's folder (device and inode) and the file's name:
// every path to the file, symbolic links included, leads to the same
// claim, and a whole save, which renames a new file into place, keeps it.
// The lock is the kernel's (flock), so it goes with the process: a copy
// that was killed leaves nothing that stops the next one. Within one
// running copy the claims of a file share one lock.
#include <QByteArray>
#include <QString>

#include <memory>

namespace platform {

class ProfileLock;

class FileClaim {
public:
    FileClaim();
    ~FileClaim();
    FileClaim(FileClaim&&) noexcept;
    FileClaim& operator=(FileClaim&&) noexcept;

    // Claims the file at path, letting go of the one held before. False
    // when another running copy holds it. Where nothing can tell (no
    // runtime folder, a folder that does not exist yet, no locks), the
    // file is taken unclaimed.
    bool take(const QString& path);
    void release();
    // Whether the claim held is that of the file at path.
    bool covers(const QString& path) const;
    // Whether another running copy, not this one, holds the file at path.
    static bool HeldElsewhere(const QString& path);

private:
    QByteArray key_;  // the lock file's name; empty while nothing is held
    std::shared_ptr<ProfileLock> lock_;
};

}  // namespace platform
