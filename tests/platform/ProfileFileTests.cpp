#include "platform/ProfileFile.h"

#include "platform/ProfileTail.h"
#include "support/FileSizeLimit.h"
#include "support/OrdinaryUser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::ProfileFile;

namespace {

struct ProfileRig {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("t.plv"));

    void put(const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray bytes() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    ProfileFile loaded()
    {
        ProfileFile file(path);
        file.setTrailingSections({"Archive", "New message"});
        file.load();
        return file;
    }
};

}  // namespace

TEST(ProfileFile, ReadsAsThePlatformReads)
{
    ProfileRig rig;
    rig.put(QByteArrayLiteral("orphan=1\r\n"
            "  [ Params ] trailing\n"
            "Name =  \"quoted value\" \r"
            "Empty=\r\n"
            "Neg=-2147483640\r\n"
            "Minus=-1\r\n"
            "Huge=99999999999\r\n"
            "Junk=12abc\r\n"
            "Single='x'\r\n"
            "name=second wins not\r\n"
            "[PARAMS]\r\n"
            "Other=hidden\r\n"
            "[Text]\r\n"
            "; comment line\r\n"
            "\r\n"
            "a=b\r\n"
            "with\0nul\r\n"
            "[Last]\r\n"
            "k=v"));
    ProfileFile file = rig.loaded();
    ASSERT_TRUE(file.exists());
    EXPECT_FALSE(file.value("", "orphan"));
    EXPECT_EQ(file.string("params", "NAME", "-"), "quoted value");
    EXPECT_EQ(file.string("Params", "Empty", "default"), "");
    EXPECT_EQ(file.string("Params", "Single", "-"), "x");
    EXPECT_EQ(file.string("Params", "Other", "missing"), "missing");
    EXPECT_EQ(file.string("Last", "k", "-"), "v");
    const std::pair<const char*, qint32> integers[] = {
        {"Neg", -2147483640}, {"Minus", -1}, {"Huge", 2147483647}, {"Junk", 12}, {"Empty", 7}, {"Nothing", 7}};
    for (const auto& [key, expected] : integers)
        EXPECT_EQ(file.integer("Params", key, 7), expected) << key;
    const QByteArrayList text{"; comment line", "", "a=b", QByteArray("with\0nul", 8)};
    EXPECT_EQ(file.sectionLines("text"), text);
    EXPECT_FALSE(file.sectionLines("None"));
}

TEST(ProfileFile, EditsTouchOnlyTheirLines)
{
    ProfileRig rig;
    rig.put("; head\r\n[A]\r\nx=1\r\nkeep me\r\n\r\n[Archive]\r\nlog\r\n[New message]\r\ndraft\r\n");
    struct Case {
        const char* name;
        std::function<void(ProfileFile&)> edit;
        QByteArray expected;
    };
    const Case cases[] = {
        {"replace in place", [](ProfileFile& f) { f.setValue("a", "X", "22"); },
         "; head\r\n[A]\r\nX=22\r\nkeep me\r\n\r\n[Archive]\r\nlog\r\n[New message]\r\ndraft\r\n"},
        {"new key after the last non-blank line", [](ProfileFile& f) { f.setValue("A", "y", "2"); },
         "; head\r\n[A]\r\nx=1\r\nkeep me\r\ny=2\r\n\r\n[Archive]\r\nlog\r\n[New message]\r\ndraft\r\n"},
        {"new section before the archive", [](ProfileFile& f) { f.setValue("B", "k", "v"); },
         "; head\r\n[A]\r\nx=1\r\nkeep me\r\n\r\n[B]\r\nk=v\r\n[Archive]\r\nlog\r\n[New message]\r\ndraft\r\n"},
        {"one-line values stay one line", [](ProfileFile& f) { f.setValue("A", "x", QByteArray("a\r\n[Archive]\0b", 14)); },
         "; head\r\n[A]\r\nx=a  [Archive] b\r\nkeep me\r\n\r\n[Archive]\r\nlog\r\n[New message]\r\ndraft\r\n"},
        {"section replaced up to its last non-blank line", [](ProfileFile& f) { f.replaceSection("A", {"n=1", "n=2"}); },
         "; head\r\n[A]\r\nn=1\r\nn=2\r\n\r\n[Archive]\r\nlog\r\n[New message]\r\ndraft\r\n"},
        {"section emptied", [](ProfileFile& f) { f.replaceSection("A", {}); },
         "; head\r\n[A]\r\n\r\n[Archive]\r\nlog\r\n[New message]\r\ndraft\r\n"},
        {"append to the archive, then the new message written anew at the end",
         [](ProfileFile& f) {
             f.removeSection("New message");
             f.appendToSection("Archive", {"", "more"});
             f.replaceSection("New message", {"draft 2"});
         },
         "; head\r\n[A]\r\nx=1\r\nkeep me\r\n\r\n[Archive]\r\nlog\r\n\r\nmore\r\n[New message]\r\ndraft 2\r\n"},
        {"a missing archive goes before the new message", [](ProfileFile& f) {
             f.removeSection("Archive");
             f.appendToSection("Archive", {"e"});
         },
         "; head\r\n[A]\r\nx=1\r\nkeep me\r\n\r\n[Archive]\r\ne\r\n[New message]\r\ndraft\r\n"},
    };
    for (const Case& c : cases) {
        rig.put("; head\r\n[A]\r\nx=1\r\nkeep me\r\n\r\n[Archive]\r\nlog\r\n[New message]\r\ndraft\r\n");
        ProfileFile file = rig.loaded();
        c.edit(file);
        ASSERT_TRUE(file.commit()) << c.name;
        EXPECT_EQ(rig.bytes(), c.expected) << c.name;
    }
}

