#pragma once
// A conversation record with every part of the file filled, the bytes of
// files on disk, and a place to keep them.
#include "client/conversations/TalkFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace talktest {

inline QString Rule() { return QString(30, QLatin1Char('_')); }

// The conversation the example file holds: an arrival, an outcome of
// sending and a draft.
inline parlova::TalkRecord TeamTalk()
{
    parlova::TalkRecord t;
    t.Coding = 10;
    t.Class = 4;
    t.Validity = 2;
    t.validityCode = 170;
    t.validityDate = QDateTime(QDate(2024, 5, 17), QTime(14, 30));
    t.report = 0;
    t.Autosave = true;
    t.conferees = {QStringLiteral("Ann <+441234567890>"), QStringLiteral("Zo\u00EB <zoe@example.com>")};
    t.areas[parlova::kConfereeArea].font = {QStringLiteral("DejaVu Sans"), 1, 9.75};
    t.areas[parlova::kNewMessageArea].font = {QStringLiteral("DejaVu Sans"), 1, 10};
    t.areas[parlova::kLogArea].font = {QStringLiteral("DejaVu Sans Mono"), 0, 8.25, true};
    t.areas[parlova::kLogArea].foreColor = 255;
    t.log = QStringLiteral("\r\nTEXT:     Hi [all]\r\n;-) see you\r\nAT:     2024/05/17  14:02\r\n"
                           "FROM:     Ann <+441234567890>\r\n") +
            Rule() +
            QStringLiteral("\r\nTEXT:     See you at 5 = ok? \U0001F600\r\nAT:       2024/05/17  14:05\r\n"
                           "TO:       Ann <+441234567890>\r\n") +
            Rule();
    t.Text = QStringLiteral("Line one [draft]\r\nsecond line");
    return t;
}

struct Folder {
    QTemporaryDir dir;
    QString path(const QString& name = QStringLiteral("Team.plv")) const { return dir.filePath(name); }

    static QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void Write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }
    static QByteArray Sha256(const QByteArray& bytes)
    {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    }
    static ino_t Inode(const QString& path)
    {
        struct stat st {};
        return stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
    }
};

}  // namespace talktest
