#pragma once
// The serial device control record, each setting a checked property. It is
// loaded from an open port, changed and written back.
#include <QString>
#include <QtGlobal>

namespace platform {
class SerialDevice;
}

namespace dorrak {

// Laid out field for field as the Windows record it stands for.
struct DCBRecord {
    quint32 DCBlength;
    quint32 BaudRate;
    quint32 Flags;
    quint16 wReserved;
    quint16 XonLim;
    quint16 XoffLim;
    quint8 ByteSize;
    quint8 Parity;
    quint8 StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    quint16 wReserved1;
};
static_assert(sizeof(DCBRecord) == 28, "the record is 28 bytes");

class dwDCB {
public:
    dwDCB();

    int baudRate() const;
    void setBaudRate(int value);
    bool fParity() const;
    void setFParity(bool value);
    bool fOutxCtsFlow() const;
    void setFOutxCtsFlow(bool value);
    bool fOutxDsrFlow() const;
    void setFOutxDsrFlow(bool value);
    qint16 fDtrControl() const;
    void setFDtrControl(qint16 value);
    bool fDsrSensitivity() const;
    void setFDsrSensitivity(bool value);
    bool fTXContinueOnXoff() const;
    void setFTXContinueOnXoff(bool value);
    bool fOutX() const;
    void setFOutX(bool value);
    bool fInX() const;
    void setFInX(bool value);
    bool fErrorChar() const;
    void setFErrorChar(bool value);
    bool fNull() const;
    void setFNull(bool value);
    qint16 fRtsControl() const;
    void setFRtsControl(qint16 value);
    bool fAbortOnError() const;
    void setFAbortOnError(bool value);
    qint16 XonLim() const;
    void setXonLim(qint16 value);
    qint16 XoffLim() const;
    void setXoffLim(qint16 value);
    int ByteSize() const;
    void setByteSize(int value);
    int Parity() const;
    void setParity(int value);
    int StopBits() const;
    void setStopBits(int value);
    QString XonChar() const;
    void setXonChar(const QString& value);
    QString XoffChar() const;
    void setXoffChar(const QString& value);
    QString ErrorChar() const;
    void setErrorChar(const QString& value);
    QString EofChar() const;
    void setEofChar(const QString& value);
    QString EvtChar() const;
    void setEvtChar(const QString& value);

    // False for a device that is not open. Loading takes speed, frame and
    // flow control from the line; the other fields keep their values.
    bool GetCommState(platform::SerialDevice* hCommDev);
    bool SetCommState(platform::SerialDevice* hCommDev);

    const DCBRecord& record() const { return dcb_; }

private:
    bool flag(int bit) const;
    void setFlag(int bit, bool on);
    int field2(int shift) const;
    void setField2(int shift, int value);

    DCBRecord dcb_;
    qint16 referenceQueueSize_ = 2048;
};

}  // namespace dorrak