TEST(ProfileFile, FilesWithoutFinalLineEndOrHeadersGrowCleanly)
{
    ProfileRig rig;
    rig.put("[A]\nx=1");
    ProfileFile file = rig.loaded();
    file.setValue("A", "y", "2");
    file.appendToSection("New message", {"m"});
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(rig.bytes(), "[A]\nx=1\r\ny=2\r\n[New message]\r\nm\r\n");

    ProfileRig fresh;
    ProfileFile created(fresh.path);
    EXPECT_FALSE(created.load());
    EXPECT_EQ(created.error(), ENOENT);
    created.setValue("S", "k", "v");
    ASSERT_TRUE(created.commit());
    EXPECT_EQ(fresh.bytes(), "[S]\r\nk=v\r\n");
}

TEST(ProfileFile, CommitReplacesAtomicallyAndKeepsPermissions)
{
    ProfileRig rig;
    rig.put("[A]\r\nx=1\r\n");
    ASSERT_EQ(chmod(QFile::encodeName(rig.path).constData(), 0640), 0);
    ProfileFile file = rig.loaded();
    file.setValue("A", "x", "2");
    ASSERT_TRUE(file.commit());
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(rig.path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_FALSE(QFile::exists(rig.path + QStringLiteral(".~")));

    // Something in the way of the temporary file: the old file stays whole.
    ASSERT_TRUE(QDir().mkpath(rig.path + QStringLiteral(".~/inside")));
    file.setValue("A", "x", "3");
    EXPECT_FALSE(file.commit());
    EXPECT_NE(file.error(), 0);
    EXPECT_TRUE(file.errorText().endsWith(QStringLiteral(" (%1)").arg(file.error()))) << file.errorText().toStdString();
    EXPECT_EQ(rig.bytes(), "[A]\r\nx=2\r\n");
    // The failed edit stays, and goes to the file with the next commit.
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.string("A", "x", "-"), "3");
    ASSERT_TRUE(QDir(rig.path + QStringLiteral(".~")).removeRecursively());
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(rig.bytes(), "[A]\r\nx=3\r\n");
}

