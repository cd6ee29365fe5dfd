#pragma once
// Our own private-profile (INI) functions: bytes in, bytes out, with the
// semantics stored files rely on. A leading UTF-8 byte-order mark is kept
// but belongs to no line. Lines end at LF, CR LF or CR; a section header is a line whose first non-blank character is "["; lines before the
// first header belong to no section; names compare without case and the
// first of duplicates wins; keys and values are read trimmed, one pair of
// outer quotes stripped. Edits keep every other byte of the file as it was.
//
// Edits change the copy in memory; commit() replaces the file through a
// temporary file ("path.~"), fsync and a rename, keeping its permission
// bits; commitTail() rewrites only the bytes from the first one changed,
// for appends to a long file: first into a synced side file
// ("path.~tail", ProfileTail), then in place, so that a kill or a failure
// at any moment leaves the old or the new whole file once load() has
// finished or discarded what the side file holds.
//
// Loading, appending and saving hold an advisory lock on the file
// (ProfileLock); a load for an edit keeps it until the commit, so no other
// instance writes in between. The copy in memory is reused while the file
// on disk is the one last read or written, so an append neither reads nor
// parses the file again. Each edit is kept until a commit writes it: a file
// found changed since it was read (were it only its status) is read again
// and the edits not yet written are made again on top, so the file is
// never rewritten from a copy whose content it no longer holds, except by
// replaceAll(), whose content replaces whatever the file holds.
#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

namespace platform {

class ProfileLock;

// Which file, and which state of it, the copy in memory was taken from.
struct ProfileFileSignature {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    qint64 mtime = 0;
    qint64 ctime = 0;
    bool operator==(const ProfileFileSignature&) const = default;
};

class ProfileFile {
public:
    explicit ProfileFile(QString path = {});
    ~ProfileFile();
    ProfileFile(ProfileFile&&) noexcept;
    ProfileFile& operator=(ProfileFile&&) noexcept;

    const QString& path() const { return path_; }
    void setPath(const QString& path);
    // A new section goes before the first of these that exists and comes
    // after it in this list; the last one, when written anew, ends the file.
    void setTrailingSections(const QByteArrayList& names);

    // Reads the file unless the copy in memory is still current, after
    // finishing or discarding what a side file holds, and makes the edits
    // not yet written again on top. A side file whose finish cannot be
    // written (a read-only file, a full disk) is applied in the copy and
    // kept until a commit succeeds. A missing file gives false with an empty
    // copy and error() ENOENT; an unreadable one false with its errno; one
    // another instance keeps locked, EWOULDBLOCK; the edits not yet written
    // stay, for a load or commit that can read the file. Only a regular
    // file of at most kMaxSize bytes is read: anything else (a FIFO, a
    // device) is refused without waiting on it, so nothing can hang the
    // reader or fill the memory. For Editing, the lock stays held until the
    // next commit, load or release().
    enum Purpose { Reading, Editing };
    bool load(Purpose purpose = Reading);
    void release();
    static constexpr qint64 kMaxSize = qint64(256) << 20;
    bool exists() const { return exists_; }

    std::optional<QByteArray> value(const QByteArray& section, const QByteArray& key) const;
    QByteArray string(const QByteArray& section, const QByteArray& key, const QByteArray& fallback) const;
    // strtol with sign, clamped to 32 bits; a missing or empty value gives fallback.
    qint32 integer(const QByteArray& section, const QByteArray& key, qint32 fallback) const;
    bool hasSection(const QByteArray& section) const;
    // Every line of the section as written (blank, comment and "=" lines
    // too), without line ends; nothing when the section is missing.
    std::optional<QByteArrayList> sectionLines(const QByteArray& section) const;
    // How many lines the section holds (0 when missing), without copying them.
    qsizetype lineCount(const QByteArray& section) const;
    // Every key of the section, lower-case, with its value as value() reads
    // it, in one pass: for sections of many keys.
    QHash<QByteArray, QByteArray> sectionValues(const QByteArray& section) const;

    // Replaces the key's line in place, or adds it after the last non-blank
    // line of its section, creating the section when missing.
    void setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);
    // Replaces the section's lines up to its last non-blank one.
    void replaceSection(const QByteArray& section, const QByteArrayList& lines);
    // Header and every line up to the next header.
    void removeSection(const QByteArray& section);
    // Lines added at the end of the section, wherever it stands.
    void appendToSection(const QByteArray& section, const QByteArrayList& lines);

    // The whole file, as the caller laid it out: the edits before it no
    // longer count, and the file is replaced whatever it holds.
    void replaceAll(const QByteArray& content);

