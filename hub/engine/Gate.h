#pragma once
// The hub's public gate to the phone. The client pushes set-up
// PhoneCommands and pulls finished ones; the gate runs one at a time through
// its CommPort, turns arrival lines into "ReadSMS" commands, keeps the parts
// of long messages until they are complete or time out, fails the rest of a
// transaction when one of its commands fails, and keeps the hub log.
//
// A gate registers the message chains when it is made.
// EngineTick (every 100 ms) and PartsTick (every 1000 ms) run from the
// gate's own timers; tests call them, and the port's Tick, themselves.
#include "hub/engine/PhoneCommand.h"
#include "platform/Collection.h"
#include "terminal/CommPort.h"

#include <QString>
#include <QVariant>

#include <memory>

namespace platform {
class Timer;
}

namespace corvane {

class Gate {
public:
    Gate();
    ~Gate();
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;

    void Push(const PhoneCommandPtr& newCommand);
    // The oldest finished command, or nullptr.
    PhoneCommandPtr Pull();
    void Disconnect();
    bool connected() const { return connected_; }
    // "COM" & n while connected, else "".
    QString ComPort() const;
    qint32 Speed() const;
    // A folder opens "ParlovaHubLog.txt" in it (and the phone log beside
    // it); an empty name closes both.
    QVariant LogToFile(const QString& folderName);
    void WaitSMS();
    void WaitStatusReport();
    void SetShiftME(qint32 shift) { shiftME_ = shift; }
    // The running command's progress, 0 when none runs.
    qint32 Progress() const;

    void EngineTick();
    void PartsTick();

    // For tests and the program's wiring.
    dorrak::CommPort& Comm() { return *comm_; }
    const SMSCollectionPtr& KeptParts() const { return keptParts_; }
    qsizetype InputCount() const { return input_.Count(); }
    qsizetype OutputCount() const { return output_.Count(); }
    PhoneCommandPtr ActiveCommand() const { return active_; }

private:
    void onCommandAnswer(const QString& data, dorrak::MODEM_RESULT_CODEs result);
    void onConnection(bool isConnected, int port, int baudRate, const QString& errorDesc);
    void onUnsolicitedArrival(const QString& data, dorrak::CommandSort sort);

    void engineTick();
    void startStep(bool justTaken);
    QString StartConnection();
    void FailTransaction();
    void FlushPendingSMS();
    // Lets the waiting step record that its command was cut off.
    void interrupted(PhoneCommand& command);
    void deliver(const PhoneCommandPtr& command);
    PhoneCommandPtr partCommand(const std::shared_ptr<SMS>& part, dorrak::MODEM_RESULT_CODEs result) const;

    platform::Collection<PhoneCommandPtr> input_;
    platform::Collection<PhoneCommandPtr> output_;
    std::unique_ptr<dorrak::CommPort> comm_;
    PhoneCommandPtr active_;
    bool ready_ = true;
    bool connected_ = false;
    bool awaitingConnection_ = false;
    int awaitedPort_ = 0;
    int port_ = 0;
    int speed_ = 0;
    bool pendingDisconnect_ = false;
    bool pendingWaitSMS_ = false;
    bool pendingWaitStatusReport_ = false;
    SMSCollectionPtr keptParts_;
    qint32 shiftME_ = 0;
    bool inTransaction_ = false;
    bool inEngineTick_ = false;
    bool inPartsTick_ = false;
    std::unique_ptr<platform::Timer> mtmrTimer_;
    std::unique_ptr<platform::Timer> mtmrTimerSMS_;
};

}  // namespace corvane
