#include "platform/ProfileFile.h"

#include "platform/ProfileTail.h"
#include "platform/VbError.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QByteArray kLineEnd("\r\n");

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

bool SameName(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && qstrnicmp(a.data(), a.size(), b.data(), b.size()) == 0;
}

QByteArrayView Trimmed(QByteArrayView v)
{
    while (!v.isEmpty() && (IsSpace(v.front()) || v.front() == '\r' || v.front() == '\n'))
        v = v.sliced(1);
    while (!v.isEmpty() && (IsSpace(v.back()) || v.back() == '\r' || v.back() == '\n'))
        v.chop(1);
    return v;
}

// One line as it may be written: a line end inside it would split it.
QByteArray OneLine(QByteArray line, bool blankNull)
{
    for (char& c : line)
        if (c == '\r' || c == '\n' || (blankNull && c == '\0'))
            c = ' ';
    return line;
}

QByteArray Header(const QByteArray& section) { return '[' + OneLine(section, true) + ']'; }

// Why load() does not read a file: an errno, and a text of our own or none.
struct Refusal {
    int error = 0;
    const char* reason = nullptr;
};

static_assert(ProfileFile::kMaxSize == 256 << 20, "the text below states the bound");
Refusal TooLarge() { return {EFBIG, "The file is larger than 256 MB, too large for a conversation"}; }
const char* const kBusy = "The file is being written by another instance of the program";

Refusal Refused(const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return {EISDIR, nullptr};
    if (!S_ISREG(st.st_mode))
        return {EINVAL, "Not a regular file"};
    if (st.st_size > ProfileFile::kMaxSize)
        return TooLarge();
    return {};
}

ProfileFileSignature SignatureOf(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

// Marks the edit being made, so that its parts are not kept as edits of their own.
class Applying {
public:
    explicit Applying(bool& flag) : flag_(flag), was_(std::exchange(flag, true)) {}
    ~Applying() { flag_ = was_; }
    Applying(const Applying&) = delete;
    Applying& operator=(const Applying&) = delete;

private:
    bool& flag_;
    bool was_;
};

}  // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}
ProfileFile::~ProfileFile() = default;
ProfileFile::ProfileFile(ProfileFile&&) noexcept = default;
ProfileFile& ProfileFile::operator=(ProfileFile&&) noexcept = default;

void ProfileFile::setPath(const QString& path)
{
    if (path == path_)
        return;
    held_.reset();
    path_ = path;
    loaded_ = false;
    exists_ = false;
    content_.clear();
    firstChanged_ = -1;
    edits_.clear();
    whole_ = false;
    rewrite_ = false;
    parse();
}

void ProfileFile::setTrailingSections(const QByteArrayList& names) { trailing_ = names; }

void ProfileFile::release() { held_.reset(); }

bool ProfileFile::load(Purpose purpose)
{
    held_.reset();
    struct stat st {};
    const QByteArray name = QFile::encodeName(path_);
    if (path_.isEmpty() || stat(name.constData(), &st) != 0)
        return forget(path_.isEmpty() ? ENOENT : errno);
    // Judged before opening too: opening a device may already act on it.
    if (const Refusal r = Refused(st); r.error != 0)
        return refuse(r.error, r.reason);
    if (purpose == Reading && loaded_ && SignatureOf(st) == signature_)
        return true;
    // For an edit, locked for writing where the file allows it, so that
    // the commit goes on under the same lock.
    auto lock = std::make_unique<ProfileLock>();
    const bool locked = (purpose == Editing && lock->acquire(name, O_RDWR, lockWait_)) ||
                        ((purpose == Reading || errno == EACCES || errno == EROFS) &&
                         lock->acquire(name, O_RDONLY, lockWait_));
    if (!locked)
        return errno == EWOULDBLOCK ? refuse(EWOULDBLOCK, kBusy) : forget(errno);
    if (!current(*lock))
        return false;
    if (purpose == Editing)
        held_ = std::move(lock);
    return true;
}

bool ProfileFile::current(const ProfileLock& lock)
{
    struct stat st {};
    if (fstat(lock.fd(), &st) != 0)
        return forget(errno);
    if (loaded_ && SignatureOf(st) == signature_)
        return true;
    return read(lock.fd(), st);
}