    // Several edits as one, made on the copy and made again should the file
    // be read anew before they are written; the edits above are each one.
    using Edit = std::function<void(ProfileFile&)>;
    void change(Edit edit);

    // Through a symbolic link, the file it names is replaced. Both let go
    // of the lock of a load for an edit.
    bool commit();
    bool commitTail();
    // The first half of commitTail(): the new tail in the side file, synced,
    // the file itself untouched, as a kill between the halves leaves it.
    bool writeTailAside();
    static QString TailFileName(const QString& path);
    // How long loading and writing wait for another instance's lock before
    // giving up with EWOULDBLOCK.
    void setLockWait(int ms) { lockWait_ = ms; }

    // errno of the last failure, and "description (number)" of it.
    int error() const { return error_; }
    QString errorDescription() const;
    QString errorText() const;

    // Bytes moved to and from the disk since construction.
    qint64 bytesRead() const { return bytesRead_; }
    qint64 bytesWritten() const { return bytesWritten_; }

    // "key=value" with CR, LF and character 0 of a one-line value as blanks,
    // so that no value can become a line of its own.
    static QByteArray EntryLine(const QByteArray& key, const QByteArray& value);

private:
    struct Line {
        qsizetype start;
        qsizetype end;   // where the line's text ends
        qsizetype next;  // after its line end
    };
    struct Section {
        int header;  // line index
        int first;   // first line after the header
        int end;     // first line of the next section
        QByteArray name;  // lower case
    };
    using Signature = ProfileFileSignature;

    void parse();
    // Lines and sections from the line that holds offset on; those before
    // it are kept, so an edit at the end costs what it adds.
    void reparse(qsizetype offset);
    // An edit made outside change() goes through it, to be kept: true then.
    bool recorded(Edit edit);
    // The edits not yet written, made again on the copy.
    void replay();
    // With the file locked: true once the copy holds what the file holds,
    // read again when it changed since.
    bool current(const ProfileLock& lock);
    bool read(int fd, const struct stat& st);
    // The lock of a load for an edit where it allows writing, else a new one.
    bool lockForWriting(std::unique_ptr<ProfileLock>& lock);
    // The bytes from firstChanged_ on, into the side file; the file open as
    // fd has oldSize bytes now, replaced from firstChanged_ on. False with errno.
    bool writeAside(int fd, off_t oldSize, QByteArrayView replaced);
    // The whole file replaced, with the file at path_ locked (when there is one).
    bool save(const ProfileLock& lock);
    // The edits are in the file.
    void written();
    const Section* find(const QByteArray& section) const;
    int findKey(const Section& s, const QByteArray& key) const;
    QByteArray valueAt(int line) const;
    // Where the first line starts: after a byte-order mark.
    qsizetype bodyStart() const;
    bool isBlank(int line) const;
    int lastNonBlank(const Section& s) const;
    qsizetype lineStart(int line) const;
    // Inserts lines at offset, starting on a new line.
    void insertLines(qsizetype at, const QByteArrayList& lines);
    void insertSection(const QByteArray& section, const QByteArrayList& lines);
    void splice(qsizetype from, qsizetype to, const QByteArray& bytes);
    qsizetype newSectionOffset(const QByteArray& section) const;
    bool fail(int error, const char* reason = nullptr);
    // Why a lock could not be had, in errno.
    bool failLock();
    // No file: an empty copy, and error.
    bool forget(int error);
    // A file load() does not read: error, with the reason told.
    bool refuse(int error, const char* reason);
    void remember(int fd);

    QString path_;
    QByteArrayList trailing_;
    QByteArray content_;
    std::vector<Line> lines_;
    std::vector<Section> sections_;
    QHash<QByteArray, int> index_;  // lower-case name -> first section
    bool exists_ = false;
    bool loaded_ = false;
    Signature signature_;
    qsizetype firstChanged_ = -1;
    std::vector<Edit> edits_;  // not yet written, in order
    bool applying_ = false;    // inside an edit: its parts are not kept apart
    bool whole_ = false;       // the copy rests on a replaceAll, not on the file
    // What the copy holds from firstChanged_ on is not what the file holds
    // (a side file applied in memory, a folder sync that failed): the next
    // commit writes it whole.
    bool rewrite_ = false;
    std::unique_ptr<ProfileLock> held_;
    int lockWait_ = 2000;
    int error_ = 0;
    const char* refusal_ = nullptr;
    qint64 bytesRead_ = 0;
    qint64 bytesWritten_ = 0;
};

}  // namespace platform
