// How long a conversation file of 10,000 log entries takes to open, and
// one log entry to be appended to it.
#include "client/conversations/TalkFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.plv"));

    parlova::TalkRecord talk;
    talk.conferees = {QStringLiteral("Ann <+441234567890>"), QStringLiteral("Zoë <zoe@example.com>")};
    for (int i = 0; i < 10000; ++i)
        talk.log += QStringLiteral("\r\nTEXT:     Message number %1 [with brackets] and some words\r\n"
                                   "AT:     2024/05/17  14:02\r\nFROM:     Ann <+441234567890>\r\n%2")
                        .arg(i)
                        .arg(QString(30, QLatin1Char('_')));
    talk.Text = QStringLiteral("A draft");
    parlova::TalkFile writer;
    writer.SaveToFile(talk, path);

    constexpr int kRuns = 5;
    qint64 best = -1;
    for (int run = 0; run < kRuns; ++run) {
        parlova::TalkRecord read;
        QString warnings;
        parlova::TalkFile reader;
        QElapsedTimer timer;
        timer.start();
        reader.OpenFromFile(read, warnings, path);
        const qint64 ns = timer.nsecsElapsed();
        if (best < 0 || ns < best)
            best = ns;
    }
    std::printf("open, 10000 entries: %.1f ms (best of %d)\n", best / 1e6, kRuns);

    parlova::TalkRecord opened;
    QString warnings;
    parlova::TalkFile file;
    file.OpenFromFile(opened, warnings, path);
    QElapsedTimer timer;
    timer.start();
    const QString error = file.WriteTalkFileEntry(opened, QStringLiteral("Archive"), {}, QStringLiteral("\r\nx"));
    std::printf("append one entry: %.2f ms%s\n", timer.nsecsElapsed() / 1e6, error.isEmpty() ? "" : " (failed)");
    return 0;
}