TEST(ProfileFile, TailCommitTrustsOnlyTheFileItRead)
{
    ProfileRig rig;
    const QByteArray head = "[Archive]\r\nold\r\n";
    rig.put(head + "[New message]\r\ndraft\r\n\r\n");
    ProfileFile file = rig.loaded();
    const qint64 read = file.bytesRead();
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(file.load());
        file.removeSection("New message");
        file.appendToSection("Archive", {"entry"});
        file.replaceSection("New message", {"draft"});
        ASSERT_TRUE(file.commitTail());
    }
    // The copy in memory is current: only each old tail is read, for the
    // way back should the write fail.
    EXPECT_EQ(file.bytesRead() - read, QByteArray("[New message]\r\ndraft\r\n\r\n[New message]\r\ndraft\r\n").size());
    EXPECT_EQ(rig.bytes(), head + "entry\r\nentry\r\n[New message]\r\ndraft\r\n");

    // Changed behind the layer's back: read again, not trusted.
    rig.put("[Archive]\r\nother\r\n");
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.sectionLines("Archive"), QByteArrayList{"other"});
}

TEST(ProfileFile, NoWriterWritesBackWhatItHasNotRead)
{
    ProfileRig rig;
    rig.put("[Archive]\r\nold\r\n[New message]\r\ndraft\r\n");
    auto append = [](ProfileFile& f, const QByteArray& entry) {
        f.removeSection("New message");
        f.appendToSection("Archive", {entry});
        f.replaceSection("New message", {"draft"});
    };
    ProfileFile x = rig.loaded();
    ProfileFile y = rig.loaded();

    // Read for an edit, the file stays locked until the edit is written.
    ASSERT_TRUE(x.load(ProfileFile::Editing));
    ProfileFile reader(rig.path);
    reader.setLockWait(0);
    EXPECT_FALSE(reader.load());
    EXPECT_EQ(reader.error(), EWOULDBLOCK);
    append(x, "x1");
    ASSERT_TRUE(x.commitTail());
    EXPECT_TRUE(reader.load());

    // Edits made on copies the other's write has made stale, appended and
    // saved whole: each is made again on the file as it is now.
    append(x, "x2");
    append(y, "y1");
    x.setValue("Params", "x", "1");
    y.setValue("Params", "y", "2");
    ASSERT_TRUE(y.commitTail());
    ASSERT_TRUE(x.commit());
    EXPECT_EQ(rig.bytes(), "[Params]\r\ny=2\r\nx=1\r\n[Archive]\r\nold\r\nx1\r\ny1\r\nx2\r\n[New message]\r\ndraft\r\n");
}

TEST(ProfileFile, AnAppendLeftAsideIsFinishedOrDiscardedOnLoad)
{
    const QByteArray head = "[Archive]\r\nold\r\n";
    const QByteArray oldFile = head + "[New message]\r\na draft that was long\r\n\r\n";
    const QByteArray newFile = head + "entry\r\n[New message]\r\nshort\r\n";
    const qsizetype at = head.size();
    ProfileRig rig;
    const QString sidePath = ProfileFile::TailFileName(rig.path);
    rig.put(oldFile);
    ProfileFile writer = rig.loaded();
    writer.removeSection("New message");
    writer.appendToSection("Archive", {"entry"});
    writer.replaceSection("New message", {"short"});
    ASSERT_TRUE(writer.writeTailAside());
    ASSERT_EQ(rig.bytes(), oldFile);
    QFile sideFile(sidePath);
    ASSERT_TRUE(sideFile.open(QIODevice::ReadOnly));
    const QByteArray side = sideFile.readAll();
    sideFile.close();
    QByteArray damaged = side;
    damaged[damaged.size() - 4] = 'X';

    struct Case {
        const char* name;
        QByteArray file;  // as a kill left it
        QByteArray side;
        QByteArray after;
        bool sideKept = false;
        bool replaced = false;  // the file was saved whole since
    };
    const Case cases[] = {
        {"killed before the write in place", oldFile, side, newFile},
        {"killed halfway through it", newFile.left(at + 9) + oldFile.mid(at + 9), side, newFile},
        {"killed before the file was cut", newFile + oldFile.mid(newFile.size()), side, newFile},
        {"power cut: a later page kept, an earlier one lost",
         oldFile.left(at + 5) + newFile.mid(at + 5) + oldFile.mid(newFile.size()), side, newFile},
        {"killed before the side file went", newFile, side, newFile},
        {"side file empty", oldFile, "", oldFile},
        {"side file cut in its header", oldFile, side.left(20), oldFile},
        {"side file cut in the tail", oldFile, side.chopped(3), oldFile},
        {"side file damaged", oldFile, damaged, oldFile},
        {"file moved on by another name", head + "entrX\r\n[New message]\r\nshort\r\n", side,
         head + "entrX\r\n[New message]\r\nshort\r\n"},
        {"file saved whole since: another file's side file, left alone", oldFile, side, oldFile, true, true},
        {"not a side file", oldFile, "kept as it is", oldFile, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.replaced) {
            const QString other = rig.path + QStringLiteral(".other");
            QFile f(other);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.file);
            f.close();
            ASSERT_EQ(rename(QFile::encodeName(other).constData(), QFile::encodeName(rig.path).constData()), 0);
        } else {
            rig.put(c.file);
        }
        QFile f(sidePath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.side);
        f.close();

        ProfileFile file = rig.loaded();
        EXPECT_EQ(rig.bytes(), c.after);
        EXPECT_EQ(file.sectionLines("New message").value_or(QByteArrayList()).value(0),
                  c.after.endsWith("short\r\n") ? "short" : "a draft that was long");
        EXPECT_EQ(QFile::exists(sidePath), c.sideKept);
    }
}

