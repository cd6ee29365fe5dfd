#include "tools/phonesim/PhoneSim.h"

#include "platform/Ansi.h"
#include "platform/Clock.h"
#include "tools/phonesim/CommandSets.h"

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace phonesim {

#define PHONESIM_DECLARE(name) void register##name(PhoneSim& sim);
PHONESIM_COMMAND_SETS(PHONESIM_DECLARE)
#undef PHONESIM_DECLARE

namespace {

void makeRaw(int fd)
{
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return;
    ::cfmakeraw(&t);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &t);
}

bool matches(const QString& pattern, const QString& line)
{
    if (pattern.endsWith(QLatin1Char('*')))
        return line.startsWith(pattern.left(pattern.size() - 1), Qt::CaseInsensitive);
    return line.compare(pattern, Qt::CaseInsensitive) == 0;
}

}  // namespace

PhoneSim::PhoneSim()
{
    plugIn();
#define PHONESIM_REGISTER(name) register##name(*this);
    PHONESIM_COMMAND_SETS(PHONESIM_REGISTER)
#undef PHONESIM_REGISTER
}

PhoneSim::~PhoneSim() { unplug(); }

void PhoneSim::addHandler(const QString& name, Handler handler) { handlers_[name.toUpper()] = std::move(handler); }

bool PhoneSim::hasHandler(const QString& name) const { return handlers_.count(name.toUpper()) != 0; }

void PhoneSim::script(const QString& pattern, ScriptedReply reply)
{
    for (auto& [p, replies] : scripts_) {
        if (p.compare(pattern, Qt::CaseInsensitive) == 0) {
            replies.push_back(std::move(reply));
            return;
        }
    }
    scripts_.push_back({pattern, std::deque<ScriptedReply>{std::move(reply)}});
}

void PhoneSim::clearScripts() { scripts_.clear(); }

void PhoneSim::clearReceived()
{
    received_.clear();
    commands_.clear();
}

int PhoneSim::pump()
{
    if (master_ < 0)
        return 0;
    int total = 0;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            total += static_cast<int>(n);
            received_.append(buf, n);
            for (ssize_t i = 0; i < n && master_ >= 0; ++i)
                feed(buf[i]);
            if (master_ < 0)
                return total;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN, or EIO while no terminal holds the device.
        break;
    }
    runDueActions();
    flush();
    return total;
}

bool PhoneSim::expectReceived(const QByteArray& text, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        pump();
        if (received_.contains(text))
            return true;
        const qint64 left = timeoutMs - elapsed.elapsed();
        if (left <= 0 || master_ < 0)
            return false;
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(qMin<qint64>(left, 50)));
    }
}

bool PhoneSim::expectReceived(const QString& text, int timeoutMs)
{
    return expectReceived(platform::TextToAnsi(text), timeoutMs);
}

void PhoneSim::send(const QByteArray& bytes, qint64 delayMs, bool pieceEnd)
{
    out_.push_back({bytes, platform::TickCount() + delayMs, pieceEnd});
}

void PhoneSim::sendText(const QString& text, qint64 delayMs) { send(platform::TextToAnsi(text), delayMs); }

void PhoneSim::sendLine(const QString& text, qint64 delayMs)
{
    sendText(QStringLiteral("\r\n") + text + QStringLiteral("\r\n"), delayMs);
}

void PhoneSim::sendOk(qint64 delayMs) { sendLine(QStringLiteral("OK"), delayMs); }

void PhoneSim::sendError(qint64 delayMs) { sendLine(QStringLiteral("ERROR"), delayMs); }

void PhoneSim::sendCmeError(int code, qint64 delayMs)
{
    if (state_.cmee == 0)
        sendError(delayMs);
    else
        sendLine(QStringLiteral("+CME ERROR: %1").arg(code), delayMs);
}

void PhoneSim::sendCmsError(int code, qint64 delayMs)
{
    if (state_.cmee == 0)
        sendError(delayMs);
    else
        sendLine(QStringLiteral("+CMS ERROR: %1").arg(code), delayMs);
}

void PhoneSim::sendPrompt(DataHandler onData, const QString& prompt)
{
    sendText(prompt);
    data_.clear();
    dataHandler_ = std::move(onData);
}

void PhoneSim::inject(const QString& line, qint64 delayMs) { sendLine(line, delayMs); }

void PhoneSim::plugIn()
{
    if (plugged())
        return;
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0)
        throw std::runtime_error("phonesim: no pseudo-terminal");
    char name[128] = {};
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::ptsname_r(master_, name, sizeof name) != 0) {
        ::close(master_);
        master_ = -1;
        throw std::runtime_error("phonesim: pseudo-terminal not usable");
    }
    devicePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave_ < 0) {
        ::close(master_);
        master_ = -1;
        throw std::runtime_error("phonesim: device side cannot be opened");
    }
    // Both sides raw, so nothing the phone writes is echoed back by the line
    // discipline before a terminal has set the device up.
    makeRaw(master_);
    makeRaw(slave_);
    makeLink();
    // Half a command typed before the cable went is gone with it.
    line_.clear();
    data_.clear();
    dataHandler_ = nullptr;
}

void PhoneSim::setLink(const QString& path)
{
    removeLink();
    link_ = path;
    try {
        makeLink();
    } catch (...) {
        link_.clear();
        throw;
    }
}

