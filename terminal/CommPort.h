#pragma once
// The serial phone terminal: owns one port to a phone, writes AT text,
// matches the reply of the running command and announces unsolicited
// new-message and status-report lines. Everything runs in Tick(), every 50 ms.
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>

namespace dorrak {

enum CommandSort {
    mbtNotAssigned = 0,
    mbtSendSMS = 1,
    mbtReadSMS = 2,
    mbtSendGroupSMS = 3,
    mbtQueryPhone = 4,
    mbtSMSArrived = 5,
    mbtStatusReportArrived = 6,
    mbtLightCommand = 7,
};

enum MODEM_RESULT_CODEs {
    OK_ANSWER = 0,
    TIME_OUT = 1,
    TRANSACTION_FAIL = 2,
    ERROR_ANSWER = 3,
    INTERRUPTED = 4,
    NOT_EXECUTED = 9,
};

class CommPortPrivate;

class CommPort {
public:
    CommPort();
    ~CommPort();
    CommPort(const CommPort&) = delete;
    CommPort& operator=(const CommPort&) = delete;

    // timeouts holds the five serial time-out values, indexes 0 to 4.
    QString Connect(int port, int baudRate, const QVector<qint32>& timeouts);
    // Empty value when it closed the port, "Already disconnected" otherwise.
    QVariant Disconnect();
    QString Output(const QString& outputData, const QString& answer, const QString& errorAnswer, int TimeOut);
    // A second error wait string for the next Output only, e.g. "ERROR" + CR
    // beside "+CMS ERROR:;" + CR for a phone that reports errors unnumbered.
    // Whichever error matcher completes ends the command with ERROR_ANSWER.
    // An empty text sets none; every Output uses up what was set.
    void setErrorAlternative(const QString& waitString);

    // Asks for (or stops) the arrival lines of a kind. Lines of a kind not
    // asked for are kept while the port stays open, each (memory, index)
    // once, and announced in the Tick after it is asked for: a phone may
    // announce a message before the terminal is ready for it.
    bool WaitStatusReport() const;
    void setWaitStatusReport(bool wait);
    bool WaitSMS() const;
    void setWaitSMS(bool wait);

    void LogToFile(const QString& folderName);

    int InstanceId() const;
    // The 50 ms timer's work; the program's timer calls it, tests call it.
    void Tick();

    // Events, raised synchronously inside Tick (or inside the opening).
    std::function<void(bool connected, int port, int baudRate, const QString& errorDesc)> Connection;
    std::function<void(const QString& data, CommandSort sort)> UnsolicitedArrival;
    std::function<void(const QString& data, MODEM_RESULT_CODEs result)> CommandAnswer;

private:
    std::unique_ptr<CommPortPrivate> d;
};

}  // namespace dorrak
