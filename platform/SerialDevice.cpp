#include "platform/SerialDevice.h"

#include "platform/SerialSpeed2.h"
#include "platform/UserSettings.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace platform {
namespace {

struct SpeedCode {
    int bps;
    speed_t code;
};
constexpr SpeedCode kSpeeds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600},
};

bool speedCode(int bps, speed_t& code)
{
    for (const SpeedCode& s : kSpeeds)
        if (s.bps == bps) {
            code = s.code;
            return true;
        }
    return false;
}

int speedNumber(speed_t code)
{
    for (const SpeedCode& s : kSpeeds)
        if (s.code == code)
            return s.bps;
    return -1;
}

// Modem lines: a device without them (a pseudo-terminal) is not an error.
bool setModemLine(int fd, int line, bool on)
{
    if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0)
        return true;
    return errno == ENOTTY || errno == EINVAL;
}

}  // namespace

QString SerialDevicePath(int port)
{
    if (port < 1)
        return QString();
    const QString name = QStringLiteral("COM%1").arg(port);
    const QString fromEnv = qEnvironmentVariable(("PARLOVA_" + name).toLatin1().constData());
    if (!fromEnv.isEmpty())
        return fromEnv;
    const QString fromSetting = GetSetting(QStringLiteral("Parlova"), QStringLiteral("Ports"), name);
    if (!fromSetting.isEmpty())
        return fromSetting;
    static const char* const kBlocks[] = {"/dev/ttyS", "/dev/ttyUSB", "/dev/ttyACM", "/dev/rfcomm"};
    const int block = (port - 1) / 32;
    if (block >= 4)
        return QString();
    return QString::fromLatin1(kBlocks[block]) + QString::number((port - 1) % 32);
}

SerialDevice::~SerialDevice() { close(); }

bool SerialDevice::open(int port)
{
    close();
    const QString path = SerialDevicePath(port);
    if (path.isEmpty()) {
        error_ = ENOENT;
        return false;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;
        return false;
    }
    if (!::isatty(fd)) {
        error_ = ENOTTY;
        ::close(fd);
        return false;
    }
    // No sharing: the lock holds against every other holder; TIOCEXCL also
    // keeps out programs that do not lock (root passes it, not the lock).
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error_ = errno;
        ::close(fd);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;
    path_ = path;
    rest_.clear();
    errorWaitUnsupported_ = false;
    cleared_ = Counters();
    readCounters(cleared_);
    return true;
}

void SerialDevice::close()
{
    if (fd_ < 0)
        return;
    // The exclusive mode belongs to the device, not to this descriptor.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    path_.clear();
    rest_.clear();
}

bool SerialDevice::getSettings(SerialLineSettings& s)
{
    termios t{};
    if (fd_ < 0 || ::tcgetattr(fd_, &t) != 0) {
        error_ = fd_ < 0 ? EBADF : errno;
        return false;
    }
    int bps = speedNumber(::cfgetospeed(&t));
    if (bps < 0)
        bps = SerialSpeed2(fd_);
    if (bps < 0) {
        error_ = errno;
        return false;
    }
    s.baudRate = bps;
    switch (t.c_cflag & CSIZE) {
    case CS5: s.byteSize = 5; break;
    case CS6: s.byteSize = 6; break;
    case CS7: s.byteSize = 7; break;
    default: s.byteSize = 8; break;
    }
    if (!(t.c_cflag & PARENB))
        s.parity = 0;
    else if (t.c_cflag & CMSPAR)
        s.parity = (t.c_cflag & PARODD) ? 3 : 4;
    else
        s.parity = (t.c_cflag & PARODD) ? 1 : 2;
    s.stopBits = (t.c_cflag & CSTOPB) ? 2 : 0;
    s.ctsFlow = (t.c_cflag & CRTSCTS) != 0;
    s.dtr = dtr_;
    s.rts = rts_;
    s.stripNul = stripNul_;
    return true;
}

bool SerialDevice::setSettings(const SerialLineSettings& s)
{
    termios t{};
    if (fd_ < 0 || ::tcgetattr(fd_, &t) != 0) {
        error_ = fd_ < 0 ? EBADF : errno;
        return false;
    }
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= s.byteSize >= 8 ? CS8 : s.byteSize == 7 ? CS7 : s.byteSize == 6 ? CS6 : CS5;
    switch (s.parity) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    if (s.stopBits >= 2)
        t.c_cflag |= CSTOPB;
    if (s.ctsFlow)
        t.c_cflag |= CRTSCTS;
    speed_t code;
    const bool standard = speedCode(s.baudRate, code);
    if (!standard)
        code = B38400;  // replaced below by the number itself
    ::cfsetispeed(&t, code);
    ::cfsetospeed(&t, code);
    if (::tcsetattr(fd_, TCSANOW, &t) != 0 || (!standard && !SetSerialSpeed2(fd_, s.baudRate))) {
        error_ = errno;
        return false;
    }
    if (!setModemLine(fd_, TIOCM_DTR, s.dtr) || !setModemLine(fd_, TIOCM_RTS, s.rts)) {
        error_ = errno;
        return false;
    }
    dtr_ = s.dtr;
    rts_ = s.rts;
    stripNul_ = s.stripNul;
    return true;
}

