#include "email/Pop3Reader.h"

#include "email/AttachmentName.h"
#include "email/MimeLetter.h"
#include "email/QuenbyGlobalObjs.h"
#include "platform/Ansi.h"
#include "platform/Clock.h"
#include "platform/TickGuard.h"
#include "platform/Val.h"
#include "platform/VbError.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>

namespace quenby {

namespace {

// A single-line reply longer than this is not POP3.
constexpr qsizetype kMaxLineBytes = 64 * 1024;
// A multi-line reply may exceed its letter by its status line and the dots
// the server adds.
constexpr qsizetype kReplySlack = 16 * kMaxLineBytes;
// A UIDL has at most 70 characters; longer ones are not kept, so the
// remembered letters of an account stay small.
constexpr qsizetype kMaxUidBytes = 70;
// However long the account's time-out, a session ends within this.
constexpr qint64 kMaxSessionMs = 30LL * 60 * 1000;

// A logon text must not end the command line early.
QByteArray CommandArgument(const QString& text)
{
    QString clean = text;
    clean.remove(QLatin1Char('\r'));
    clean.remove(QLatin1Char('\n'));
    clean.remove(QChar(0));
    return platform::TextToAnsi(clean);
}

// One leading dot less on every line (a server doubles it, RFC 1939), in
// place: a letter may be large.
void Unstuff(QByteArray& bytes)
{
    char* data = bytes.data();
    qsizetype to = 0;
    bool lineStart = true;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = data[i];
        if (lineStart && c == '.') {
            lineStart = false;
            continue;
        }
        data[to++] = c;
        lineStart = c == '\n';
    }
    bytes.truncate(to);
}

// The blank-separated word after position `from` (0-based) of a reply line.
QByteArray WordAfterBlank(const QByteArray& line, qsizetype from)
{
    const qsizetype blank = line.indexOf(' ', from);
    if (blank < 0)
        return QByteArray();
    qsizetype end = blank + 1;
    while (end < line.size() && line.at(end) != ' ' && line.at(end) != '\r' && line.at(end) != '\n')
        ++end;
    return line.mid(blank + 1, end - blank - 1);
}

}  // namespace

Pop3Reader::Pop3Reader(QObject* parent) : QObject(parent), socket_(std::make_unique<QSslSocket>())
{
    connect(socket_.get(), &QIODevice::readyRead, this, &Pop3Reader::onReadyRead);
    connect(socket_.get(), &QAbstractSocket::errorOccurred, this, &Pop3Reader::onSocketError);
    connect(socket_.get(), &QAbstractSocket::disconnected, this, &Pop3Reader::onDisconnected);
}

Pop3Reader::~Pop3Reader()
{
    // No QUIT: a session cut here must not commit its deletions.
    if (state_ != Idle && !completed_)
        dropSavedFiles();
    state_ = Idle;
    socket_->disconnect(this);
    socket_->abort();
}

QString Pop3Reader::ConnectPOP3(const ServerInfo& server)
{
    server_ = server;
    return QString();
}

void Pop3Reader::SetLeftLetters(std::shared_ptr<LeftLetters> left) { left_ = std::move(left); }

