#pragma once
// The far end of the simulated phone's device as a plain non-blocking
// descriptor, for tests that speak to the simulator byte by byte.
#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace testsupport {

class DeviceLine {
public:
    explicit DeviceLine(const QString& path)
    {
        fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    }
    ~DeviceLine() { close(); }
    DeviceLine(const DeviceLine&) = delete;
    DeviceLine& operator=(const DeviceLine&) = delete;

    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    int fd() const { return fd_; }
    void write(const QByteArray& bytes) { ASSERT_EQ(::write(fd_, bytes.constData(), bytes.size()), bytes.size()); }
    // Everything that is there to read now.
    QByteArray read()
    {
        QByteArray all;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(fd_, buf, sizeof buf)) > 0)
            all.append(buf, n);
        return all;
    }

private:
    int fd_ = -1;
};

}  // namespace testsupport