TEST(ProfileFile, TheSideFileBelongsToTheFileAndNeverStopsItOpening)
{
    QByteArray head = "[Archive]\r\n";
    for (int i = 0; i < 100; ++i)
        head += "an old entry of the log\r\n";
    const QByteArray oldFile = head + "[New message]\r\na draft\r\n\r\n";
    const QByteArray aside = "an entry a kill left aside, longer than the draft";
    const QByteArray more = "one more entry, longer than the draft it moves on";
    auto file = [&](const QByteArrayList& entries) {
        QByteArray bytes = head;
        for (const QByteArray& entry : entries)
            bytes += entry + "\r\n";
        return bytes + "[New message]\r\nshort\r\n";
    };
    auto append = [](ProfileFile& f, const QByteArray& entry) {
        f.removeSection("New message");
        f.appendToSection("Archive", {entry});
        f.replaceSection("New message", {"short"});
    };

    enum class Left { None, Real, Link, Foreign, Sparse };
    enum class Hold { None, FullDisk, ReadOnly, FolderSync, Locked };
    struct Case {
        const char* name;
        Left left;     // the side file a kill left, and through which name
        bool viaLink;  // opened and appended to through the symbolic link
        Hold hold;     // what stands in the way meanwhile
        int error;     // of the load, else of the append; 0: both went through
        QByteArray file;
        bool sideKept;
        QByteArray finally;  // the way clear, the file's status changed, one more entry
        bool sideStays;
    };
    const Case cases[] = {
        {"a failed write, a status change, a good write", Left::None, false, Hold::FullDisk, EFBIG, oldFile, false,
         file({more, "last"}), false},
        {"left through the file's name, opened through a link", Left::Real, true, Hold::None, 0, file({aside, more}),
         false, file({aside, more, "last"}), false},
        {"left through a link, opened through the file's name", Left::Link, false, Hold::None, 0, file({aside, more}),
         false, file({aside, more, "last"}), false},
        {"a read-only file, through a link", Left::Real, true, Hold::ReadOnly, EACCES, oldFile, true,
         file({aside, more, "last"}), false},
        {"a read-only copy with the original's side file", Left::Foreign, false, Hold::ReadOnly, EACCES, oldFile, true,
         file({more, "last"}), true},
        {"a copy with the original's side file", Left::Foreign, false, Hold::None, 0, file({more}), true,
         file({more, "last"}), true},
        {"a full disk", Left::Real, false, Hold::FullDisk, EFBIG, file({aside}).left(oldFile.size()), true,
         file({aside, more, "last"}), false},
        {"a sparse side file claiming 1 GB", Left::Sparse, false, Hold::None, 0, file({more}), false,
         file({more, "last"}), false},
        {"a failed folder sync", Left::None, false, Hold::FolderSync, EIO, oldFile, false, file({more, "last"}), false},
        {"a copy's side file and a failed folder sync", Left::Foreign, false, Hold::FolderSync, EIO, file({more}), true,
         file({more, "last"}), true},
        {"another instance in the middle of its append", Left::Real, false, Hold::Locked, EWOULDBLOCK, oldFile, true,
         file({aside, "last"}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileRig rig;
        rig.put(oldFile);
        const QString link = rig.dir.filePath(QStringLiteral("link.plv"));
        ASSERT_TRUE(QFile::link(rig.path, link));
        const QString side = ProfileFile::TailFileName(rig.path);
        const QByteArray sideName = QFile::encodeName(side);
        auto leaveAside = [&](const QString& path) {
            ProfileFile writer(path);
            ASSERT_TRUE(writer.load());
            append(writer, aside);
            ASSERT_TRUE(writer.writeTailAside());
        };
        ProfileRig original;
        switch (c.left) {
        case Left::None:
            break;
        case Left::Real:
        case Left::Sparse:
            leaveAside(rig.path);
            break;
        case Left::Link:
            leaveAside(link);
            break;
        case Left::Foreign:
            original.put(oldFile);
            leaveAside(original.path);
            ASSERT_TRUE(QFile::copy(ProfileFile::TailFileName(original.path), side));
            break;
        }
        if (c.left == Left::Sparse) {
            // The header's new size made 1 GB larger, the side file as long as it then says.
            constexpr quint64 kGigabyte = quint64(1) << 30;
            quint64 at[3];
            const int fd = open(sideName.constData(), O_RDWR);
            ASSERT_EQ(pread(fd, at, sizeof at, 8), qint64(sizeof at));
            at[2] += kGigabyte;
            EXPECT_EQ(pwrite(fd, &at[2], sizeof at[2], 24), qint64(sizeof at[2]));
            EXPECT_EQ(ftruncate(fd, off_t(64 + at[2] - at[0] + at[1] - at[0])), 0);
            close(fd);
        }

        std::optional<testsupport::FileSizeLimit> full;
        std::optional<testsupport::OrdinaryUser> user;
        int other = -1;
        switch (c.hold) {
        case Hold::None:
            break;
        case Hold::FullDisk:
            full.emplace(oldFile.size());
            break;
        case Hold::ReadOnly:
            ASSERT_EQ(chmod(QFile::encodeName(rig.path).constData(), 0444), 0);
            user.emplace();
            break;
        case Hold::FolderSync:
            platform::SetFolderSync([](int) {
                errno = EIO;
                return -1;
            });
            break;
        case Hold::Locked:
            other = open(QFile::encodeName(rig.path).constData(), O_RDONLY);
            ASSERT_EQ(flock(other, LOCK_EX), 0);
            break;
        }
        ProfileFile reader(c.viaLink ? link : rig.path);
        reader.setTrailingSections({"Archive", "New message"});
        reader.setLockWait(0);
        const bool loaded = reader.load();
        EXPECT_EQ(loaded, c.error != EWOULDBLOCK);
        if (loaded) {
            append(reader, more);
            EXPECT_EQ(reader.commitTail(), c.error == 0);
        }
        EXPECT_EQ(reader.error(), c.error) << reader.errorText().toStdString();
        if (c.error == EWOULDBLOCK) {
            EXPECT_EQ(reader.errorText(),
                      QStringLiteral("The file is being written by another instance of the program (%1)").arg(EWOULDBLOCK));
        }
        EXPECT_EQ(rig.bytes(), c.file);
        EXPECT_EQ(QFile::exists(side), c.sideKept);
        EXPECT_LT(reader.bytesRead(), 1 << 20);

        full.reset();
        user.reset();
        platform::SetFolderSync(nullptr);
        if (other >= 0)
            close(other);
        ASSERT_EQ(chmod(QFile::encodeName(rig.path).constData(), 0640), 0);
        ASSERT_TRUE(reader.load());
        append(reader, "last");
        ASSERT_TRUE(reader.commitTail()) << reader.errorText().toStdString();
        EXPECT_EQ(rig.bytes(), c.finally);
        EXPECT_EQ(QFile::exists(side), c.sideStays);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        struct stat st {};
        EXPECT_EQ(stat(QFile::encodeName(rig.path).constData(), &st) == 0 ? st.st_mode & 07777 : 0, 0640u);
    }
}
