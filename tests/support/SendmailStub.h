#pragma once
// A stand-in for the submission command: a small script that keeps its
// arguments and its input and exits with a chosen code, or hangs.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

class SendmailStub {
public:
    // exitCode < 0: the stub never ends by itself.
    explicit SendmailStub(int exitCode = 0);

    // The command line for profile.ini's Sendmail=, with -t -i.
    QString commandLine() const;
    bool ran() const;
    QByteArray input() const;
    QStringList arguments() const;

private:
    QTemporaryDir dir_;
};

}  // namespace testsupport
