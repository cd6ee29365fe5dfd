#pragma once
// A real SMTP server on loopback for the tests: aiosmtpd, run by Debian's
// /usr/bin/python3, keeping every letter it receives. With TLS it serves a
// certificate made for this run; caFile() is the file a client must trust.
#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

class SmtpSink {
public:
    enum class Tls { None, Implicit, StartTls };
    enum class Auth { None, Basic };

    struct Options {
        Tls tls = Tls::None;
        Auth auth = Auth::None;
        QString user;
        QString password;
        bool stall = false;  // greet, then never answer again
        int dataDelayMs = 0;  // how long accepting each letter takes
    };

    struct Letter {
        QString mailFrom;
        QStringList rcptTos;
        QString authMechanism;  // "" without AUTH
        QString authUser;
        bool tls = false;
        QByteArray data;
    };

    SmtpSink();
    explicit SmtpSink(const Options& options);
    ~SmtpSink();
    SmtpSink(const SmtpSink&) = delete;
    SmtpSink& operator=(const SmtpSink&) = delete;

    // False when the server could not start; error() says why.
    bool started() const { return port_ > 0; }
    QString error() const { return error_; }
    int port() const { return port_; }
    QString caFile() const { return caFile_; }

    // The letters received so far, oldest first.
    QList<Letter> letters() const;

private:
    bool makeCertificate();

    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
    QString error_;
    QString caFile_;
};

}  // namespace testsupport
