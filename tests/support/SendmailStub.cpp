#include "support/SendmailStub.h"

#include <QFile>

namespace testsupport {

SendmailStub::SendmailStub(int exitCode)
{
    const QString script = dir_.path() + QStringLiteral("/sendmail");
    QFile f(script);
    if (!f.open(QIODevice::WriteOnly))
        return;
    QByteArray body = "#!/bin/sh\n";
    body += "dir=\"$(dirname \"$0\")\"\n";
    body += "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$dir/args\"\n";
    if (exitCode < 0) {
        body += "exec sleep 600\n";
    } else {
        body += "cat > \"$dir/input.part\" && mv \"$dir/input.part\" \"$dir/input\"\n";
        body += "exit " + QByteArray::number(exitCode) + "\n";
    }
    f.write(body);
    f.close();
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString SendmailStub::commandLine() const
{
    return QLatin1Char('"') + dir_.path() + QStringLiteral("/sendmail\" -t -i");
}

bool SendmailStub::ran() const { return QFile::exists(dir_.path() + QStringLiteral("/args")); }

QByteArray SendmailStub::input() const
{
    QFile f(dir_.path() + QStringLiteral("/input"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList SendmailStub::arguments() const
{
    QFile f(dir_.path() + QStringLiteral("/args"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace testsupport