bool SerialDevice::purge()
{
    rest_.clear();
    if (fd_ < 0 || ::tcflush(fd_, TCIOFLUSH) != 0) {
        error_ = fd_ < 0 ? EBADF : errno;
        return false;
    }
    return true;
}

bool SerialDevice::gone(short& revents)
{
    pollfd p{fd_, POLLIN, 0};
    revents = 0;
    if (::poll(&p, 1, 0) < 0)
        return false;
    revents = p.revents;
    return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void SerialDevice::strip(QByteArray& data) const
{
    if (stripNul_)
        data.replace(QByteArray(1, '\0'), QByteArray());
}

SerialDevice::Io SerialDevice::startRead(QByteArray& data, int maxBytes)
{
    data.clear();
    if (fd_ < 0) {
        error_ = EBADF;
        return Io::Failed;
    }
    data.resize(maxBytes);
    const ssize_t n = ::read(fd_, data.data(), static_cast<size_t>(maxBytes));
    const int e = errno;
    if (n > 0) {
        data.resize(n);
        strip(data);
        return Io::Done;
    }
    data.clear();
    if (n < 0 && e != EAGAIN && e != EINTR) {
        error_ = e;
        return Io::Failed;
    }
    short revents;
    if (gone(revents)) {
        error_ = EIO;
        return Io::Failed;
    }
    return Io::Pending;
}

SerialDevice::Io SerialDevice::pollRead(QByteArray& data, int maxBytes)
{
    const Io io = startRead(data, maxBytes);
    // A read that cannot go on completes empty; the next one reports it.
    return io == Io::Failed ? Io::Done : io;
}

SerialDevice::Io SerialDevice::startWrite(const QByteArray& data)
{
    rest_.clear();
    if (fd_ < 0) {
        error_ = EBADF;
        return Io::Failed;
    }
    if (data.isEmpty())
        return Io::Done;
    const ssize_t n = ::write(fd_, data.constData(), static_cast<size_t>(data.size()));
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) {
            rest_ = data;
            return Io::Pending;
        }
        error_ = errno;
        return Io::Failed;
    }
    if (n < data.size()) {
        rest_ = data.mid(n);
        return Io::Pending;
    }
    return Io::Done;
}

SerialDevice::Io SerialDevice::pollWrite()
{
    if (rest_.isEmpty() || fd_ < 0)
        return Io::Done;
    const ssize_t n = ::write(fd_, rest_.constData(), static_cast<size_t>(rest_.size()));
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR)
            return Io::Pending;
        error_ = errno;
        rest_.clear();
        return Io::Done;
    }
    rest_.remove(0, n);
    return rest_.isEmpty() ? Io::Done : Io::Pending;
}

SerialDevice::CounterRead SerialDevice::readCounters(Counters& c)
{
    if (fd_ < 0)
        return CounterRead::Failed;
    serial_icounter_struct ic{};
    if (::ioctl(fd_, TIOCGICOUNT, &ic) != 0) {
        error_ = errno;
        return (errno == ENOTTY || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
                   ? CounterRead::Unsupported
                   : CounterRead::Failed;
    }
    c.frame = ic.frame;
    c.overrun = ic.overrun;
    c.parity = ic.parity;
    c.brk = ic.brk;
    c.bufOverrun = ic.buf_overrun;
    return CounterRead::Ok;
}

SerialDevice::Io SerialDevice::startErrorWait()
{
    switch (readCounters(waitStart_)) {
    case CounterRead::Ok:
        errorWaitUnsupported_ = false;
        return Io::Pending;
    case CounterRead::Unsupported:
        errorWaitUnsupported_ = true;
        return Io::Pending;
    case CounterRead::Failed:
        break;
    }
    return Io::Failed;
}

SerialDevice::Io SerialDevice::pollErrorWait(quint32& events)
{
    events = 0;
    if (errorWaitUnsupported_)
        return Io::Pending;
    Counters now;
    switch (readCounters(now)) {
    case CounterRead::Ok:
        if (now == waitStart_)
            return Io::Pending;
        events = kSerialEventErr;
        return Io::Done;
    case CounterRead::Unsupported:
        return Io::Pending;
    case CounterRead::Failed:
        break;
    }
    // The wait ends with nothing; starting the next one reports the failure.
    return Io::Done;
}

quint32 SerialDevice::clearErrors()
{
    Counters now;
    if (readCounters(now) != CounterRead::Ok)
        return 0;
    quint32 bits = 0;
    if (now.bufOverrun != cleared_.bufOverrun)
        bits |= kSerialErrRxOver;
    if (now.overrun != cleared_.overrun)
        bits |= kSerialErrOverrun;
    if (now.parity != cleared_.parity)
        bits |= kSerialErrParity;
    if (now.frame != cleared_.frame)
        bits |= kSerialErrFrame;
    if (now.brk != cleared_.brk)
        bits |= kSerialErrBreak;
    cleared_ = now;
    return bits;
}

}  // namespace platform
