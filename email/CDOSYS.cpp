#include "email/CDOSYS.h"

#include "email/LetterComposer.h"
#include "email/Pop3Reader.h"
#include "email/QuenbyGlobalObjs.h"
#include "platform/Clock.h"
#include "platform/TickGuard.h"
#include "platform/Timer.h"
#include "platform/VbError.h"

#include <curl/curl.h>

#include <cstring>
#include <mutex>

#include <sys/socket.h>
#include <unistd.h>

namespace quenby {
namespace {

// How often the running transfer is advanced.
constexpr int kTickMs = 20;
// The connection time-out when the account names none.
constexpr long kDefaultTimeoutS = 30;

constexpr int kErrNotConfigured = platform::vberr::InvalidProcedureCall;
constexpr int kErrBadAddress = platform::vberr::InvalidProcedureCall;

CURLM* Multi(void* p) { return static_cast<CURLM*>(p); }

void EnsureCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The port on which SSL means TLS from the first byte; on any other port it
// means STARTTLS.
int ImplicitTlsPort()
{
    const QString port = EmailOverride("PARLOVA_SMTPS_PORT", QStringLiteral("SmtpsPort"));
    bool ok = false;
    const int n = port.toInt(&ok);
    return ok && n > 0 ? n : 465;
}

// No line breaks in what goes into a SASL exchange.
QByteArray Credential(const QString& text)
{
    QString s = text;
    s.remove(QLatin1Char('\r'));
    s.remove(QLatin1Char('\n'));
    return s.toUtf8();
}

// The sockets of the sender's transfers, kept in the sender's set.
curl_socket_t OpenSocket(void* sockets, curlsocktype, curl_sockaddr* address)
{
    const int fd = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    if (fd < 0)
        return CURL_SOCKET_BAD;
    static_cast<QSet<int>*>(sockets)->insert(fd);
    return fd;
}

int CloseSocket(void* sockets, curl_socket_t fd)
{
    static_cast<QSet<int>*>(sockets)->remove(fd);
    return ::close(fd);
}

}  // namespace

// curl only connects, says EHLO, starts TLS and logs on; the letter itself
// goes through our own short dialog on that connection (MAIL, RCPT, DATA),
// because curl waits for the answer to the letter's end without returning.
struct CDOSYS::Transfer {
    enum Phase { Connecting, MailFrom, Rcpt, Data, Body };

    CURL* easy = nullptr;
    char error[CURL_ERROR_SIZE] = {};
    Phase phase = Connecting;
    QByteArray from;
    QList<QByteArray> rcpts;
    qsizetype rcptIndex = 0;
    QByteArray payload;  // the letter, dot-stuffed and ended by "." CR LF
    QByteArray out;      // what is still to be written
    QByteArray in;       // what was read and is not yet a whole reply
    qint64 lastActivity = 0;
    qint64 timeoutMs = 0;

