#pragma once
// The client's way into the mail service. It runs one command at a time:
// every 2 s it starts the next pushed command (while ready) or moves the
// finished current one to the out-queue; every 60 s, while ready, it counts
// a minute and queues a mailbox read when the poll interval is reached.
// The client pulls finished commands; nothing calls back.
//
// The timers call CommandTick and MinuteTick; tests call them directly.
#include "email/EmailCommand.h"
#include "email/EmailServiceTypes.h"
#include "email/LeftLetters.h"
#include "email/ServerInfo.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

namespace platform {
class Timer;
}

namespace quenby {

class EmailGate {
public:
    static constexpr int kCommandIntervalMs = 2000;
    static constexpr int kMinuteIntervalMs = 60000;

    // Decides the process-wide service type and starts both timers.
    EmailGate();
    ~EmailGate();
    EmailGate(const EmailGate&) = delete;
    EmailGate& operator=(const EmailGate&) = delete;

    // Queues a command whatever the gate's state; it runs after the ones
    // before it once the gate is ready.
    void Push(std::shared_ptr<EmailCommand> newCommand);
    // The oldest finished command, or none. Never blocks.
    std::shared_ptr<EmailCommand> Pull();

    bool Ready() const { return ready_; }

    // Configures the services for the account (contacts no server) and,
    // on success, queues a mailbox read at once. Empty, or the error.
    // For CDOSYS_TYPE one of the two servers must be set (HasServer); the
    // direction of a server left unset fails its commands at once.
    QString Connect(const QString& UserName, const QString& UserEmail, const ServerInfo& inServer,
                    const ServerInfo& outServer);
    // Ends the account. A current command that has not finished is cut and
    // reported as ABORTED_BY_USER_RESULT; one that has finished keeps its
    // result. Queued commands wait for the next Connect.
    QString Disconnect();

    int MaxSize() const { return maxSize_; }
    void SetMaxSize(int bytes) { maxSize_ = bytes; }
    QString AttachmentsFolder() const { return attachmentsFolder_; }
    // Kept only when it names an existing folder (then it ends in "/" or
    // "\"); anything else leaves the folder empty.
    void SetAttachmentsFolder(const QString& folder);

    EmailServiceTypes ServiceType() const;

    // The command timer's work (every 2000 ms).
    void CommandTick();
    // The minute timer's work (every 60000 ms).
    void MinuteTick();

    int PollInterval() const { return pollInterval_; }
    int InQueueCount() const { return static_cast<int>(inQueue_.size()); }
    int OutQueueCount() const { return static_cast<int>(outQueue_.size()); }
    std::shared_ptr<EmailCommand> CurrentCommand() const { return current_; }

private:
    void queueRead();
    void releaseServices();

    QList<std::shared_ptr<EmailCommand>> inQueue_;
    QList<std::shared_ptr<EmailCommand>> outQueue_;
    std::shared_ptr<EmailCommand> current_;
    bool ready_ = false;
    int maxSize_ = 0;
    QString attachmentsFolder_;
    int pollInterval_ = 0;
    // False for an account without an incoming server: its one read at
    // Connect says so, and polling would only say it again every minute.
    bool polls_ = false;
    // Letters left on a POP3 server, by account, for the gate's life.
    QHash<QString, std::shared_ptr<LeftLetters>> leftLetters_;
    bool inCommandTick_ = false;
    bool inMinuteTick_ = false;
    std::unique_ptr<platform::Timer> mtmrTimer_;
    std::unique_ptr<platform::Timer> mtmrTimer2_;
};

}  // namespace quenby
