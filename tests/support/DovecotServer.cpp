#include "support/DovecotServer.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

namespace {

QString DovecotBinary()
{
    const QString fixed = QStringLiteral("/usr/sbin/dovecot");
    if (QFileInfo(fixed).isExecutable())
        return fixed;
    return QStandardPaths::findExecutable(QStringLiteral("dovecot"),
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"),
                                           QStringLiteral("/sbin")});
}

bool TryConnect(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

quint16 FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = 0;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    quint16 port = 0;
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

DovecotServer::DovecotServer() : DovecotServer(Options()) {}

DovecotServer::DovecotServer(Options options) : options_(std::move(options)) {}

DovecotServer::~DovecotServer() { stop(); }

QString DovecotServer::path(const QString& relative) const { return dir_.path() + QLatin1Char('/') + relative; }

bool DovecotServer::makeDir(const QString& relative)
{
    const QByteArray p = QFile::encodeName(path(relative));
    if (::mkdir(p.constData(), 0755) != 0 && errno != EEXIST)
        return false;
    return ::chown(p.constData(), uid_, gid_) == 0;
}

bool DovecotServer::writeFile(const QString& relative, const QByteArray& data, int mode)
{
    QFile f(path(relative));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        return false;
    f.close();
    const QByteArray p = QFile::encodeName(f.fileName());
    return ::chmod(p.constData(), static_cast<mode_t>(mode)) == 0 && ::chown(p.constData(), uid_, gid_) == 0;
}

bool DovecotServer::makeCertificate(QString* error)
{
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                   QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost"), QStringLiteral("-keyout"),
                   path(QStringLiteral("key.pem")), QStringLiteral("-out"), path(QStringLiteral("cert.pem"))});
    if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        *error = QStringLiteral("openssl could not make a certificate: ") + QString::fromLocal8Bit(openssl.readAll())
                 + openssl.errorString();
        return false;
    }
    for (const char* name : {"key.pem", "cert.pem"}) {
        const QByteArray p = QFile::encodeName(path(QLatin1String(name)));
        if (::chmod(p.constData(), 0600) != 0 || ::chown(p.constData(), uid_, gid_) != 0) {
            *error = QStringLiteral("cannot hand the certificate to the server's user");
            return false;
        }
    }
    certFile_ = path(QStringLiteral("cert.pem"));
    return true;
}

