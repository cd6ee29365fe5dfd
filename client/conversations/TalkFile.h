#pragma once
// The conversation file (".plv"): writing it whole, rewriting one part of it
// in place, and reading it back into a conversation's record. A window
// keeps one TalkFile for its life, so appending a log entry to a long file
// neither reads nor rewrites the log already there; it also holds the
// file's claim, so that no other running copy of the program opens it.
#include "client/conversations/TalkRecord.h"
#include "platform/FileClaim.h"
#include "platform/ProfileFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace parlova {

class TalkFile {
public:
    TalkFile();

    // Writes the whole file to path and makes it the conversation's file.
    // A failure raises platform::VbError and leaves an old file as it was;
    // so does a file open in another running copy of the program.
    void SaveToFile(TalkRecord& talk, const QString& path);
    // Rewrites the part of the conversation's file that section and key
    // name; text is a new log entry. Empty on success, else the message;
    // what failed is written with the next write that succeeds.
    QString WriteTalkFileEntry(const TalkRecord& talk, const QString& section, const QString& key,
                               const QString& text);
    // Fills a new conversation from path; a missing file gives the path
    // alone. Empty, or the refusal of a conversation that has a theme;
    // warnings gets what could not be read, each after CR LF. A file that
    // exists but cannot be read raises platform::VbError. A file another
    // running copy of the program has open is refused.
    QString OpenFromFile(TalkRecord& talk, QString& warnings, const QString& path);

    // Why path cannot be a conversation's file: its name gives no theme.
    // Empty when it can.
    static QString NameRefusal(const QString& path);
    // Whether another running copy of the program has the file open.
    static bool OpenElsewhere(const QString& path);
    static QString OpenElsewhereText();

    // The bytes SaveToFile writes.
    static QByteArray Layout(const TalkRecord& talk);

    const platform::ProfileFile& profile() const { return file_; }

private:
    // What WriteTalkFileEntry changes in the file, made again should the
    // file be read anew before it is written; none for what it leaves.
    static std::optional<platform::ProfileFile::Edit> EditFor(const TalkRecord& talk, const QString& section,
                                                              const QString& key, const QString& text);
    void readParameters(TalkRecord& talk, bool utf8, QString& warnings) const;
    void readConferees(TalkRecord& talk, bool utf8, QString& warnings) const;
    void readFonts(TalkRecord& talk, bool utf8, QString& warnings) const;
    // Log (archive true) or new message, in either layout.
    void readText(QString& target, bool archive, QString& warnings) const;
    QString readChunks(const QString& name, int count) const;

    platform::ProfileFile file_;
    platform::FileClaim claim_;
};

}  // namespace parlova