void PhoneSim::makeLink()
{
    if (link_.isEmpty() || !plugged())
        return;
    const QByteArray path = QFile::encodeName(link_);
    const QByteArray target = QFile::encodeName(devicePath_);
    struct stat st{};
    if (::lstat(path.constData(), &st) == 0 && !S_ISLNK(st.st_mode))
        throw std::runtime_error("phonesim: " + path.toStdString() + " exists and is no symbolic link");
    // Made beside it and renamed over it, so a terminal never finds the path
    // missing or half made.
    const QByteArray temporary = path + ".new" + QByteArray::number(::getpid());
    ::unlink(temporary.constData());
    if (::symlink(target.constData(), temporary.constData()) != 0 ||
        ::rename(temporary.constData(), path.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        throw std::runtime_error("phonesim: cannot link " + path.toStdString() + ": " + std::strerror(error));
    }
}

void PhoneSim::removeLink()
{
    if (link_.isEmpty())
        return;
    const QByteArray path = QFile::encodeName(link_);
    char target[4096];
    const ssize_t n = ::readlink(path.constData(), target, sizeof target);
    // Another simulator may have taken the path over since.
    if (n > 0 && QByteArray(target, n) == QFile::encodeName(devicePath_))
        ::unlink(path.constData());
}

void PhoneSim::later(qint64 delayMs, std::function<void(PhoneSim& sim)> action)
{
    actions_.emplace_back(platform::TickCount() + delayMs, std::move(action));
}

void PhoneSim::runDueActions()
{
    const qint64 now = platform::TickCount();
    for (size_t i = 0; i < actions_.size() && plugged();) {
        if (actions_[i].first > now) {
            ++i;
            continue;
        }
        // An action may add actions.
        const auto action = std::move(actions_[i].second);
        actions_.erase(actions_.begin() + static_cast<std::ptrdiff_t>(i));
        action(*this);
    }
}

void PhoneSim::unplug()
{
    removeLink();
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = -1;
    slave_ = -1;
    out_.clear();
}

void PhoneSim::feed(char byte)
{
    if (state_.echo)
        send(QByteArray(1, byte));
    if (dataHandler_) {
        if (byte == 0x1A || byte == 0x1B) {
            DataHandler handler = std::move(dataHandler_);
            dataHandler_ = nullptr;
            const QByteArray data = data_;
            data_.clear();
            handler(*this, data, byte == 0x1B);
        } else {
            data_.append(byte);
        }
        return;
    }
    switch (byte) {
    case '\r': {
        const QString line = platform::AnsiToText(line_).trimmed();
        line_.clear();
        if (!line.isEmpty())
            runLine(line);
        break;
    }
    case '\n':
        break;
    case '\b':
        line_.chop(1);
        break;
    default:
        // A line no phone would take is cut rather than kept without end.
        if (line_.size() < 65536)
            line_.append(byte);
    }
}

void PhoneSim::runLine(const QString& line)
{
    // Text without the "AT" prefix is not a command; a phone ignores it.
    if (!line.startsWith(QLatin1String("AT"), Qt::CaseInsensitive))
        return;
    commands_.append(line);

    for (auto& [pattern, replies] : scripts_) {
        if (!replies.empty() && matches(pattern, line)) {
            ScriptedReply& reply = replies.front();
            runScript(reply);
            if (reply.times > 0 && --reply.times == 0)
                replies.pop_front();
            return;
        }
    }

    const QString rest = line.mid(2);
    const QString upper = rest.toUpper();
    const Handler* best = nullptr;
    QString bestName;
    for (const auto& [name, handler] : handlers_) {
        const bool fits = name.isEmpty() ? upper.isEmpty() : upper.startsWith(name);
        if (fits && (!best || name.size() > bestName.size())) {
            best = &handler;
            bestName = name;
        }
    }
    if (!best) {
        sendError();
        return;
    }
    const Handler handler = *best;  // a handler may replace handlers
    handler(*this, Command{line, bestName, rest.mid(bestName.size())});
}

void PhoneSim::runScript(ScriptedReply& reply)
{
    switch (reply.kind) {
    case ScriptedReply::Kind::Pieces: {
        qint64 delay = reply.delayMs;
        for (const QString& piece : reply.pieces) {
            send(platform::TextToAnsi(piece), delay, true);
            delay = 0;
        }
        break;
    }
    case ScriptedReply::Kind::Error:
        sendError(reply.delayMs);
        break;
    case ScriptedReply::Kind::CmeError:
        sendCmeError(reply.code, reply.delayMs);
        break;
    case ScriptedReply::Kind::CmsError:
        sendCmsError(reply.code, reply.delayMs);
        break;
    case ScriptedReply::Kind::Silence:
        break;
    }
}

void PhoneSim::flush()
{
    const qint64 before = sent_;
    writeDue();
    if (waitForDelivery_ && sent_ != before && slave_ >= 0) {
        pollfd p{slave_, POLLIN, 0};
        ::poll(&p, 1, 500);
    }
}

void PhoneSim::writeDue()
{
    const qint64 now = platform::TickCount();
    while (master_ >= 0 && !out_.empty() && out_.front().due <= now) {
        Out& item = out_.front();
        const ssize_t n = ::write(master_, item.bytes.constData(), static_cast<size_t>(item.bytes.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return;  // full, or nobody on the line: try again next pump
        }
        sent_ += n;
        if (n < item.bytes.size()) {
            item.bytes.remove(0, n);
            return;
        }
        const bool stop = item.pieceEnd;
        out_.pop_front();
        if (stop)
            return;
    }
}

}  // namespace phonesim