    ~Transfer()
    {
        if (easy)
            curl_easy_cleanup(easy);
    }
};

namespace {

// One leading dot more on every line, and the end-of-data line.
QByteArray StuffedLetter(const QByteArray& letter)
{
    QByteArray out;
    out.reserve(letter.size() + letter.size() / 64 + 8);
    bool lineStart = true;
    for (const char c : letter) {
        if (lineStart && c == '.')
            out += '.';
        out += c;
        lineStart = c == '\n';
    }
    if (!out.endsWith("\r\n"))
        out += "\r\n";
    return out + ".\r\n";
}

// A whole reply at the start of `in` ("ddd-..." lines, then "ddd ..."):
// its length, or 0 while it is incomplete.
qsizetype ReplyLength(const QByteArray& in)
{
    qsizetype at = 0;
    for (;;) {
        const qsizetype nl = in.indexOf('\n', at);
        if (nl < 0)
            return 0;
        const bool more = nl - at >= 4 && in.at(at + 3) == '-';
        at = nl + 1;
        if (!more)
            return at;
    }
}

}  // namespace

CDOSYS::CDOSYS()
{
    EnsureCurl();
    multi_ = curl_multi_init();
    if (!multi_)
        platform::Raise(platform::vberr::InvalidProcedureCall, QStringLiteral("CDOSYS"),
                        QStringLiteral("The SMTP client could not be created"));
    timer_ = std::make_unique<platform::Timer>([this] { Tick(); }, kTickMs);
    pop3_ = std::make_unique<Pop3Reader>();
}

CDOSYS::~CDOSYS()
{
    for (const int fd : std::as_const(sockets_))
        ::shutdown(fd, SHUT_RDWR);
    if (transfer_)
        curl_multi_remove_handle(Multi(multi_), transfer_->easy);
    transfer_.reset();
    curl_multi_cleanup(Multi(multi_));
    // The reader's end cuts a running session without QUIT.
    pop3_.reset();
}

QString CDOSYS::Read(int maxSizeOfLetter, const QString& pathToAttachmentsFolder)
{
    return pop3_->Read(maxSizeOfLetter, pathToAttachmentsFolder);
}

QString CDOSYS::ConnectPOP3(const ServerInfo& server) { return pop3_->ConnectPOP3(server); }

QString CDOSYS::ParseFromField(QString& outName, QString& outAddr, const QString& fromField)
{
    return Pop3Reader::ParseFromField(outName, outAddr, fromField);
}

bool CDOSYS::ReadCompleted() const { return pop3_->ReadCompleted(); }
QString CDOSYS::ReadError() const { return pop3_->ReadError(); }

QString CDOSYS::GetReadMessages(int& outMsgsCount, QList<EmailLetter>& outLetters) const
{
    return pop3_->GetReadMessages(outMsgsCount, outLetters);
}

bool CDOSYS::Timeout() const { return pop3_->Timeout(); }
void CDOSYS::AbortRead() { pop3_->Abort(); }
void CDOSYS::SetLeftLetters(std::shared_ptr<LeftLetters> left) { pop3_->SetLeftLetters(std::move(left)); }

QString CDOSYS::RecipientsLine(const QList<MapiRecip>& toAddrs)
{
    QString line;
    for (const MapiRecip& r : toAddrs)
        line += QLatin1Char('"') + r.Name + QStringLiteral("\" ") + r.Address + QLatin1Char(',');
    return line;
}

QString CDOSYS::SenderAddress(const QString& user, const QString& fromAddr)
{
    return QLatin1Char('"') + user + QStringLiteral("\" <") + fromAddr + QLatin1Char('>');
}

QString CDOSYS::ConnectSMTP(const QString& user, const QString& fromAddr, const ServerInfo& server)
{
    try {
        user_ = user;
        fromAddr_ = fromAddr;
        server_ = server;
        sendEmailAddress_ = SenderAddress(user, fromAddr);
        if (server.SPARequired)
            authMode_ = AuthNtlm;
        else if (!server.LogonName.isEmpty() || !server.LogonPassword.isEmpty())
            authMode_ = AuthBasic;
        else
            authMode_ = AuthNone;
        QString host = server.ServerAddress.trimmed();
        if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
            host = QLatin1Char('[') + host + QLatin1Char(']');
        const bool implicitTls = server.SSLRequired && server.ServerPort == ImplicitTlsPort();
        url_ = (implicitTls ? QStringLiteral("smtps://") : QStringLiteral("smtp://")) + host;
        if (server.ServerPort > 0)
            url_ += QLatin1Char(':') + QString::number(server.ServerPort);
        url_ += QLatin1Char('/');
        configured_ = true;
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

QString CDOSYS::Send(const QList<MapiRecip>& toAddrs, const MAPIMessage& msg)
{
    try {
        if (!configured_)
            return platform::ErrorText(QStringLiteral("The SMTP server is not configured"), kErrNotConfigured);
        if (!HasServer(server_))
            return NoServerText();
        if (transfer_)
            return platform::ErrorText(QStringLiteral("A letter is already being sent"), kErrNotConfigured);
        if (!IsSafeAddress(fromAddr_))
            return platform::ErrorText(QStringLiteral("Invalid sender address: ") + fromAddr_, kErrBadAddress);
        if (toAddrs.isEmpty())
            return platform::ErrorText(QStringLiteral("No recipients"), kErrBadAddress);
        QList<ComposedAddress> to;
        for (const MapiRecip& r : toAddrs) {
            if (!IsSafeAddress(r.Address))
                return platform::ErrorText(QStringLiteral("Invalid recipient address: ") + r.Address, kErrBadAddress);
            to.append(ComposedAddress{r.Name, r.Address});
        }

        auto t = std::make_unique<Transfer>();
        t->payload = StuffedLetter(
            ComposeLetter(ComposedAddress{user_, fromAddr_}, to, msg.Subject, msg.NoteText, true));
        t->from = fromAddr_.toUtf8();
        for (const ComposedAddress& a : to)
            t->rcpts.append(a.address.toUtf8());
        t->easy = curl_easy_init();
        if (!t->easy)
            return platform::ErrorText(QStringLiteral("The SMTP client could not be created"), kErrNotConfigured);

        CURL* e = t->easy;
        const long timeout = server_.Timeout > 0 ? server_.Timeout : kDefaultTimeoutS;
        t->timeoutMs = timeout * 1000;
        curl_easy_setopt(e, CURLOPT_URL, url_.toUtf8().constData());
        curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
        curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t->error);
        curl_easy_setopt(e, CURLOPT_CONNECT_ONLY, 1L);
        curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, timeout);
        // A server that stops answering ends the transfer in an error.
        curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);
        curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, timeout);
        // Each letter on a connection of its own; finish() cuts it.
        curl_easy_setopt(e, CURLOPT_FRESH_CONNECT, 1L);
        curl_opensocket_callback open = &OpenSocket;
        curl_closesocket_callback close = &CloseSocket;
        curl_easy_setopt(e, CURLOPT_OPENSOCKETFUNCTION, open);
        curl_easy_setopt(e, CURLOPT_OPENSOCKETDATA, &sockets_);
        curl_easy_setopt(e, CURLOPT_CLOSESOCKETFUNCTION, close);
        curl_easy_setopt(e, CURLOPT_CLOSESOCKETDATA, &sockets_);
        if (server_.SSLRequired && !url_.startsWith(QLatin1String("smtps:")))
            curl_easy_setopt(e, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
        const QString ca = EmailOverride("PARLOVA_SMTP_CAFILE", QStringLiteral("SmtpCAFile"));
        if (!ca.isEmpty())
            curl_easy_setopt(e, CURLOPT_CAINFO, ca.toLocal8Bit().constData());
        if (authMode_ != AuthNone) {
            curl_easy_setopt(e, CURLOPT_USERNAME, Credential(server_.LogonName).constData());
            curl_easy_setopt(e, CURLOPT_PASSWORD, Credential(server_.LogonPassword).constData());
            curl_easy_setopt(e, CURLOPT_LOGIN_OPTIONS,
                             authMode_ == AuthNtlm ? "AUTH=NTLM" : "AUTH=LOGIN;AUTH=PLAIN");
        }

        const CURLMcode added = curl_multi_add_handle(Multi(multi_), e);
        if (added != CURLM_OK)
            return platform::ErrorText(QString::fromUtf8(curl_multi_strerror(added)), static_cast<int>(added));
        transfer_ = std::move(t);
        state_ = SendState{true, QString()};
        timer_->setEnabled(true);
        DebugTrace(QStringLiteral("Send to ") + QString::number(to.size()) + QStringLiteral(" recipient(s) via ") + url_);
        Tick();
        return QString();
    } catch (const std::exception& e) {
        return platform::ErrorText(e);
    }
}

