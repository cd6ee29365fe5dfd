#include "email/CDOSYS.h"

#include "email/LetterComposer.h"
#include "email/Pop3Reader.h"
#include "email/QuenbyGlobalObjs.h"
#include "platform/Timer.h"
#include "platform/UserSettings.h"
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
    QString port = qEnvironmentVariable("PARLOVA_SMTPS_PORT");
    if (port.isEmpty())
        port = platform::GetSetting(QStringLiteral("Parlova"), QStringLiteral("Email"), QStringLiteral("SmtpsPort"));
    bool ok = false;
    const int n = port.toInt(&ok);
    return ok && n > 0 ? n : 465;
}

QString CaFileOverride()
{
    QString file = qEnvironmentVariable("PARLOVA_SMTP_CAFILE");
    if (file.isEmpty())
        file = platform::GetSetting(QStringLiteral("Parlova"), QStringLiteral("Email"), QStringLiteral("SmtpCAFile"));
    return file;
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

struct CDOSYS::Transfer {
    CURL* easy = nullptr;
    curl_slist* recipients = nullptr;
    QByteArray payload;
    qsizetype sent = 0;
    char error[CURL_ERROR_SIZE] = {};

    ~Transfer()
    {
        if (easy)
            curl_easy_cleanup(easy);
        curl_slist_free_all(recipients);
    }

    static size_t Read(char* buffer, size_t size, size_t count, void* user)
    {
        auto* t = static_cast<Transfer*>(user);
        const size_t room = size * count;
        const size_t left = static_cast<size_t>(t->payload.size() - t->sent);
        const size_t n = left < room ? left : room;
        std::memcpy(buffer, t->payload.constData() + t->sent, n);
        t->sent += static_cast<qsizetype>(n);
        return n;
    }
};

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
void CDOSYS::SetLeftLetters(std::shared_ptr<QSet<QString>> left) { pop3_->SetLeftLetters(std::move(left)); }

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
        t->payload = ComposeLetter(ComposedAddress{user_, fromAddr_}, to, msg.Subject, msg.NoteText, true);
        t->easy = curl_easy_init();
        if (!t->easy)
            return platform::ErrorText(QStringLiteral("The SMTP client could not be created"), kErrNotConfigured);
        for (const ComposedAddress& a : to)
            t->recipients = curl_slist_append(t->recipients, ("<" + a.address.toUtf8() + ">").constData());

        CURL* e = t->easy;
        const long timeout = server_.Timeout > 0 ? server_.Timeout : kDefaultTimeoutS;
        curl_easy_setopt(e, CURLOPT_URL, url_.toUtf8().constData());
        curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
        curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t->error);
        curl_easy_setopt(e, CURLOPT_MAIL_FROM, ("<" + fromAddr_.toUtf8() + ">").constData());
        curl_easy_setopt(e, CURLOPT_MAIL_RCPT, t->recipients);
        curl_easy_setopt(e, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(e, CURLOPT_READFUNCTION, &Transfer::Read);
        curl_easy_setopt(e, CURLOPT_READDATA, t.get());
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
        const QString ca = CaFileOverride();
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
    inTick_ = true;
    try {
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
                    finish(QString());
                } else {
                    QString text = QString::fromUtf8(transfer_->error).trimmed();
                    if (text.isEmpty())
                        text = QString::fromUtf8(curl_easy_strerror(code));
                    finish(platform::ErrorText(text, static_cast<int>(code)));
                }
                break;
            }
        }
    } catch (const std::exception& e) {
        finish(platform::ErrorText(e));
    } catch (...) {
        finish(platform::ErrorText(QStringLiteral("Unexpected failure"), 0));
    }
    inTick_ = false;
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
