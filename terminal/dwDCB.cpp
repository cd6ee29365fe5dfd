#include "terminal/dwDCB.h"

#include "platform/Ansi.h"
#include "platform/SerialDevice.h"
#include "platform/VbError.h"

namespace dorrak {
namespace {

enum Bit {
    kBinary = 0,
    kParity = 1,
    kOutxCtsFlow = 2,
    kOutxDsrFlow = 3,
    kDtrControl = 4,  // two bits
    kDsrSensitivity = 6,
    kTXContinueOnXoff = 7,
    kOutX = 8,
    kInX = 9,
    kErrorChar = 10,
    kNull = 11,
    kRtsControl = 12,  // two bits
    kAbortOnError = 14,
};

[[noreturn]] void refuse(const char* message)
{
    platform::Raise(platform::kAutomationErrorBase + 31000, QStringLiteral("dwDCB"), QString::fromLatin1(message));
}

char charCode(const QString& value)
{
    if (value.isEmpty())
        platform::Raise(platform::vberr::InvalidProcedureCall, QStringLiteral("dwDCB"),
                        QStringLiteral("Invalid procedure call or argument"));
    const int code = platform::AnsiCode(value.at(0));
    return static_cast<char>(code < 0 ? '?' : code);
}

QString charText(char c) { return QString(platform::AnsiChar(static_cast<unsigned char>(c))); }

}  // namespace

dwDCB::dwDCB() : dcb_{}
{
    dcb_.DCBlength = sizeof(DCBRecord);
    dcb_.BaudRate = 2400;
    setFParity(false);
    setFOutxCtsFlow(true);
    setFOutxDsrFlow(true);
    setFDtrControl(1);
    setFDsrSensitivity(true);
    setFTXContinueOnXoff(true);
    setFOutX(true);
    setFInX(true);
    setFErrorChar(true);
    setFNull(true);
    setFRtsControl(1);
    setFAbortOnError(true);
    dcb_.XonLim = 100;
    dcb_.XoffLim = static_cast<quint16>(referenceQueueSize_ - 100);
    dcb_.ByteSize = 8;
    dcb_.Parity = 0;
    dcb_.StopBits = 0;
    dcb_.XonChar = 17;
    dcb_.XoffChar = 19;
    dcb_.ErrorChar = '~';
    dcb_.EofChar = 26;
    dcb_.EvtChar = static_cast<char>(255);
}

bool dwDCB::flag(int bit) const { return (dcb_.Flags >> bit) & 1u; }

void dwDCB::setFlag(int bit, bool on)
{
    if (on)
        dcb_.Flags |= 1u << bit;
    else
        dcb_.Flags &= ~(1u << bit);
}

int dwDCB::field2(int shift) const { return static_cast<int>((dcb_.Flags >> shift) & 3u); }

void dwDCB::setField2(int shift, int value)
{
    dcb_.Flags = (dcb_.Flags & ~(3u << shift)) | (static_cast<quint32>(value) << shift);
}

int dwDCB::baudRate() const { return static_cast<int>(dcb_.BaudRate); }

void dwDCB::setBaudRate(int value)
{
    switch (value) {
    case 110: case 300: case 600: case 1200: case 2400: case 4800: case 9600: case 14400: case 19200:
    case 38400: case 56000: case 57600: case 115200: case 128000: case 256000:
        dcb_.BaudRate = static_cast<quint32>(value);
        return;
    default:
        refuse("Invalid baud rate");
    }
}

bool dwDCB::fParity() const { return flag(kParity); }
void dwDCB::setFParity(bool value) { setFlag(kParity, value); }
bool dwDCB::fOutxCtsFlow() const { return flag(kOutxCtsFlow); }
void dwDCB::setFOutxCtsFlow(bool value) { setFlag(kOutxCtsFlow, value); }
bool dwDCB::fOutxDsrFlow() const { return flag(kOutxDsrFlow); }
void dwDCB::setFOutxDsrFlow(bool value) { setFlag(kOutxDsrFlow, value); }

qint16 dwDCB::fDtrControl() const { return static_cast<qint16>(field2(kDtrControl)); }
void dwDCB::setFDtrControl(qint16 value)
{
    if (value < 0 || value > 2)
        refuse("Invalid fDtrControl setting");
    setField2(kDtrControl, value);
}

bool dwDCB::fDsrSensitivity() const { return flag(kDsrSensitivity); }
void dwDCB::setFDsrSensitivity(bool value) { setFlag(kDsrSensitivity, value); }
bool dwDCB::fTXContinueOnXoff() const { return flag(kTXContinueOnXoff); }
void dwDCB::setFTXContinueOnXoff(bool value) { setFlag(kTXContinueOnXoff, value); }
bool dwDCB::fOutX() const { return flag(kOutX); }
void dwDCB::setFOutX(bool value) { setFlag(kOutX, value); }
bool dwDCB::fInX() const { return flag(kInX); }
void dwDCB::setFInX(bool value) { setFlag(kInX, value); }
bool dwDCB::fErrorChar() const { return flag(kErrorChar); }
void dwDCB::setFErrorChar(bool value) { setFlag(kErrorChar, value); }
bool dwDCB::fNull() const { return flag(kNull); }
void dwDCB::setFNull(bool value) { setFlag(kNull, value); }

qint16 dwDCB::fRtsControl() const { return static_cast<qint16>(field2(kRtsControl)); }
void dwDCB::setFRtsControl(qint16 value)
{
    if (value < 0 || value > 3)
        refuse("Invalid fRtsControl setting");
    setField2(kRtsControl, value);
}

bool dwDCB::fAbortOnError() const { return flag(kAbortOnError); }
void dwDCB::setFAbortOnError(bool value) { setFlag(kAbortOnError, value); }

qint16 dwDCB::XonLim() const { return static_cast<qint16>(dcb_.XonLim); }
void dwDCB::setXonLim(qint16 value) { dcb_.XonLim = static_cast<quint16>(value); }
qint16 dwDCB::XoffLim() const { return static_cast<qint16>(dcb_.XoffLim); }
void dwDCB::setXoffLim(qint16 value) { dcb_.XoffLim = static_cast<quint16>(value); }

int dwDCB::ByteSize() const { return dcb_.ByteSize; }
void dwDCB::setByteSize(int value)
{
    if (value < 4 || value > 8)
        refuse("Invalid Byte size setting");
    dcb_.ByteSize = static_cast<quint8>(value);
}

int dwDCB::Parity() const { return dcb_.Parity; }
void dwDCB::setParity(int value)
{
    if (value < 0 || value > 4)
        refuse("Invalid Parity setting");
    dcb_.Parity = static_cast<quint8>(value);
}

int dwDCB::StopBits() const { return dcb_.StopBits; }
void dwDCB::setStopBits(int value)
{
    if (value < 0 || value > 4)
        refuse("Invalid Stop bits");
    dcb_.StopBits = static_cast<quint8>(value);
}

QString dwDCB::XonChar() const { return charText(dcb_.XonChar); }
void dwDCB::setXonChar(const QString& value) { dcb_.XonChar = charCode(value); }
QString dwDCB::XoffChar() const { return charText(dcb_.XoffChar); }
void dwDCB::setXoffChar(const QString& value) { dcb_.XoffChar = charCode(value); }
QString dwDCB::ErrorChar() const { return charText(dcb_.ErrorChar); }
void dwDCB::setErrorChar(const QString& value) { dcb_.ErrorChar = charCode(value); }
QString dwDCB::EofChar() const { return charText(dcb_.EofChar); }
void dwDCB::setEofChar(const QString& value) { dcb_.EofChar = charCode(value); }
QString dwDCB::EvtChar() const { return charText(dcb_.EvtChar); }
void dwDCB::setEvtChar(const QString& value) { dcb_.EvtChar = charCode(value); }

bool dwDCB::GetCommState(platform::SerialDevice* hCommDev)
{
    if (!hCommDev || !hCommDev->isOpen())
        return false;
    platform::SerialLineSettings s;
    if (!hCommDev->getSettings(s))
        return false;
    dcb_.BaudRate = static_cast<quint32>(s.baudRate);
    dcb_.ByteSize = static_cast<quint8>(s.byteSize);
    dcb_.Parity = static_cast<quint8>(s.parity);
    dcb_.StopBits = static_cast<quint8>(s.stopBits);
    setFOutxCtsFlow(s.ctsFlow);
    setFNull(s.stripNul);
    return true;
}

bool dwDCB::SetCommState(platform::SerialDevice* hCommDev)
{
    if (!hCommDev || !hCommDev->isOpen())
        return false;
    platform::SerialLineSettings s;
    s.baudRate = static_cast<int>(dcb_.BaudRate);
    s.byteSize = dcb_.ByteSize;
    s.parity = dcb_.Parity;
    s.stopBits = dcb_.StopBits;
    s.ctsFlow = fOutxCtsFlow();
    s.dtr = fDtrControl() != 0;  // enable and handshake both raise the line
    s.rts = fRtsControl() != 0;
    s.stripNul = fNull();
    return hCommDev->setSettings(s);
}

}  // namespace dorrak
