#pragma once
// A POP3 server driven from the test's own loop, for what a real server
// will not do: replies split across segments, errors where none belong,
// silence, absurd counts, closing at odd moments. It serves a mailbox of
// raw letters and lets a test replace the answer to any command.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>

namespace mailtest {

class Pop3ScriptServer : public QObject {
public:
    // One answer: its pieces go out in separate writes, some time apart;
    // close ends the connection after the last piece; silent sends nothing;
    // endless, when set, follows the pieces again and again until the
    // connection ends, written as the socket drains.
    struct Answer {
        QList<QByteArray> pieces;
        bool close = false;
        bool silent = false;
        QByteArray endless{};
    };
    // Returns true and fills the answer to override the mailbox's own.
    using Override = std::function<bool(const QByteArray& command, Answer& answer)>;

    Pop3ScriptServer();
    ~Pop3ScriptServer() override;

    quint16 port() const { return server_.serverPort(); }
    void setLetters(const QList<QByteArray>& letters) { letters_ = letters; deleted_.clear(); }
    void setGreeting(const Answer& greeting) { greeting_ = greeting; }
    void setOverride(Override o) { override_ = std::move(o); }
    // A later piece waits this long after the one before it.
    void setPieceDelayMs(int ms) { delayMs_ = ms; }

    // Sends what is due. The test's wait loop calls it.
    void pump();

    // Command lines received (without CR LF), over all connections.
    const QList<QByteArray>& commands() const { return commands_; }
    // A command line beginning with verb came in, on any connection.
    bool received(const QByteArray& verb) const
    {
        for (const QByteArray& c : commands_)
            if (c.startsWith(verb))
                return true;
        return false;
    }
    bool clientConnected() const { return client_ && client_->state() == QAbstractSocket::ConnectedState; }
    int connections() const { return connections_; }
    // Letter numbers marked for deletion by a session that ended with QUIT.
    const QList<int>& committedDeletions() const { return committed_; }
    // Sends bytes now on the open connection (a late reply).
    void sendNow(const QByteArray& bytes);

    // The mailbox's own answer to a command.
    Answer mailboxAnswer(const QByteArray& command);

private:
    void onNewConnection();
    void onReadyRead();
    void queue(const Answer& answer);
    void feed();

    QTcpServer server_;
    QTcpSocket* client_ = nullptr;
    QByteArray inbuf_;
    QList<QByteArray> letters_;
    QList<int> deleted_;
    QList<int> committed_;
    Answer greeting_{{"+OK scripted POP3 ready\r\n"}};
    Override override_;
    int delayMs_ = 40;
    int connections_ = 0;
    QList<QByteArray> commands_;
    struct Pending {
        QByteArray bytes;
        qint64 due;
        bool close;
        bool endless = false;
    };
    QList<Pending> pending_;
    QByteArray stream_;  // the endless answer being written
};

// Dot-stuffs a letter and ends it as a multi-line POP3 reply.
QByteArray MultiLine(const QByteArray& status, const QByteArray& letter);

// Pumps the Qt event loop (and the scripted server) until done() or the
// deadline; for waiting on real network I/O only.
bool WaitFor(const std::function<bool()>& done, int ms = 15000, Pop3ScriptServer* server = nullptr);

}  // namespace mailtest
