// How long a conversation file of 10,000 log entries takes to open, and
// one log entry to be appended to it; how long files of 1,000 and 32,000
// conferees take to open.
#include "client/conversations/TalkFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Best of a few opens of path, in milliseconds.
double OpenMs(const QString& path, int runs)
{
    qint64 best = -1;
    for (int run = 0; run < runs; ++run) {
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
    return best / 1e6;
}

void Conferees(const QString& folder)
{
    for (int count : {1000, 32000}) {
        parlova::TalkRecord talk;
        for (int i = 0; i < count; ++i)
            talk.conferees << QStringLiteral("Conferee %1 <+44%2>").arg(i).arg(1000000 + i);
        const QString path = folder + QStringLiteral("/Conferees%1.plv").arg(count);
        parlova::TalkFile().SaveToFile(talk, path);
        std::printf("open, %d conferees: %.1f ms (best of 3)\n", count, OpenMs(path, 3));
    }
}

}  // namespace

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
    std::printf("open, 10000 entries: %.1f ms (best of %d)\n", OpenMs(path, kRuns), kRuns);

    parlova::TalkRecord opened;
    QString warnings;
    parlova::TalkFile file;
    file.OpenFromFile(opened, warnings, path);
    QElapsedTimer timer;
    timer.start();
    const QString error = file.WriteTalkFileEntry(opened, QStringLiteral("Archive"), {}, QStringLiteral("\r\nx"));
    std::printf("append one entry: %.2f ms%s\n", timer.nsecsElapsed() / 1e6, error.isEmpty() ? "" : " (failed)");

    Conferees(dir.path());
    return 0;
}
