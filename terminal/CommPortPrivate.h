#pragma once
// The state behind one CommPort.
#include "platform/SerialDevice.h"
#include "platform/Timer.h"
#include "terminal/CommPort.h"
#include "terminal/WaitAnswer.h"
#include "terminal/Waiter.h"
#include "terminal/dwDCB.h"

#include <QList>
#include <QPair>
#include <QSet>

#include <array>
#include <memory>

namespace dorrak {

class CommPortPrivate {
public:
    explicit CommPortPrivate(CommPort* owner);

    void tick();
    void openPort();
    void closePort();
    QString writeOutput(const QString& text);
    void continueWrite();
    void pollIO();
    void startInput();
    void processReadComplete(const QByteArray& data);
    void startEventWatch();
    void processEvent();
    void dropMatchers();
    void raiseArrivals();
    void found(const QString& line, CommandSort sort);
    void release(CommandSort sort);
    std::unique_ptr<Waiter> makeWatcher(const QString& waitString, CommandSort sort);
    bool isOpen() const { return device.isOpen(); }

    CommPort* q;
    qint32 instanceId;
    int port = 0;
    int baudRate = 0;
    std::array<quint32, 5> timeouts{};  // ReadInterval, ReadMultiplier, ReadConstant, WriteMultiplier, WriteConstant
    bool openPending = false;
    platform::SerialDevice device;
    QString portName;
    bool fatal = false;
    dwDCB dcb;
    quint32 eventMask = 128;  // line errors only
    bool readPending = false;
    bool writePending = false;
    bool eventPending = false;
    quint32 eventBits = 0;
    QString outputBuffer;
    std::unique_ptr<WaitAnswer> answer;
    std::unique_ptr<WaitAnswer> errorAnswer;
    std::unique_ptr<WaitAnswer> errorAlternative;
    bool haveNextErrorAlternative = false;
    QString nextErrorAlternative;
    // The new-message and status-report lines are watched from the opening
    // on, armed or not: a phone may announce a message before the terminal
    // asks for the lines (it flushes what it kept when indications are
    // turned on), and a line begun before arming must still end whole.
    std::unique_ptr<Waiter> mwtrSMS;
    std::unique_ptr<Waiter> mwtrSMS2;
    std::unique_ptr<Waiter> mwtrStatusReport;
    bool waitSMS = false;
    bool waitStatusReport = false;
    QList<QPair<QString, CommandSort>> arrivals;
    // Lines seen while their kind was not asked for, kept until it is, in
    // the order they came. A phone may say the same (memory, index) again
    // (it flushes its buffer when indications are turned on); it is kept
    // once. No phone memory holds as many messages as the bound.
    struct Held {
        QList<QString> lines;
        QSet<QString> keys;
    };
    Held& held(CommandSort sort) { return sort == mbtStatusReportArrived ? heldStatusReports : heldSMS; }
    Held heldSMS;
    Held heldStatusReports;
    static constexpr qsizetype kMostHeld = 1024;
    bool inTick = false;
    std::unique_ptr<platform::Timer> mtmrTimer;
};

}  // namespace dorrak
