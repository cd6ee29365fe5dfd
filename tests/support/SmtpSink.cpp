#include "support/SmtpSink.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace testsupport {
namespace {

// Not from __FILE__: a compiler cache may make that path relative.
QString ScriptPath() { return QStringLiteral(PARLOVA_TEST_SUPPORT_DIR "/smtp_sink.py"); }

}  // namespace

SmtpSink::SmtpSink() : SmtpSink(Options()) {}

SmtpSink::SmtpSink(const Options& options)
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    QDir(dir_.path()).mkdir(QStringLiteral("out"));
    QStringList args{ScriptPath(), QStringLiteral("--outdir"), dir_.path() + QStringLiteral("/out")};
    if (options.stall)
        args << QStringLiteral("--stall");
    if (options.dataDelayMs > 0)
        args << QStringLiteral("--data-delay") << QString::number(options.dataDelayMs / 1000.0);
    if (options.tls != Tls::None) {
        if (!makeCertificate())
            return;
        args << QStringLiteral("--tls")
             << (options.tls == Tls::Implicit ? QStringLiteral("implicit") : QStringLiteral("starttls"))
             << QStringLiteral("--cert") << caFile_ << QStringLiteral("--key")
             << dir_.path() + QStringLiteral("/key.pem");
    }
    if (options.auth == Auth::Basic)
        args << QStringLiteral("--auth") << QStringLiteral("basic") << QStringLiteral("--user") << options.user
             << QStringLiteral("--password") << options.password;

    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(QStringLiteral("/usr/bin/python3"), args);
    if (!process_.waitForStarted(10000)) {
        error_ = QStringLiteral("python3 did not start: ") + process_.errorString();
        return;
    }
    QByteArray out;
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (!out.contains('\n') && process_.state() == QProcess::Running)
            process_.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
        out += process_.readAllStandardOutput();
        const qsizetype nl = out.indexOf('\n');
        if (nl >= 0) {
            const QByteArray line = out.left(nl).trimmed();
            if (line.startsWith("PORT "))
                port_ = line.mid(5).toInt();
            break;
        }
        if (process_.state() != QProcess::Running)
            break;
    }
    if (port_ <= 0)
        error_ = QStringLiteral("the SMTP sink did not start: ") + QString::fromLocal8Bit(out) +
                 QString::fromLocal8Bit(process_.readAllStandardError());
}

SmtpSink::~SmtpSink()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
}

bool SmtpSink::makeCertificate()
{
    caFile_ = dir_.path() + QStringLiteral("/cert.pem");
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
                   QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-keyout"), dir_.path() + QStringLiteral("/key.pem"), QStringLiteral("-out"), caFile_,
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1")});
    if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        error_ = QStringLiteral("openssl failed: ") + QString::fromLocal8Bit(openssl.readAll()) + openssl.errorString();
        return false;
    }
    return true;
}

QList<SmtpSink::Letter> SmtpSink::letters() const
{
    QList<Letter> out;
    QDir dir(dir_.path() + QStringLiteral("/out"));
    const QStringList names = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
        Letter l;
        l.mailFrom = o.value(QStringLiteral("mail_from")).toString();
        for (const auto& r : o.value(QStringLiteral("rcpt_tos")).toArray())
            l.rcptTos << r.toString();
        l.authMechanism = o.value(QStringLiteral("auth_mechanism")).toString();
        l.authUser = o.value(QStringLiteral("auth_user")).toString();
        l.tls = o.value(QStringLiteral("tls")).toBool();
        l.data = QByteArray::fromBase64(o.value(QStringLiteral("data")).toString().toLatin1());
        out.append(l);
    }
    return out;
}

}  // namespace testsupport