void CDOSYS::Tick()
{
    if (inTick_ || !transfer_)
        return;
    platform::TickGuard guard(inTick_);
    try {
        if (transfer_->phase == Transfer::Connecting) {
            int running = 0;
            const CURLMcode rc = curl_multi_perform(Multi(multi_), &running);
            if (rc != CURLM_OK) {
                finish(platform::ErrorText(QString::fromUtf8(curl_multi_strerror(rc)), static_cast<int>(rc)));
            } else {
                int left = 0;
                while (CURLMsg* m = curl_multi_info_read(Multi(multi_), &left)) {
                    if (m->msg != CURLMSG_DONE || !transfer_ || m->easy_handle != transfer_->easy)
                        continue;
                    const CURLcode code = m->data.result;
                    if (code == CURLE_OK) {
                        // Connected and logged on: the letter follows.
                        transfer_->phase = Transfer::MailFrom;
                        transfer_->out = "MAIL FROM:<" + transfer_->from + ">\r\n";
                        transfer_->lastActivity = platform::TickCount();
                    } else {
                        QString text = QString::fromUtf8(transfer_->error).trimmed();
                        if (text.isEmpty())
                            text = QString::fromUtf8(curl_easy_strerror(code));
                        finish(platform::ErrorText(text, static_cast<int>(code)));
                    }
                    break;
                }
            }
        }
        if (transfer_ && transfer_->phase != Transfer::Connecting)
            converse();
    } catch (const std::exception& e) {
        finish(platform::ErrorText(e));
    } catch (...) {
        finish(platform::ErrorText(QStringLiteral("Unexpected failure"), 0));
    }
}