QString Pop3Reader::Read(int maxSizeOfLetter, const QString& pathToAttachmentsFolder)
{
    try {
        // Nobody takes the letters of a session cut here, even after its QUIT.
        drop();
        if (!HasServer(server_))
            return NoServerText();
        letters_.clear();
        count_ = 0;
        current_ = 0;
        currentUid_.clear();
        leftThisRead_.clear();
        deletedThisRead_.clear();
        deletedAgain_.clear();
        deletingAgain_ = false;
        seen_.clear();
        listed_.clear();
        savedThisRead_.clear();
        buffer_.clear();
        received_ = 0;
        scanFrom_ = 0;
        completed_ = false;
        error_.clear();
        maxSize_ = maxSizeOfLetter;
        folder_ = pathToAttachmentsFolder;
        // A name is joined to the folder: without the slash it would land beside it.
        if (!folder_.isEmpty() && !folder_.endsWith(QLatin1Char('/')))
            folder_ += QLatin1Char('/');
        state_ = Greeting;
        lastActivity_ = platform::TickCount();
        sessionStart_ = lastActivity_;
        budgetS_ = server_.Timeout;

        const quint16 port = static_cast<quint16>(server_.ServerPort);
        if (server_.SSLRequired) {
            if (!QSslSocket::supportsSsl()) {
                finish(QStringLiteral("POP3 Error: ")
                       + platform::ErrorText(QStringLiteral("TLS is not available"),
                                             static_cast<int>(QAbstractSocket::SslInternalError)));
                return QString();
            }
            QSslConfiguration config = QSslConfiguration::defaultConfiguration();
            config.setPeerVerifyMode(QSslSocket::VerifyPeer);
            const QString caFile = EmailOverride("PARLOVA_POP3_CAFILE", QStringLiteral("Pop3CAFile"));
            if (!caFile.isEmpty())
                config.addCaCertificates(QSslCertificate::fromPath(caFile));
            socket_->setSslConfiguration(config);
            socket_->connectToHostEncrypted(server_.ServerAddress, port);
        } else {
            socket_->connectToHost(server_.ServerAddress, port);
        }
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

void Pop3Reader::Abort()
{
    if (state_ == Quit && !completed_)
        finish(QStringLiteral("POP3 Error: the session was cut before the server answered QUIT"));
    drop();
}

void Pop3Reader::drop()
{
    if (state_ != Idle && !completed_)
        dropSavedFiles();
    state_ = Idle;
    cut();
}

void Pop3Reader::dropSavedFiles()
{
    // Nobody is told about these letters; the next read saves them afresh.
    for (const QString& path : std::as_const(savedThisRead_))
        QFile::remove(path);
    savedThisRead_.clear();
}

void Pop3Reader::cut()
{
    if (socket_->state() != QAbstractSocket::UnconnectedState)
        socket_->abort();
}

void Pop3Reader::finish(const QString& error, bool quitAnswered)
{
    // Marked first: closing the socket may report its end re-entrantly.
    completed_ = true;
    error_ = error;
    // Once QUIT is out the server may remove the marked letters whatever
    // else happens, so they must reach the user. Before it, nothing is
    // committed: the next read finds every letter again.
    const bool handOut = state_ == Quit;
    if (handOut)
        rememberLeft(quitAnswered);
    else
        letters_.clear();
    leftThisRead_.clear();
    deletedThisRead_.clear();
    deletedAgain_.clear();
    seen_.clear();
    listed_.clear();
    if (handOut)
        savedThisRead_.clear();
    else
        dropSavedFiles();
    cut();
}

void Pop3Reader::rememberLeft(bool quitAnswered)
{
    if (!left_)
        return;
    if (quitAnswered) {
        for (const QString& uid : std::as_const(deletedAgain_))
            left_->remove(uid);
    } else {
        // The server may have kept them: a later read only deletes them.
        for (const QString& uid : std::as_const(deletedThisRead_))
            left_->insert(uid, LeftLetter::Undeleted);
    }
    for (auto it = leftThisRead_.cbegin(); it != leftThisRead_.cend(); ++it)
        left_->insert(it.key(), it.value());
    // A remembered letter this read did not see is gone from the server,
    // unless it is one of the letters the read could not tell by UIDL (each
    // handed out by the read anyway). Of the unseen, as many as there were
    // such letters, and a margin, stay: those seen last, so that a letter
    // whose UIDL comes back is not handed out yet again, while the memory
    // never holds much more than one read's letters.
    const qsizetype unknown = count_ - listed_.size();
    left_->Settle(listed_, unknown > 0 ? unknown + kLeftMargin : 0);
}

bool Pop3Reader::Timeout() const
{
    const qint64 now = platform::TickCount();
    // A server that trickles a byte now and then is never idle; the session
    // still gets only the time-out for the logon and once more for each
    // letter it has begun, and never more than half an hour.
    const qint64 elapsed = now - sessionStart_;
    return (now - lastActivity_) / 1000 > server_.Timeout || elapsed / 1000 > budgetS_ || elapsed > kMaxSessionMs;
}

void Pop3Reader::send(const QByteArray& command) { socket_->write(command + "\r\n"); }

void Pop3Reader::onReadyRead()
{
    if (inHandler_)
        return;
    platform::TickGuard guard(inHandler_);
    try {
        handleData();
    } catch (const std::exception& e) {
        if (state_ != Idle && !completed_)
            finish(QStringLiteral("POP3 Error: ") + platform::ErrorText(e));
    }
    lastActivity_ = platform::TickCount();
}

void Pop3Reader::onSocketError()
{
    if (state_ == Idle || completed_)
        return;
    const QAbstractSocket::SocketError error = socket_->error();
    // A server may close at once after its answer to QUIT.
    if (state_ == Quit && error == QAbstractSocket::RemoteHostClosedError) {
        finish(QString());
        return;
    }
    finish(QStringLiteral("POP3 Error: ") + platform::ErrorText(socket_->errorString(), static_cast<int>(error)));
}

void Pop3Reader::onDisconnected()
{
    if (state_ == Idle || completed_)
        return;
    if (state_ == Quit) {
        finish(QString());
        return;
    }
    finish(QStringLiteral("POP3 Error: ")
           + platform::ErrorText(QStringLiteral("The remote host closed the connection"),
                                 static_cast<int>(QAbstractSocket::RemoteHostClosedError)));
}

void Pop3Reader::handleData()
{
    const QByteArray arrived = socket_->readAll();
    received_ += arrived.size();
    buffer_.append(arrived);
    while (state_ != Idle && !completed_ && !buffer_.isEmpty()) {
        const qsizetype lineEnd = buffer_.indexOf('\n');
        if ((lineEnd < 0 ? buffer_.size() : lineEnd + 1) > kMaxLineBytes) {
            finish(QStringLiteral("POP3 Error: ") + platform::AnsiToText(buffer_.left(200)));
            return;
        }
        if (lineEnd < 0)
            return;
        if (state_ == Retr || state_ == Top) {
            if (buffer_.at(0) != '+') {
                finish(QStringLiteral("POP3 Error: ") + platform::AnsiToText(buffer_.left(lineEnd + 1)));
                return;
            }
            // The letter ends with a line holding only "."; the status
            // line's own line end may start that terminator.
            const qsizetype end = buffer_.indexOf("\n.\r\n", qMax(lineEnd, scanFrom_));
            // Judged on what is held, ended or not, so the outcome does not
            // depend on how the reply was cut into segments.
            const QString tooLong = overlong(end < 0 ? buffer_.size() : end);
            if (!tooLong.isEmpty()) {
                finish(tooLong);
                return;
            }
            if (end < 0) {
                scanFrom_ = qMax(lineEnd, buffer_.size() - 3);
                return;
            }
            scanFrom_ = 0;
            // Taken over rather than copied, and the rest moved out, so a
            // large letter is held once.
            QByteArray letter = std::move(buffer_);
            buffer_ = letter.mid(end + 4);
            letter.truncate(end + 1);
            letter.remove(0, lineEnd + 1);
            Unstuff(letter);
            handleMultiLine(std::move(letter));
            continue;
        }
        const QByteArray line = buffer_.left(lineEnd + 1);
        buffer_.remove(0, lineEnd + 1);
        if (!handleLine(line))
            return;
    }
}

QString Pop3Reader::overlong(qsizetype replyBytes) const
{
    const double size = static_cast<double>(replyBytes);
    const QString letter = QStringLiteral("letter ") + QString::number(current_);
    // Whatever LIST said: a server may list a letter as a terabyte.
    if (state_ == Top && size > kMaxHeaderBytes)
        return QStringLiteral("POP3 Error: the headers of ") + letter + QStringLiteral(" are longer than ")
               + QString::number(kMaxHeaderBytes) + QStringLiteral(" bytes");
    if (state_ == Retr && size > static_cast<double>(letterCap_) + kReplySlack)
        return QStringLiteral("POP3 Error: ") + letter + QStringLiteral(" is longer than the ")
               + QString::number(letterCap_) + QStringLiteral(" bytes a letter may have");
    // Dot-stuffing at most doubles a letter.
    if (size > 2 * listedSize_ + kReplySlack)
        return QStringLiteral("POP3 Error: ") + letter + QStringLiteral(" is longer than the ")
               + QString::number(listedSize_, 'f', 0) + QStringLiteral(" bytes the server listed");
    return QString();
}

bool Pop3Reader::handleLine(const QByteArray& line)
{
    const bool positive = line.startsWith('+');
    // A letter the server will not delete was read whole: it is handed out
    // and, known by its UIDL, remembered, so it is neither lost nor read
    // again; later reads only ask again for its deletion. Without a UIDL
    // nothing could tell it apart later.
    if (!positive && state_ == Dele && !currentUid_.isEmpty()) {
        if (!deletingAgain_)
            leaveLetter(LeftLetter::Undeleted);
        nextLetter();
        return true;
    }
    // A server without UIDL can still be read; it only cannot skip letters.
    if (!positive && state_ != Uidl) {
        finish(QStringLiteral("POP3 Error: ") + platform::AnsiToText(line));
        return false;
    }
    switch (state_) {
    case Greeting:
        send("USER " + CommandArgument(server_.LogonName));
        state_ = User;
        break;
    case User:
        send("PASS " + CommandArgument(server_.LogonPassword));
        state_ = Pass;
        break;
    case Pass:
        send("STAT");
        state_ = Stat;
        break;
    case Stat: {
        // The count starts at the fifth character ("+OK n m").
        const qsizetype blank = line.indexOf(' ', 4);
        const QByteArray number = line.mid(4, blank < 0 ? -1 : blank - 4);
        const double count = platform::Val(platform::AnsiToText(number));
        if (!(count >= 1)) {
            send("QUIT");
            state_ = Quit;
            break;
        }
        count_ = count > kMaxLettersPerRead ? kMaxLettersPerRead : static_cast<int>(count);
        current_ = 1;
        startLetter();
        break;
    }
    case Uidl: {
        currentUid_.clear();
        if (positive) {
            // "+OK n uid". A UIDL for another letter, or one an earlier
            // letter had, does not tell this letter: it is read as one
            // without, never skipped or deleted on the strength of a memory.
            const QList<QByteArray> words = line.simplified().split(' ');
            bool numbered = false;
            const bool forThis = words.size() >= 3 && words.at(1).toInt(&numbered) == current_ && numbered;
            if (forThis && words.at(2).size() <= kMaxUidBytes) {
                const QString uid = platform::AnsiToText(words.at(2));
                if (!seen_.contains(uid))
                    currentUid_ = uid;
            }
        }
        if (!currentUid_.isEmpty()) {
            seen_.insert(currentUid_);
            listed_.append(currentUid_);
            if (left_ && left_->contains(currentUid_)) {
                // Handed out already; only a refused deletion is still owed.
                if (left_->value(currentUid_) == LeftLetter::Undeleted) {
                    send("DELE " + QByteArray::number(current_));
                    state_ = Dele;
                    deletingAgain_ = true;
                } else {
                    nextLetter();
                }
                break;
            }
        }
        send("LIST " + QByteArray::number(current_));
        state_ = List;
        break;
    }
    case List: {
        const double size = platform::Val(platform::AnsiToText(WordAfterBlank(line, 4)));
        listedSize_ = size > 0 ? size : 0;
        letters_.append(EmailLetter());
        // Without a limit of its own a letter still has to fit in memory.
        const double limit = maxSize_ > 0 && maxSize_ < letterCap_ ? maxSize_ : letterCap_;
        if (size > limit) {
            MAPIMessage& msg = letters_.last().Message;
            msg.NoteText = QStringLiteral("{The message was not loaded because its size (") + QString::number(size, 'f', 0)
                           + QStringLiteral(" bytes) exceedes the limit. It was left in the mail server.}");
            msg.Flags = kLetterTooBig;
            send("TOP " + QByteArray::number(current_) + " 0");
            state_ = Top;
        } else {
            send("RETR " + QByteArray::number(current_));
            state_ = Retr;
        }
        break;
    }
    case Dele:
        if (deletingAgain_)
            deletedAgain_ << currentUid_;
        else if (!currentUid_.isEmpty())
            deletedThisRead_ << currentUid_;
        nextLetter();
        break;
    case Quit:
        finish(QString(), true);
        return false;
    default:
        break;
    }
    return true;
}

void Pop3Reader::startLetter()
{
    budgetS_ += server_.Timeout;
    deletingAgain_ = false;
    send("UIDL " + QByteArray::number(current_));
    state_ = Uidl;
}

void Pop3Reader::nextLetter()
{
    if (current_ < count_) {
        ++current_;
        startLetter();
    } else {
        send("QUIT");
        state_ = Quit;
    }
}

void Pop3Reader::leaveLetter(LeftLetter why)
{
    if (!currentUid_.isEmpty())
        leftThisRead_.insert(currentUid_, why);
}

void Pop3Reader::handleMultiLine(QByteArray&& letterBytes)
{
    const bool whole = state_ == Retr;
    MimeLetter parsed;
    const bool ok = ParseMimeLetter(letterBytes, parsed, whole);
    letterBytes = QByteArray();  // the parsed parts are all that is needed now
    EmailLetter& letter = letters_.last();
    letter.Originator.Name = parsed.from.name;
    letter.Originator.Address = parsed.from.address;
    letter.Message.Subject = parsed.subject;
    if (!whole) {
        letter.Message.FileCount = static_cast<qint32>(parsed.attachments.size());
        leaveLetter(LeftLetter::TooBig);
        nextLetter();
        return;
    }
    letter.Message.NoteText = parsed.body;
    letter.Message.FileCount = static_cast<qint32>(parsed.attachments.size());
    QString error;
    if (!ok) {
        // Never delete what could not be read.
        error = QStringLiteral("the message cannot be parsed");
    } else if (!parsed.attachments.isEmpty()) {
        QList<QByteArray> contents;
        QStringList names;
        for (const MimeAttachment& a : parsed.attachments) {
            contents << a.content;
            names << a.fileName;
        }
        error = saveAttachments(letter, contents, names);
    }
    if (error.isEmpty()) {
        send("DELE " + QByteArray::number(current_));
        state_ = Dele;
        return;
    }
    letter.Message.Flags = kLetterAttachmentsFailed;
    letter.Message.NoteText += QStringLiteral("\r\n{While loading attachments an error occured: ") + error
                               + QStringLiteral(". The message was left in the mail server.}");
    // A local failure (a full or unwritable folder) may pass: the letter is
    // not remembered as left, so the next read tries it again.
    nextLetter();
}

QString Pop3Reader::saveAttachments(EmailLetter& letter, const QList<QByteArray>& contents, const QStringList& names)
{
    if (contents.isEmpty())
        return QString();
    if (folder_.isEmpty())
        return QStringLiteral("Folder for saving attachments is not set");
    letter.Attachments = QList<MapiFile>(contents.size());
    for (qsizetype i = 0; i < contents.size(); ++i) {
        QString path;
        const QString error = SaveNewFile(folder_, AttachmentFileName(names.at(i)), contents.at(i), nameCounter_, path);
        if (!error.isEmpty()) {
            // The letter stays on the server whole: no half of it on disk.
            for (qsizetype j = 0; j < i; ++j)
                QFile::remove(letter.Attachments.at(j).PathName);
            letter.Attachments.clear();
            return error;
        }
        letter.Attachments[i].PathName = path;
        savedThisRead_ << path;
    }
    return QString();
}

QString Pop3Reader::GetReadMessages(int& outMsgsCount, QList<EmailLetter>& outLetters) const
{
    if (!completed_)
        return QStringLiteral("Read operation is not completed");
    outMsgsCount = static_cast<int>(letters_.size());
    if (outMsgsCount < 1)
        return QString();
    outLetters = QList<EmailLetter>(letters_.size());
    for (qsizetype i = 0; i < letters_.size(); ++i) {
        const EmailLetter& from = letters_.at(i);
        EmailLetter& to = outLetters[i];
        to.Originator = from.Originator;
        to.Message = from.Message;
        if (from.Message.FileCount > 0 && !(from.Message.Flags & kLetterAttachmentsFailed) && !from.Attachments.isEmpty())
            to.Attachments = from.Attachments;
    }
    return QString();
}

QString Pop3Reader::ParseFromField(QString& outName, QString& outAddr, const QString& fromField)
{
    outName.clear();
    outAddr.clear();
    // Positions below are 1-based, as in the From text's own description.
    const qsizetype p = fromField.indexOf(QLatin1Char('@')) + 1;
    if (p == 0)
        return QString();
    const qsizetype b = fromField.lastIndexOf(QLatin1Char(' '), p - 1) + 1;
    if (b > 1) {
        QString name = fromField.left(b - 1);
        if (name.startsWith(QLatin1Char('"'))) {
            const qsizetype close = name.indexOf(QLatin1Char('"'), 1);
            name = close < 0 ? name.mid(1) : name.mid(1, close - 1);
        }
        outName = name;
    }
    const qsizetype comma = fromField.indexOf(QLatin1Char(','), p - 1);
    qsizetype start = b;  // 0-based index of character b + 1
    const qsizetype end = comma < 0 ? fromField.size() : comma;
    if (start < fromField.size() && fromField.at(start) == QLatin1Char('<')) {
        ++start;
        outAddr = fromField.mid(start, end - start);
        outAddr.chop(1);
    } else {
        outAddr = fromField.mid(start, end - start);
    }
    return QString();
}

}  // namespace quenby
