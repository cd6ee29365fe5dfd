#pragma once
// A real POP3 server on loopback for the mail tests: Dovecot with a
// configuration, a password file and a Maildir generated in a temporary
// folder. It runs as the current user; started as root it drops to nobody.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

class DovecotServer {
public:
    struct Options {
        QString user = QStringLiteral("ann");
        QString password = QStringLiteral("s3cret");
        // Implicit TLS (POP3S) with a self-signed certificate for 127.0.0.1.
        bool implicitTls = false;
    };

    DovecotServer();
    explicit DovecotServer(Options options);
    ~DovecotServer();
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    // Generates everything and starts the server; false with a reason (and
    // the server's log) when it cannot start.
    bool start(QString* error);
    void stop();

    quint16 port() const { return port_; }
    QString host() const { return QStringLiteral("127.0.0.1"); }
    const QString& user() const { return options_.user; }
    const QString& password() const { return options_.password; }
    // The certificate the TLS listener presents (empty without TLS).
    QString certificateFile() const { return certFile_; }

    // Delivers a letter into Maildir/new, named without a size tag, so
    // letters are listed in the order they were dropped. Returns the file name.
    QString dropLetter(const QByteArray& letter);
    // File names (without the maildir info suffix) still in new/ and cur/.
    QStringList letters() const;
    QString log() const;

private:
    QString path(const QString& relative) const;
    bool makeDir(const QString& relative);
    bool writeFile(const QString& relative, const QByteArray& data, int mode = 0644);
    bool makeCertificate(QString* error);
    bool waitListening(QString* error);

    Options options_;
    QTemporaryDir dir_;
    std::unique_ptr<QProcess> process_;
    quint16 port_ = 0;
    QString certFile_;
    int uid_ = -1;
    int gid_ = -1;
    int dropped_ = 0;
};

// A TCP port on 127.0.0.1 that was free a moment ago.
quint16 FreeLoopbackPort();

}  // namespace testsupport