bool CDOSYS::flush()
{
    Transfer& t = *transfer_;
    while (!t.out.isEmpty()) {
        size_t n = 0;
        const CURLcode rc = curl_easy_send(t.easy, t.out.constData(), static_cast<size_t>(t.out.size()), &n);
        if (rc == CURLE_AGAIN)
            break;
        if (rc != CURLE_OK) {
            finish(platform::ErrorText(QString::fromUtf8(curl_easy_strerror(rc)), static_cast<int>(rc)));
            return false;
        }
        t.out.remove(0, static_cast<qsizetype>(n));
        t.lastActivity = platform::TickCount();
    }
    return true;
}

void CDOSYS::converse()
{
    Transfer& t = *transfer_;
    if (!flush())
        return;
    for (;;) {
        char buffer[4096];
        size_t got = 0;
        const CURLcode rc = curl_easy_recv(t.easy, buffer, sizeof buffer, &got);
        if (rc == CURLE_AGAIN)
            break;
        if (rc != CURLE_OK || got == 0) {
            finish(rc != CURLE_OK
                       ? platform::ErrorText(QString::fromUtf8(curl_easy_strerror(rc)), static_cast<int>(rc))
                       : platform::ErrorText(QStringLiteral("Connection closed by the server"),
                                             static_cast<int>(CURLE_RECV_ERROR)));
            return;
        }
        t.in.append(buffer, static_cast<qsizetype>(got));
        t.lastActivity = platform::TickCount();
        if (t.in.size() > 64 * 1024) {
            finish(platform::ErrorText(QStringLiteral("Weird server reply"), static_cast<int>(CURLE_WEIRD_SERVER_REPLY)));
            return;
        }
    }
    while (transfer_) {
        const qsizetype length = ReplyLength(t.in);
        if (length == 0)
            break;
        const QByteArray reply = t.in.left(length);
        t.in.remove(0, length);
        const int code = reply.left(3).toInt();
        const bool positive = code >= 200 && code < 300;
        auto refused = [&](const char* what, CURLcode number) {
            finish(platform::ErrorText(QLatin1String(what) + QStringLiteral(" failed: ") + QString::number(code),
                                       static_cast<int>(number)));
        };
        switch (t.phase) {
        case Transfer::MailFrom:
            if (!positive)
                return refused("MAIL", CURLE_SEND_ERROR);
            t.phase = Transfer::Rcpt;
            t.rcptIndex = 0;
            t.out += "RCPT TO:<" + t.rcpts.at(0) + ">\r\n";
            break;
        case Transfer::Rcpt:
            if (!positive)
                return refused("RCPT", CURLE_SEND_ERROR);
            if (++t.rcptIndex < t.rcpts.size()) {
                t.out += "RCPT TO:<" + t.rcpts.at(t.rcptIndex) + ">\r\n";
            } else {
                t.phase = Transfer::Data;
                t.out += "DATA\r\n";
            }
            break;
        case Transfer::Data:
            if (code != 354)
                return refused("DATA", CURLE_SEND_ERROR);
            t.phase = Transfer::Body;
            t.out += t.payload;
            break;
        case Transfer::Body:
            if (!positive)
                return refused("DATA", CURLE_WEIRD_SERVER_REPLY);
            finish(QString());
            return;
        case Transfer::Connecting:
            break;
        }
    }
    if (!transfer_)
        return;
    // What the last reply asked for goes out at once.
    if (!flush())
        return;
    if (platform::TickCount() - t.lastActivity > t.timeoutMs)
        finish(platform::ErrorText(QStringLiteral("Operation timed out"), static_cast<int>(CURLE_OPERATION_TIMEDOUT)));
}

CDOSYS::SendState CDOSYS::PollSend()
{
    Tick();
    return state_;
}

void CDOSYS::AbortSend(const QString& result)
{
    if (transfer_)
        finish(result, true);
}

void CDOSYS::finish(const QString& result, bool aborted)
{
    // Whatever curl still wants to say on these connections now fails at
    // once instead of waiting for the server.
    for (const int fd : std::as_const(sockets_))
        ::shutdown(fd, SHUT_RDWR);
    if (transfer_) {
        curl_multi_remove_handle(Multi(multi_), transfer_->easy);
        transfer_.reset();
    }
    timer_->setEnabled(false);
    state_ = SendState{false, result};
    DebugTrace(aborted            ? QStringLiteral("Send aborted")
               : result.isEmpty() ? QStringLiteral("Send completed")
                                  : QStringLiteral("Send failed: ") + result);
}

}  // namespace quenby
