// What one arrival costs in a conversation whose log already holds 10 or
// 100,000 entries, with autosave on: the model and the file's append alone,
// then the same through the conversation window (offscreen).
// Run by hand: build/bench_arrival [folder for the files]
#include "client/conversations/Conversation.h"
#include "client/conversations/TalkFile.h"
#include "client/conversations/ui/frmTalk.h"
#include "client/core/Application.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kArrivals = 21;

QString Entry(int i)
{
    return QStringLiteral("TEXT:     Message number %1 [with brackets] and some words\r\n"
                          "AT:     2024/05/17  14:02\r\nFROM:     Ann <+441234567890>\r\n%2")
        .arg(i)
        .arg(QString(30, QLatin1Char('_')));
}

// A file of entries log entries, autosave on.
QString MakeFile(const QString& folder, int entries)
{
    parlova::TalkRecord talk;
    talk.Autosave = true;
    talk.conferees = {QStringLiteral("Ann <+441234567890>")};
    for (int i = 0; i < entries; ++i)
        talk.log += QStringLiteral("\r\n") + Entry(i);
    talk.Text = QStringLiteral("A draft");
    const QString path = folder + QStringLiteral("/Bench%1.plv").arg(entries);
    parlova::TalkFile().SaveToFile(talk, path);
    return path;
}

// The first arrival and the median of the next ones, in milliseconds.
void Arrivals(const char* what, parlova::Conversation& talk, int entries)
{
    std::vector<double> ms;
    for (int i = 0; i < kArrivals; ++i) {
        QElapsedTimer timer;
        timer.start();
        talk.Log(1, Entry(entries + i));
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    const double first = ms.front();
    std::vector<double> rest(ms.begin() + 1, ms.end());
    std::nth_element(rest.begin(), rest.begin() + rest.size() / 2, rest.end());
    std::printf("%-28s entry %7d: %8.3f ms, median of the next %d: %8.3f ms\n", what, entries + 1, first,
                kArrivals - 1, rest[rest.size() / 2]);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    QApplication qt(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.path();
    parlova::Application application;

    for (int entries : {10, 100000}) {
        const QString path = MakeFile(folder, entries);
        QString warnings;
        {
            parlova::Conversation model;
            model.OpenFromFile(warnings, path);
            Arrivals("model and file", model, entries);
        }
        QFile::remove(path);
        MakeFile(folder, entries);
        parlova::frmTalk* window = parlova::frmTalk::Create(nullptr);
        window->show();
        window->OpenFromFile(warnings, path);
        QCoreApplication::processEvents();
        Arrivals("window, model and file", *window, entries);
        window->Discard();
        QFile::remove(path);
    }
    return 0;
}
