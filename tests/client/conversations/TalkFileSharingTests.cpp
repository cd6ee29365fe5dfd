// A conversation file between two running copies of the program, and the
// writes that fail on the way: no entry the window showed is lost.
#include "client/conversations/TalkFileRig.h"
#include "client/support/ConversationRig.h"

#include "platform/ProfileTail.h"
#include "platform/VbError.h"
#include "support/OrdinaryUser.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using parlova::TalkFile;
using parlova::TalkRecord;
using talktest::Folder;

namespace {

QByteArrayList ArchiveLines(const QString& path)
{
    platform::ProfileFile file(path);
    file.load();
    QByteArrayList lines = file.sectionLines("Archive").value_or(QByteArrayList());
    lines.removeAll(QByteArray());
    return lines;
}

// A child process that runs body, writing what it reports into a pipe.
class Child {
public:
    template <class Body>
    explicit Child(Body body)
    {
        if (pipe(report_) != 0 || pipe(go_) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(report_[0]);
            close(go_[1]);
            body(report_[1], go_[0]);
            _exit(0);
        }
        close(report_[1]);
        close(go_[0]);
    }
    ~Child()
    {
        close(report_[0]);
        close(go_[1]);
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // What it reported, up to its end.
    QByteArray report(qsizetype size = -1)
    {
        QByteArray out;
        char buffer[4096];
        while (size < 0 || out.size() < size) {
            const ssize_t n = read(report_[0], buffer, size < 0 ? sizeof buffer : std::min<size_t>(sizeof buffer, size_t(size - out.size())));
            if (n <= 0)
                break;
            out.append(buffer, n);
        }
        return out;
    }
    // Lets a body waiting on its second descriptor go on.
    void go()
    {
        const char start = 1;
        EXPECT_EQ(write(go_[1], &start, 1), 1);
    }
    void killNow()
    {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    int report_[2] = {-1, -1};
    int go_[2] = {-1, -1};
    pid_t pid_ = -1;
};

void Report(int fd, const QByteArray& bytes)
{
    if (write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        _exit(2);
}

}  // namespace

TEST(TalkFileSharing, TwoCopiesAppendingKeepEveryConfirmedEntry)
{
    Folder folder;
    const QString path = folder.path();
    TalkRecord talk = talktest::TeamTalk();
    talk.Pathname = path;
    Folder::Write(path, TalkFile::Layout(talk));
    constexpr int kEntries = 150;
    // Each appends its own entries; the confirmed ones are reported.
    auto append = [&](char who, int report) {
        TalkFile file;
        QByteArray confirmed;
        for (int i = 0; i < kEntries; ++i) {
            const QByteArray entry = who + QByteArray::number(i);
            if (file.WriteTalkFileEntry(talk, QStringLiteral("Archive"), QString(),
                                        QStringLiteral("\r\n") + QString::fromLatin1(entry))
                    .isEmpty())
                confirmed += entry + '\n';
        }
        Report(report, confirmed);
    };
    // Both start at once, so that their appends cross.
    Child child([&](int report, int go) {
        char start = 0;
        if (read(go, &start, 1) == 1)
            append('b', report);
    });
    int pipes[2];
    ASSERT_EQ(pipe(pipes), 0);
    child.go();
    append('a', pipes[1]);
    close(pipes[1]);
    QByteArray confirmed = child.report();
    char buffer[8192];
    for (ssize_t n; (n = read(pipes[0], buffer, sizeof buffer)) > 0;)
        confirmed.append(buffer, n);
    close(pipes[0]);

    const QByteArrayList lines = ArchiveLines(path);
    for (const QByteArray& entry : confirmed.split('\n')) {
        if (!entry.isEmpty()) {
            EXPECT_EQ(lines.count(entry), 1) << entry.toStdString();
        }
    }
    EXPECT_GT(confirmed.count('\n'), kEntries);
    // The old log and the draft are still there, once.
    EXPECT_EQ(lines.count("FROM:     Ann <+441234567890>"), 1);
    platform::ProfileFile file(path);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.sectionLines("New message").value_or(QByteArrayList()).join("\r\n").trimmed(),
              "Line one \xEF\xBC\xBB" "draft\xEF\xBC\xBD\r\nsecond line");
}

TEST(TalkFileSharing, AFileOpenInAnotherCopyIsNotOpenedUntilThatCopyIsGone)
{
    clienttest::ConversationRig rig;
    Folder folder;
    const QString path = folder.path();
    const QString link = folder.path(QStringLiteral("Link.plv"));
    TalkRecord team = talktest::TeamTalk();
    Folder::Write(path, TalkFile::Layout(team));
    ASSERT_TRUE(QFile::link(path, link));

    Child other([&](int report, int) {
        TalkRecord talk;
        QString warnings;
        TalkFile file;
        Report(report, file.OpenFromFile(talk, warnings, path).isEmpty() ? "opened" : "refused");
        pause();
    });
    ASSERT_EQ(other.report(6), "opened");

    // Every way in is refused, through a link too, and nothing is written.
    const QByteArray before = Folder::Read(path);
    for (const QString& name : {path, link}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(TalkFile::OpenElsewhere(name));
        TalkRecord talk;
        QString warnings;
        TalkFile file;
        EXPECT_EQ(file.OpenFromFile(talk, warnings, name), QStringLiteral("File '") + name + QStringLiteral("' have already opened"));
        try {
            file.SaveToFile(team, name);
            ADD_FAILURE() << "saved over a file open elsewhere";
        } catch (const platform::VbError& e) {
            EXPECT_EQ(platform::ErrorText(e), TalkFile::OpenElsewhereText() + QStringLiteral(" (%1)").arg(EBUSY));
        }
        parlova::OpenTalkFile(name);
    }
    EXPECT_EQ(rig.boxTexts(), (QStringList{QStringLiteral("File '") + path + QStringLiteral("' have already opened"),
                                          QStringLiteral("File '") + link + QStringLiteral("' have already opened")}));
    EXPECT_EQ(rig.conference->TalksCount(), 0);
    EXPECT_EQ(Folder::Read(path), before);

    // Killed, the other copy leaves nothing in the way.
    other.killNow();
    EXPECT_FALSE(TalkFile::OpenElsewhere(path));
    parlova::OpenTalkFile(path);
    EXPECT_EQ(rig.conference->TalksCount(), 1);
}

TEST(TalkFileSharing, AnEntryWhoseWriteFailedReachesTheFileInItsPlace)
{
    // The file unreadable for a moment fails the entry's read of it; a full
    // disk, its write; a folder sync that fails, the whole save it goes in.
    enum class Fault { Unreadable, FolderSync };
    struct Case {
        const char* name;
        Fault fault;
        bool saveAs;  // a Save As into a folder that is not there
        bool third;   // one more entry before the close
    };
    const Case cases[] = {
        {"unreadable, closed", Fault::Unreadable, false, false},
        {"unreadable, one more entry, closed", Fault::Unreadable, false, true},
        {"unreadable, a failed Save As, one more entry, closed", Fault::Unreadable, true, true},
        {"folder sync, closed", Fault::FolderSync, false, false},
        {"folder sync, one more entry, closed", Fault::FolderSync, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clienttest::ConversationRig rig;
        parlova::Conversation& t = rig.autosaved();
        const QString file = rig.path(QStringLiteral("Team.plv"));
        const QByteArray name = QFile::encodeName(file);
        t.Log(1, QStringLiteral("entry 1"));
        QString expected;
        if (c.fault == Fault::Unreadable) {
            ASSERT_EQ(chmod(name.constData(), 0), 0);
            {
                testsupport::OrdinaryUser user;
                t.Log(1, QStringLiteral("entry 2"));
            }
            ASSERT_EQ(chmod(name.constData(), 0640), 0);
            expected = QStringLiteral("Team: Permission denied (13)");
        } else {
            // A side file of another file holds the name, so the entry goes
            // in a whole save.
            Folder::Write(platform::ProfileFile::TailFileName(file), "PlvTail2" + QByteArray(56, '\0'));
            platform::SetFolderSync([](int) {
                errno = EIO;
                return -1;
            });
            t.Log(1, QStringLiteral("entry 2"));
            platform::SetFolderSync(nullptr);
            expected = QStringLiteral("Team: Input/output error (5)");
        }
        EXPECT_EQ(rig.main.alerts, QStringList{expected});
        QByteArrayList entries{"entry 1", "entry 2"};
        if (c.saveAs) {
            EXPECT_NE(rig.conference->SaveFile(t.Theme(), rig.path(QStringLiteral("gone/Team.plv"))), QString());
        }
        if (c.third) {
            t.Log(1, QStringLiteral("entry 3"));
            entries << "entry 3";
        }
        rig.client.boxes.answer(platform::vbYes);
        t.CloseWindow();
        EXPECT_EQ(rig.conference->TalksCount(), 0);
        EXPECT_EQ(ArchiveLines(file), entries);
    }
}