bool DovecotServer::start(QString* error)
{
    QString dummy;
    if (!error)
        error = &dummy;
    if (!dir_.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    const QString binary = DovecotBinary();
    if (binary.isEmpty()) {
        *error = QStringLiteral("dovecot is not installed (Debian: dovecot-pop3d)");
        return false;
    }

    // Dovecot will not run its mail processes as root: as root, run the
    // whole server as nobody.
    const bool asRoot = ::geteuid() == 0;
    uid_ = asRoot ? 65534 : static_cast<int>(::geteuid());
    gid_ = asRoot ? 65534 : static_cast<int>(::getegid());
    const passwd* pw = ::getpwuid(static_cast<uid_t>(uid_));
    const group* gr = ::getgrgid(static_cast<gid_t>(gid_));
    if (!pw || !gr) {
        *error = QStringLiteral("no user or group name for the server");
        return false;
    }
    const QString userName = QString::fromLocal8Bit(pw->pw_name);
    const QString groupName = QString::fromLocal8Bit(gr->gr_name);

    const QByteArray root = QFile::encodeName(dir_.path());
    if (::chmod(root.constData(), 0755) != 0 || ::chown(root.constData(), uid_, gid_) != 0) {
        *error = QStringLiteral("cannot prepare the server's folder");
        return false;
    }
    const QString home = QStringLiteral("home/") + options_.user;
    for (const QString& d : {QStringLiteral("run"), QStringLiteral("state"), QStringLiteral("home"), home,
                             home + QStringLiteral("/Maildir"), home + QStringLiteral("/Maildir/new"),
                             home + QStringLiteral("/Maildir/cur"), home + QStringLiteral("/Maildir/tmp")}) {
        if (!makeDir(d)) {
            *error = QStringLiteral("cannot make ") + d;
            return false;
        }
    }
    if (options_.implicitTls && !makeCertificate(error))
        return false;

    port_ = FreeLoopbackPort();
    if (port_ == 0) {
        *error = QStringLiteral("no free port");
        return false;
    }

    if (!writeFile(QStringLiteral("passwd"),
                   (options_.user + QStringLiteral(":{PLAIN}") + options_.password + QStringLiteral("::::::\n")).toUtf8(),
                   0600)) {
        *error = QStringLiteral("cannot write the password file");
        return false;
    }

    const QString plainPort = options_.implicitTls ? QStringLiteral("0") : QString::number(port_);
    const QString tlsPort = options_.implicitTls ? QString::number(port_) : QStringLiteral("0");
    QString conf;
    conf += QStringLiteral("base_dir = %1\n").arg(path(QStringLiteral("run")));
    conf += QStringLiteral("state_dir = %1\n").arg(path(QStringLiteral("state")));
    conf += QStringLiteral("log_path = %1\n").arg(path(QStringLiteral("dovecot.log")));
    conf += QStringLiteral("protocols = pop3\n");
    conf += QStringLiteral("listen = 127.0.0.1\n");
    conf += QStringLiteral("disable_plaintext_auth = no\n");
    conf += QStringLiteral("auth_mechanisms = plain\n");
    conf += QStringLiteral("default_internal_user = %1\n").arg(userName);
    conf += QStringLiteral("default_internal_group = %1\n").arg(groupName);
    conf += QStringLiteral("default_login_user = %1\n").arg(userName);
    conf += QStringLiteral("first_valid_uid = 0\nfirst_valid_gid = 0\n");
    conf += QStringLiteral("mail_location = maildir:~/Maildir\n");
    conf += QStringLiteral("pop3_uidl_format = %f\n");
    conf += QStringLiteral("passdb {\n  driver = passwd-file\n  args = scheme=PLAIN username_format=%u %1\n}\n")
                .arg(path(QStringLiteral("passwd")));
    conf += QStringLiteral("userdb {\n  driver = static\n  args = uid=%1 gid=%2 home=%3/%u\n}\n")
                .arg(uid_)
                .arg(gid_)
                .arg(path(QStringLiteral("home")));
    if (options_.implicitTls) {
        conf += QStringLiteral("ssl = required\nssl_cert = <%1\nssl_key = <%2\n")
                    .arg(path(QStringLiteral("cert.pem")), path(QStringLiteral("key.pem")));
    } else {
        conf += QStringLiteral("ssl = no\n");
    }
    conf += QStringLiteral("service pop3-login {\n  chroot =\n  user = %1\n"
                           "  inet_listener pop3 {\n    address = 127.0.0.1\n    port = %2\n  }\n"
                           "  inet_listener pop3s {\n    address = 127.0.0.1\n    port = %3\n    ssl = yes\n  }\n}\n")
                .arg(userName, plainPort, tlsPort);
    conf += QStringLiteral("service anvil {\n  chroot =\n}\n");
    conf += QStringLiteral("service imap-login {\n  chroot =\n}\n");
    conf += QStringLiteral("service auth {\n  user = %1\n}\n").arg(userName);
    conf += QStringLiteral("service auth-worker {\n  user = %1\n}\n").arg(userName);
    if (!writeFile(QStringLiteral("dovecot.conf"), conf.toUtf8())) {
        *error = QStringLiteral("cannot write the configuration");
        return false;
    }

    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    QStringList args{QStringLiteral("-F"), QStringLiteral("-c"), path(QStringLiteral("dovecot.conf"))};
    if (asRoot) {
        args.prepend(binary);
        args = QStringList{QStringLiteral("--reuid=%1").arg(uid_), QStringLiteral("--regid=%1").arg(gid_),
                           QStringLiteral("--clear-groups")}
               + args;
        process_->start(QStringLiteral("setpriv"), args);
    } else {
        process_->start(binary, args);
    }
    if (!process_->waitForStarted(10000)) {
        *error = QStringLiteral("dovecot did not start: ") + process_->errorString();
        return false;
    }
    return waitListening(error);
}

bool DovecotServer::waitListening(QString* error)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        if (TryConnect(port_))
            return true;
        // Doubles as the pause between attempts; ends early if it died.
        if (process_->waitForFinished(50) || process_->state() == QProcess::NotRunning) {
            *error = QStringLiteral("dovecot exited: ") + QString::fromLocal8Bit(process_->readAll()) + log();
            return false;
        }
    }
    *error = QStringLiteral("dovecot does not listen on port ") + QString::number(port_) + QStringLiteral(": ")
             + QString::fromLocal8Bit(process_->readAll()) + log();
    return false;
}

void DovecotServer::stop()
{
    if (!process_)
        return;
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(10000)) {
            process_->kill();
            process_->waitForFinished(5000);
        }
    }
    process_.reset();
}

QString DovecotServer::dropLetter(const QByteArray& letter)
{
    ++dropped_;
    // Delivery order: a time stamp part that grows with every letter.
    const QString name = QStringLiteral("%1.M%2P%3.parlova-test")
                             .arg(QDateTime::currentSecsSinceEpoch())
                             .arg(dropped_, 6, 10, QLatin1Char('0'))
                             .arg(::getpid());
    const QString maildir = QStringLiteral("home/") + options_.user + QStringLiteral("/Maildir/");
    if (!writeFile(maildir + QStringLiteral("tmp/") + name, letter))
        return QString();
    if (::rename(QFile::encodeName(path(maildir + QStringLiteral("tmp/") + name)).constData(),
                 QFile::encodeName(path(maildir + QStringLiteral("new/") + name)).constData())
        != 0)
        return QString();
    return name;
}

QStringList DovecotServer::letters() const
{
    QStringList out;
    const QString maildir = path(QStringLiteral("home/") + options_.user + QStringLiteral("/Maildir/"));
    for (const char* sub : {"new", "cur"}) {
        const QDir d(maildir + QLatin1String(sub));
        for (const QString& f : d.entryList(QDir::Files, QDir::Name))
            out << f.section(QLatin1Char(':'), 0, 0);
    }
    out.sort();
    return out;
}

QString DovecotServer::log() const
{
    QFile f(path(QStringLiteral("dovecot.log")));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(f.readAll());
}

}  // namespace testsupport
