#pragma once
// A serial port on a non-blocking descriptor, in the shape the port server
// drives it: operations are started and then polled with zero wait, one of
// each kind outstanding. Nothing here blocks.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>

namespace platform {

// The device behind "COMn": the environment variable PARLOVA_COMn, then the
// per-user setting "COMn" of section "Ports", then the fixed blocks COM1-32
// /dev/ttyS0-31, COM33-64 /dev/ttyUSB0-31, COM65-96 /dev/ttyACM0-31,
// COM97-128 /dev/rfcomm0-31. "" when the number maps to nothing.
QString SerialDevicePath(int port);

struct SerialLineSettings {
    int baudRate = 9600;
    int byteSize = 8;      // 5 to 8; smaller sizes are taken as 5
    int parity = 0;        // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int stopBits = 0;      // 0 one, 1 one and a half (taken as one), 2 two
    bool ctsFlow = false;  // hardware flow control (CRTSCTS)
    bool dtr = true;       // line raised
    bool rts = true;
    bool stripNul = false;  // NUL bytes dropped from what is read
};

// The line-error event, and the error bits clearErrors reports.
constexpr quint32 kSerialEventErr = 0x80;
constexpr quint32 kSerialErrRxOver = 0x01;
constexpr quint32 kSerialErrOverrun = 0x02;
constexpr quint32 kSerialErrParity = 0x04;
constexpr quint32 kSerialErrFrame = 0x08;
constexpr quint32 kSerialErrBreak = 0x10;

class SerialDevice {
public:
    enum class Io { Done, Pending, Failed };

    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens the port for reading and writing, for this holder alone (an
    // exclusive lock plus TIOCEXCL). False, with lastError(), when it cannot.
    bool open(int port);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    QString path() const { return path_; }
    // errno of the last call that failed.
    int lastError() const { return error_; }

    // The line as the device has it; DTR and RTS are reported as last set.
    bool getSettings(SerialLineSettings& settings);
    // Always from raw mode, receiver on, modem lines ignored, reads that
    // return at once. Modem-line requests a device does not know are no error.
    bool setSettings(const SerialLineSettings& settings);
    // Drops what waits in both directions, including a pending write.
    bool purge();

    // The serial time-outs, kept for the caller; reads never wait anyway.
    std::array<quint32, 5> timeouts() const { return timeouts_; }
    void setTimeouts(const std::array<quint32, 5>& t) { timeouts_ = t; }

    // A read of at most maxBytes: Done with data, Pending when nothing has
    // come yet, Failed when the line is gone (hang-up, EIO, ENXIO).
    Io startRead(QByteArray& data, int maxBytes);
    // A pending read: Done with data, or Done with nothing once the line is
    // gone (the next startRead fails), or still Pending.
    Io pollRead(QByteArray& data, int maxBytes);

    // Done when all went out at once; Pending when some remains, which
    // pollWrite sends; Failed when nothing could be written.
    Io startWrite(const QByteArray& data);
    // Done once the rest is out (or could not be written); else Pending.
    Io pollWrite();

    // The wait for a line error. On a device that keeps no error counters
    // the wait stays pending for ever.
    Io startErrorWait();
    Io pollErrorWait(quint32& events);
    // The error bits since the last call (or since opening).
    quint32 clearErrors();

private:
    struct Counters {
        int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
        bool operator==(const Counters&) const = default;
    };
    enum class CounterRead { Ok, Unsupported, Failed };
    CounterRead readCounters(Counters& c);
    bool gone(short& revents);
    void strip(QByteArray& data) const;

    int fd_ = -1;
    int error_ = 0;
    QString path_;
    bool stripNul_ = false;
    bool dtr_ = true;
    bool rts_ = true;
    std::array<quint32, 5> timeouts_{};
    QByteArray rest_;
    bool errorWaitUnsupported_ = false;
    Counters waitStart_;
    Counters cleared_;
};

}  // namespace platform
