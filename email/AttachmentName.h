#pragma once
// Safe names and files for attachments taken from letters. A name in a
// letter is not trusted: it never leaves the attachments folder, never
// follows a link and never replaces a file.
#include <QByteArray>
#include <QString>

namespace quenby {

// The last path component of a letter's name for an attachment, without
// "/", "\", NUL or control characters, at most 200 bytes of UTF-8 (the
// extension kept when it is short). "" when nothing usable is left, or for
// "." and "..".
QString SafeAttachmentName(const QString& name);

// "Attachment_" & the local date and time as yyyyMMddHHmmss & ".tmp".
QString DefaultAttachmentName();

// SafeAttachmentName, or DefaultAttachmentName when that is "".
QString AttachmentFileName(const QString& name);

// Creates folder & name, or while that path is taken (by anything, a link
// included) folder & name & "." & ++counter, exclusively and without
// following links (mode 0600), and writes data into it. folder ends in "/".
// On success outPath is the file's path and the result is empty; else the
// result is the error ("description (number)").
QString SaveNewFile(const QString& folder, const QString& name, const QByteArray& data, int& counter,
                    QString& outPath);

}  // namespace quenby
