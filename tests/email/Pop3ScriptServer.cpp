#include "Pop3ScriptServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>

namespace mailtest {

namespace {
QElapsedTimer& Clock()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock;
}
}  // namespace

QByteArray MultiLine(const QByteArray& status, const QByteArray& letter)
{
    QByteArray out = status + "\r\n";
    QByteArray body = letter;
    body.replace("\r\n", "\n");
    const QList<QByteArray> lines = body.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == lines.size() - 1 && lines.at(i).isEmpty())
            break;
        if (lines.at(i).startsWith('.'))
            out += '.';
        out += lines.at(i) + "\r\n";
    }
    return out + ".\r\n";
}

bool WaitFor(const std::function<bool()>& done, int ms, Pop3ScriptServer* server)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (server)
            server->pump();
    }
    return true;
}

Pop3ScriptServer::Pop3ScriptServer()
{
    QObject::connect(&server_, &QTcpServer::newConnection, this, [this] { onNewConnection(); });
    server_.listen(QHostAddress::LocalHost, 0);
}

Pop3ScriptServer::~Pop3ScriptServer()
{
    if (client_)
        client_->abort();
}

void Pop3ScriptServer::onNewConnection()
{
    while (QTcpSocket* next = server_.nextPendingConnection()) {
        if (client_) {
            client_->abort();
            client_->deleteLater();
        }
        client_ = next;
        client_->setParent(this);
        ++connections_;
        inbuf_.clear();
        deleted_.clear();
        pending_.clear();
        stream_.clear();
        QObject::connect(client_, &QTcpSocket::readyRead, this, [this, next] {
            if (next == client_)
                onReadyRead();
        });
        QObject::connect(client_, &QTcpSocket::bytesWritten, this, [this, next] {
            if (next == client_)
                feed();
        });
        queue(greeting_);
    }
}

void Pop3ScriptServer::onReadyRead()
{
    inbuf_ += client_->readAll();
    qsizetype end;
    while ((end = inbuf_.indexOf("\r\n")) >= 0) {
        const QByteArray command = inbuf_.left(end);
        inbuf_.remove(0, end + 2);
        commands_ << command;
        Answer answer;
        if (!override_ || !override_(command, answer))
            answer = mailboxAnswer(command);
        queue(answer);
    }
}

Pop3ScriptServer::Answer Pop3ScriptServer::mailboxAnswer(const QByteArray& command)
{
    const QList<QByteArray> words = command.split(' ');
    const QByteArray verb = words.value(0).toUpper();
    const int n = words.value(1).toInt();
    const bool exists = n >= 1 && n <= letters_.size() && !deleted_.contains(n);
    auto err = [] { return Answer{{"-ERR no such message\r\n"}}; };
    if (verb == "USER" || verb == "PASS")
        return Answer{{"+OK\r\n"}};
    if (verb == "STAT") {
        qsizetype total = 0;
        for (const QByteArray& l : letters_)
            total += l.size();
        return Answer{{"+OK " + QByteArray::number(letters_.size()) + " " + QByteArray::number(total) + "\r\n"}};
    }
    if (verb == "UIDL")
        return exists ? Answer{{"+OK " + QByteArray::number(n) + " uid-" + QByteArray::number(n) + "\r\n"}} : err();
    if (verb == "LIST")
        return exists ? Answer{{"+OK " + QByteArray::number(n) + " " + QByteArray::number(letters_.at(n - 1).size())
                                + "\r\n"}}
                      : err();
    if (verb == "RETR")
        return exists ? Answer{{MultiLine("+OK message follows", letters_.at(n - 1))}} : err();
    if (verb == "TOP") {
        if (!exists)
            return err();
        QByteArray letter = letters_.at(n - 1);
        letter.replace("\r\n", "\n");
        const qsizetype blank = letter.indexOf("\n\n");
        return Answer{{MultiLine("+OK top follows", blank < 0 ? letter : letter.left(blank + 1))}};
    }
    if (verb == "DELE") {
        if (!exists)
            return err();
        deleted_ << n;
        return Answer{{"+OK deleted\r\n"}};
    }
    if (verb == "QUIT") {
        committed_ += deleted_;
        return Answer{{"+OK bye\r\n"}, true};
    }
    return Answer{{"-ERR unknown command\r\n"}};
}

void Pop3ScriptServer::queue(const Answer& answer)
{
    if (answer.silent)
        return;
    qint64 due = Clock().elapsed();
    for (qsizetype i = 0; i < answer.pieces.size(); ++i) {
        pending_.append(Pending{answer.pieces.at(i), due, answer.close && i == answer.pieces.size() - 1});
        due += delayMs_;
    }
    if (answer.pieces.isEmpty() && answer.close)
        pending_.append(Pending{QByteArray(), due, true});
    if (!answer.endless.isEmpty())
        pending_.append(Pending{answer.endless, due, false, true});
    pump();
}

void Pop3ScriptServer::pump()
{
    while (!pending_.isEmpty() && pending_.first().due <= Clock().elapsed()) {
        const Pending p = pending_.takeFirst();
        if (!client_)
            continue;
        if (p.endless) {
            stream_ = p.bytes;
            feed();
            continue;
        }
        if (!p.bytes.isEmpty()) {
            client_->write(p.bytes);
            client_->flush();
        }
        if (p.close) {
            client_->disconnectFromHost();
            pending_.clear();
        }
    }
}

void Pop3ScriptServer::feed()
{
    // Only a little is kept ahead of the socket: the stream itself is never
    // held, however long it runs.
    constexpr qint64 kAhead = 256 * 1024;
    while (!stream_.isEmpty() && client_ && client_->state() == QAbstractSocket::ConnectedState
           && client_->bytesToWrite() < kAhead)
        client_->write(stream_);
}

void Pop3ScriptServer::sendNow(const QByteArray& bytes)
{
    if (client_ && client_->state() == QAbstractSocket::ConnectedState) {
        client_->write(bytes);
        client_->flush();
    }
}

}  // namespace mailtest
