// Timings that depend on the machine, kept out of the tests: how long the
// HTML text of a letter full of unclosed blocks takes, and how long the
// SMTP sender's calls hold the thread against a server that never answers.
// Run by hand: build/parlova_bench
#include "email/CDOSYS.h"
#include "email/MAPIMessage.h"
#include "email/MapiRecip.h"
#include "email/MimeLetter.h"
#include "email/ServerInfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstdio>
#include <vector>

namespace {

void Report(const char* what, qint64 ms) { std::printf("%-52s %8lld ms\n", what, static_cast<long long>(ms)); }

void UnclosedBlocks()
{
    for (int blocks : {25000, 50000, 100000, 200000}) {
        QByteArray raw = "From: a@x.org\nContent-Type: text/html; charset=utf-8\n\n<p>kept</p>";
        for (int i = 0; i < blocks; ++i)
            raw += "<head>x";
        raw += "<script>gone</script>end\n";
        QElapsedTimer took;
        took.start();
        quenby::MimeLetter letter;
        quenby::ParseMimeLetter(raw, letter);
        const QByteArray what = "HTML letter, " + QByteArray::number(blocks) + " unclosed heads";
        Report(what.constData(), took.elapsed());
    }
}

void SilentServer()
{
    // Accepts and never says a word: no greeting, no answer to QUIT.
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost)) {
        std::printf("no loopback port: %s\n", qPrintable(server.errorString()));
        return;
    }
    std::vector<QTcpSocket*> held;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* s = server.nextPendingConnection())
            held.push_back(s);
    });

    quenby::ServerInfo info;
    info.ServerAddress = QStringLiteral("127.0.0.1");
    info.ServerPort = server.serverPort();
    info.Timeout = 20;
    quenby::CDOSYS cdo;
    cdo.ConnectSMTP(QStringLiteral("Ann"), QStringLiteral("ann@example.org"), info);
    quenby::MapiRecip to;
    to.RecipClass = quenby::kRecipTo;
    to.Name = QStringLiteral("Bob");
    to.Address = QStringLiteral("bob@example.org");
    quenby::MAPIMessage letter;
    letter.Subject = QStringLiteral("s");
    letter.NoteText = QStringLiteral("b");
    letter.RecipCount = 1;

    QElapsedTimer took;
    took.start();
    cdo.Send({to}, letter);
    Report("SMTP Send to a silent server", took.elapsed());

    qint64 longest = 0;
    QElapsedTimer all;
    all.start();
    while (all.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        took.restart();
        cdo.PollSend();
        longest = qMax(longest, took.elapsed());
    }
    Report("SMTP PollSend, longest call over one second", longest);

    took.restart();
    cdo.AbortSend(QStringLiteral("cut"));
    Report("SMTP AbortSend", took.elapsed());
    qDeleteAll(held);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    UnclosedBlocks();
    SilentServer();
    return 0;
}
