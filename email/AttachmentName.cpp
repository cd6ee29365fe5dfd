#include "email/AttachmentName.h"

#include "platform/Clock.h"
#include "platform/VbError.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quenby {
namespace {

constexpr qsizetype kMaxNameBytes = 200;
constexpr qsizetype kMaxKeptExtension = 16;
// A folder full of clashing names should not keep us busy for ever.
constexpr int kMaxTries = 10000;

// The longest prefix of text whose UTF-8 form fits into bytes, never
// splitting a surrogate pair.
QString FitUtf8(const QString& text, qsizetype bytes)
{
    qsizetype used = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype len = pair ? 2 : 1;
        const qsizetype cost = text.mid(i, len).toUtf8().size();
        if (used + cost > bytes)
            break;
        used += cost;
        i += len;
    }
    return text.left(i);
}

QString ErrnoText(int err) { return platform::ErrorText(QString::fromLocal8Bit(std::strerror(err)), err); }

}  // namespace

QString SafeAttachmentName(const QString& name)
{
    // Either separator may end a path in a letter, whatever its origin.
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i)
        if (name.at(i) == QLatin1Char('/') || name.at(i) == QLatin1Char('\\'))
            start = i + 1;
    QString out;
    for (qsizetype i = start; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0))
            continue;
        if (c.isLowSurrogate() && (out.isEmpty() || !out.back().isHighSurrogate()))
            continue;  // a lone half cannot be written as a file name
        if (c.isHighSurrogate() && !(i + 1 < name.size() && name.at(i + 1).isLowSurrogate()))
            continue;
        out += c;
    }
    out = out.trimmed();
    if (out == QLatin1String(".") || out == QLatin1String(".."))
        return QString();
    if (out.toUtf8().size() > kMaxNameBytes) {
        const qsizetype dot = out.lastIndexOf(QLatin1Char('.'));
        QString ext;
        if (dot > 0 && out.size() - dot <= kMaxKeptExtension)
            ext = out.mid(dot);
        out = FitUtf8(out.left(out.size() - ext.size()), kMaxNameBytes - ext.toUtf8().size()) + ext;
    }
    return out;
}

QString DefaultAttachmentName()
{
    return QStringLiteral("Attachment_") + platform::Now().toString(QStringLiteral("yyyyMMddHHmmss")) +
           QStringLiteral(".tmp");
}

QString AttachmentFileName(const QString& name)
{
    const QString safe = SafeAttachmentName(name);
    return safe.isEmpty() ? DefaultAttachmentName() : safe;
}

QString SaveNewFile(const QString& folder, const QString& name, const QByteArray& data, int& counter,
                    QString& outPath)
{
    QString path = folder + name;
    for (int tries = 0;; ++tries) {
        const QByteArray native = QFile::encodeName(path);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            const char* p = data.constData();
            qsizetype left = data.size();
            while (left > 0) {
                const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0) {
                    const int err = n < 0 ? errno : EIO;
                    ::close(fd);
                    ::unlink(native.constData());
                    return ErrnoText(err);
                }
                p += n;
                left -= n;
            }
            if (::close(fd) != 0) {
                const int err = errno;
                ::unlink(native.constData());
                return ErrnoText(err);
            }
            outPath = path;
            return QString();
        }
        const int err = errno;
        // ELOOP: a link stands there (O_NOFOLLOW); take the next name as for any clash.
        if ((err != EEXIST && err != ELOOP) || tries >= kMaxTries)
            return ErrnoText(err);
        ++counter;
        path = folder + name + QLatin1Char('.') + QString::number(counter);
    }
}

}  // namespace quenby