bool ProfileFile::read(int fd, const struct stat& st)
{
    Refusal refusal = Refused(st);
    TailRecovery recovered;
    if (refusal.error == 0) {
        recovered = ProfileTail::Recover(path_, fd);
        bytesRead_ += recovered.bytesRead;
        bytesWritten_ += recovered.bytesWritten;
    }
    QByteArray bytes;
    char buffer[65536];
    for (off_t at = 0; refusal.error == 0;) {
        const ssize_t n = pread(fd, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            refusal = {errno, nullptr};
        if (n <= 0)
            break;
        bytes.append(buffer, n);
        at += n;
        bytesRead_ += n;
        if (bytes.size() > kMaxSize)  // grown since the fstat
            refusal = TooLarge();
    }
    if (refusal.error != 0)
        return refuse(refusal.error, refusal.reason);
    const bool unwritten = recovered.unwritten && bytes.size() >= recovered.offset;
    if (unwritten)
        bytes = bytes.first(recovered.offset) + recovered.tail;
    content_ = std::move(bytes);
    exists_ = true;
    parse();
    remember(fd);
    loaded_ = true;
    // Held as an edit not yet written, for the next commit.
    firstChanged_ = unwritten ? recovered.offset : -1;
    rewrite_ = unwritten;
    replay();
    return true;
}

bool ProfileFile::refuse(int error, const char* reason)
{
    forget(error);
    refusal_ = reason;
    return false;
}

bool ProfileFile::forget(int error)
{
    refusal_ = nullptr;
    content_.clear();
    exists_ = false;
    loaded_ = false;
    firstChanged_ = -1;
    rewrite_ = false;
    parse();
    error_ = error;
    return false;
}

bool ProfileFile::recorded(Edit edit)
{
    if (applying_)
        return false;
    change(std::move(edit));
    return true;
}

void ProfileFile::change(Edit edit)
{
    if (applying_) {
        edit(*this);
        return;
    }
    const bool wasWhole = std::exchange(whole_, false);
    {
        const Applying applying(applying_);
        edit(*this);
    }
    if (whole_)
        edits_.clear();  // nothing before a whole new content counts
    whole_ = whole_ || wasWhole;
    edits_.push_back(std::move(edit));
}

void ProfileFile::replay()
{
    whole_ = false;
    const Applying applying(applying_);
    for (const Edit& edit : edits_)
        edit(*this);
}

void ProfileFile::parse()
{
    lines_.clear();
    sections_.clear();
    index_.clear();
    reparse(0);
}

void ProfileFile::reparse(qsizetype offset)
{
    // A line that ended just before offset may end differently now (CR, then LF).
    const auto stale = std::lower_bound(lines_.begin(), lines_.end(), offset,
                                        [](const Line& line, qsizetype at) { return line.next < at; });
    const int kept = int(stale - lines_.begin());
    qsizetype i = stale == lines_.end() ? (lines_.empty() ? bodyStart() : lines_.back().next) : stale->start;
    lines_.erase(stale, lines_.end());
    while (!sections_.empty() && sections_.back().header >= kept) {
        const auto it = index_.constFind(sections_.back().name);
        if (it != index_.constEnd() && *it == int(sections_.size()) - 1)
            index_.erase(it);
        sections_.pop_back();
    }

    const char* d = content_.constData();
    const qsizetype n = content_.size();
    while (i < n) {
        qsizetype j = i;
        while (j < n && d[j] != '\r' && d[j] != '\n')
            ++j;
        qsizetype next = j;
        if (next < n)
            next += (d[next] == '\r' && next + 1 < n && d[next + 1] == '\n') ? 2 : 1;
        lines_.push_back({i, j, next});
        i = next;
    }
    if (!sections_.empty())
        sections_.back().end = int(lines_.size());
    for (int k = kept; k < int(lines_.size()); ++k) {
        qsizetype p = lines_[k].start;
        const qsizetype end = lines_[k].end;
        while (p < end && IsSpace(d[p]))
            ++p;
        if (p == end || d[p] != '[')
            continue;
        qsizetype close = p + 1;
        while (close < end && d[close] != ']')
            ++close;
        if (!sections_.empty())
            sections_.back().end = k;
        QByteArray lower = Trimmed(QByteArrayView(d + p + 1, close - p - 1)).toByteArray().toLower();
        if (!index_.contains(lower))
            index_.insert(lower, int(sections_.size()));
        sections_.push_back({k, k + 1, int(lines_.size()), std::move(lower)});
    }
}

const ProfileFile::Section* ProfileFile::find(const QByteArray& section) const
{
    const auto it = index_.constFind(Trimmed(section).toByteArray().toLower());
    return it == index_.constEnd() ? nullptr : &sections_[*it];
}

int ProfileFile::findKey(const Section& s, const QByteArray& key) const
{
    const QByteArrayView wanted = Trimmed(key);
    const char* d = content_.constData();
    for (int k = s.first; k < s.end; ++k) {
        const QByteArrayView text(d + lines_[k].start, lines_[k].end - lines_[k].start);
        const qsizetype eq = text.indexOf('=');
        if (eq >= 0 && SameName(Trimmed(text.first(eq)), wanted))
            return k;
    }
    return -1;
}

qsizetype ProfileFile::bodyStart() const { return content_.startsWith("\xEF\xBB\xBF") ? 3 : 0; }

QByteArray ProfileFile::valueAt(int line) const
{
    const QByteArrayView text(content_.constData() + lines_[line].start, lines_[line].end - lines_[line].start);
    QByteArrayView v = Trimmed(text.sliced(text.indexOf('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return v.toByteArray();
}

bool ProfileFile::isBlank(int line) const
{
    const QByteArrayView text(content_.constData() + lines_[line].start, lines_[line].end - lines_[line].start);
    return Trimmed(text).isEmpty();
}

int ProfileFile::lastNonBlank(const Section& s) const
{
    for (int k = s.end - 1; k >= s.first; --k)
        if (!isBlank(k))
            return k;
    return s.header;
}

qsizetype ProfileFile::lineStart(int line) const
{
    return line < int(lines_.size()) ? lines_[line].start : content_.size();
}

std::optional<QByteArray> ProfileFile::value(const QByteArray& section, const QByteArray& key) const
{
    const Section* s = find(section);
    if (!s)
        return std::nullopt;
    const int k = findKey(*s, key);
    if (k < 0)
        return std::nullopt;
    return valueAt(k);
}

QByteArray ProfileFile::string(const QByteArray& section, const QByteArray& key, const QByteArray& fallback) const
{
    return value(section, key).value_or(fallback);
}

qint32 ProfileFile::integer(const QByteArray& section, const QByteArray& key, qint32 fallback) const
{
    const std::optional<QByteArray> v = value(section, key);
    if (!v || v->isEmpty())
        return fallback;
    const char* p = v->constData();
    const char* const end = p + v->size();
    while (p < end && IsSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    qint64 n = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        n = std::min<qint64>(n * 10 + (*p - '0'), qint64(INT_MAX) + 1);
    if (negative)
        n = -n;
    return qint32(std::clamp<qint64>(n, INT_MIN, INT_MAX));
}

bool ProfileFile::hasSection(const QByteArray& section) const { return find(section) != nullptr; }

std::optional<QByteArrayList> ProfileFile::sectionLines(const QByteArray& section) const
{
    const Section* s = find(section);
    if (!s)
        return std::nullopt;
    QByteArrayList out;
    out.reserve(s->end - s->first);
    for (int k = s->first; k < s->end; ++k)
        out.append(content_.mid(lines_[k].start, lines_[k].end - lines_[k].start));
    return out;
}

qsizetype ProfileFile::lineCount(const QByteArray& section) const
{
    const Section* s = find(section);
    return s ? s->end - s->first : 0;
}

QHash<QByteArray, QByteArray> ProfileFile::sectionValues(const QByteArray& section) const
{
    QHash<QByteArray, QByteArray> values;
    const Section* s = find(section);
    if (!s)
        return values;
    const char* d = content_.constData();
    for (int k = s->first; k < s->end; ++k) {
        const QByteArrayView text(d + lines_[k].start, lines_[k].end - lines_[k].start);
        const qsizetype eq = text.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = Trimmed(text.first(eq)).toByteArray().toLower();
        if (!values.contains(key))
            values.insert(key, valueAt(k));
    }
    return values;
}

QByteArray ProfileFile::EntryLine(const QByteArray& key, const QByteArray& value)
{
    return OneLine(key, true) + '=' + OneLine(value, true);
}

void ProfileFile::splice(qsizetype from, qsizetype to, const QByteArray& bytes)
{
    content_.replace(from, to - from, bytes);
    firstChanged_ = firstChanged_ < 0 ? from : std::min(firstChanged_, from);
    reparse(from);
}

void ProfileFile::insertLines(qsizetype at, const QByteArrayList& lines)
{
    QByteArray bytes;
    if (at > bodyStart() && content_[at - 1] != '\n' && content_[at - 1] != '\r')
        bytes += kLineEnd;
    for (const QByteArray& line : lines)
        bytes += OneLine(line, false) + kLineEnd;
    splice(at, at, bytes);
}

void ProfileFile::insertSection(const QByteArray& section, const QByteArrayList& lines)
{
    QByteArrayList all{Header(section)};
    all += lines;
    insertLines(newSectionOffset(section), all);
}

qsizetype ProfileFile::newSectionOffset(const QByteArray& section) const
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < trailing_.size(); ++i)
        if (SameName(Trimmed(trailing_[i]), Trimmed(section)))
            from = i + 1;
    for (qsizetype i = from; i < trailing_.size(); ++i)
        if (const Section* s = find(trailing_[i]))
            return lines_[s->header].start;
    return content_.size();
}

void ProfileFile::setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    if (recorded([=](ProfileFile& f) { f.setValue(section, key, value); }))
        return;
    const QByteArray line = EntryLine(key, value);
    const Section* s = find(section);
    if (!s) {
        insertSection(section, {line});
        return;
    }
    const int k = findKey(*s, key);
    if (k >= 0) {
        splice(lines_[k].start, lines_[k].end, line);
        return;
    }
    insertLines(lines_[lastNonBlank(*s)].next, {line});
}

void ProfileFile::replaceSection(const QByteArray& section, const QByteArrayList& lines)
{
    if (recorded([=](ProfileFile& f) { f.replaceSection(section, lines); }))
        return;
    const Section* s = find(section);
    if (!s) {
        insertSection(section, lines);
        return;
    }
    const int last = lastNonBlank(*s);
    const qsizetype from = lines_[s->header].next;
    const qsizetype to = last == s->header ? from : lines_[last].next;
    QByteArray bytes;
    if (from > 0 && content_[from - 1] != '\n' && content_[from - 1] != '\r' && !lines.isEmpty())
        bytes += kLineEnd;
    for (const QByteArray& line : lines)
        bytes += OneLine(line, false) + kLineEnd;
    splice(from, to, bytes);
}

void ProfileFile::removeSection(const QByteArray& section)
{
    if (recorded([=](ProfileFile& f) { f.removeSection(section); }))
        return;
    if (const Section* s = find(section))
        splice(lines_[s->header].start, lineStart(s->end), {});
}

void ProfileFile::appendToSection(const QByteArray& section, const QByteArrayList& lines)
{
    if (recorded([=](ProfileFile& f) { f.appendToSection(section, lines); }))
        return;
    if (const Section* s = find(section))
        insertLines(lineStart(s->end), lines);
    else
        insertSection(section, lines);
}

void ProfileFile::replaceAll(const QByteArray& content)
{
    if (recorded([=](ProfileFile& f) { f.replaceAll(content); }))
        return;
    content_ = content;
    firstChanged_ = 0;
    parse();
    whole_ = true;
}

bool ProfileFile::fail(int error, const char* reason)
{
    error_ = error;
    refusal_ = reason;
    return false;
}

bool ProfileFile::failLock() { return errno == EWOULDBLOCK ? fail(EWOULDBLOCK, kBusy) : fail(errno); }

void ProfileFile::remember(int fd)
{
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        loaded_ = false;
        return;
    }
    signature_ = SignatureOf(st);
}

bool ProfileFile::lockForWriting(std::unique_ptr<ProfileLock>& lock)
{
    lock = std::move(held_);
    if (lock && lock->writable())
        return true;
    lock = std::make_unique<ProfileLock>();
    return lock->acquire(QFile::encodeName(path_), O_RDWR, lockWait_);
}

bool ProfileFile::commit()
{
    if (path_.isEmpty())
        return fail(ENOENT);
    // Opened for writing: the rename would get past a file the user made
    // read-only. A new file has nothing to lock yet.
    std::unique_ptr<ProfileLock> lock;
    if (!lockForWriting(lock) && errno != ENOENT)
        return failLock();
    // A whole new content rests on nothing the file holds.
    if (!whole_) {
        if (lock->fd() >= 0 && !current(*lock))
            return false;
        if (lock->fd() < 0 && !loaded_) {
            // A new file: the edits made on nothing.
            content_.clear();
            parse();
            replay();
        }
    }
    return save(*lock);
}

bool ProfileFile::save(const ProfileLock& lock)
{
    const QByteArray name = QFile::encodeName(ProfileTail::Resolved(path_));
    const QByteArray temp = name + ".~";
    if (unlink(temp.constData()) != 0 && errno != ENOENT)
        return fail(errno);
    const bool replacing = lock.fd() >= 0;
    const int fd = open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(errno);
    auto abandon = [&](int e) {
        close(fd);
        unlink(temp.constData());
        return fail(e);
    };
    if (replacing && fchmod(fd, lock.status().st_mode & 07777) != 0)
        return abandon(errno);
    if (!WriteFully(fd, content_, 0) || fsync(fd) != 0)
        return abandon(errno);
    if (rename(temp.constData(), name.constData()) != 0)
        return abandon(errno);
    // What was left aside for the file just replaced is in the copy; a side
    // file of another file is not ours to remove.
    if (replacing)
        ProfileTail::RemoveOwn(path_, lock.status());
    bytesWritten_ += content_.size();
    remember(fd);
    close(fd);
    const bool synced = SyncFolderOf(QFile::decodeName(name));
    const int e = errno;
    written();
    if (!synced) {
        // The new file is in place but its name may not outlast a crash:
        // the next commit writes it whole again.
        firstChanged_ = 0;
        rewrite_ = true;
        return fail(e);
    }
    return true;
}

void ProfileFile::written()
{
    edits_.clear();
    whole_ = false;
    firstChanged_ = -1;
    rewrite_ = false;
    exists_ = true;
    loaded_ = true;
}

QString ProfileFile::TailFileName(const QString& path) { return ProfileTail::FileName(path); }

bool ProfileFile::writeAside(int fd, off_t oldSize, QByteArrayView replaced)
{
    const QByteArrayView content(content_);
    const qsizetype from = firstChanged_;
    if (!ProfileTail::Write(path_, fd, from, oldSize, content.first(from), content.sliced(from), replaced))
        return false;
    bytesWritten_ += ProfileTail::kHeaderSize + content_.size() - from + replaced.size();
    return true;
}

bool ProfileFile::writeTailAside()
{
    held_.reset();
    if (firstChanged_ < 0)
        return true;
    ProfileLock lock;
    if (!lock.acquire(QFile::encodeName(path_), O_RDONLY, lockWait_))
        return failLock();
    const off_t size = lock.status().st_size;
    if (size < firstChanged_)
        return fail(EINVAL);
    const std::optional<QByteArray> replaced = ReadFully(lock.fd(), off_t(firstChanged_), qint64(size) - firstChanged_);
    return (replaced && writeAside(lock.fd(), size, *replaced)) || fail(errno);
}

bool ProfileFile::commitTail()
{
    if (firstChanged_ < 0 && edits_.empty()) {
        held_.reset();
        return true;
    }
    std::unique_ptr<ProfileLock> lock;
    if (!lockForWriting(lock))
        return failLock();
    const int fd = lock->fd();
    // What an earlier failure or a kill left aside goes in first.
    const TailRecovery recovered = ProfileTail::Recover(path_, fd);
    bytesRead_ += recovered.bytesRead;
    bytesWritten_ += recovered.bytesWritten;
    if (recovered.unwritten)
        return fail(recovered.error);
    if (!current(*lock))
        return false;
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return fail(errno);
    if (rewrite_ || st.st_size < firstChanged_)
        return save(*lock);
    if (firstChanged_ < 0) {  // edits that changed nothing
        written();
        return true;
    }
    const qsizetype from = firstChanged_;
    const std::optional<QByteArray> oldTail = ReadFully(fd, off_t(from), qint64(st.st_size) - from);
    if (!oldTail)
        return fail(errno);
    bytesRead_ += oldTail->size();
    if (!writeAside(fd, st.st_size, *oldTail))
        return errno == EEXIST ? save(*lock) : fail(errno);  // another file's side file holds the name
    const QByteArray side = QFile::encodeName(TailFileName(path_));
    if (!ProfileTail::Place(fd, off_t(from), QByteArrayView(content_).sliced(from), off_t(content_.size()))) {
        // Back to the old file; the edits stay for the next commit.
        const int e = errno;
        if (ProfileTail::Place(fd, off_t(from), *oldTail, st.st_size)) {
            unlink(side.constData());
            remember(fd);
        } else {
            // The side file, whole and synced, finishes the new file on the
            // next load: the edits are written, and must not be made twice.
            edits_.clear();
            loaded_ = false;
        }
        return fail(e);
    }
    unlink(side.constData());
    bytesWritten_ += content_.size() - from;
    remember(fd);
    written();
    return true;
}

QString ProfileFile::errorDescription() const
{
    return refusal_ ? QString::fromLatin1(refusal_) : QString::fromLocal8Bit(std::strerror(error_));
}

QString ProfileFile::errorText() const { return ErrorText(errorDescription(), error_); }

}  // namespace platform
