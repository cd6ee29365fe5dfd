#pragma once
// A letter parsed from its raw RFC 822 bytes with GMime, as both readers
// (POP3 and the local store) need it.
#include <QByteArray>
#include <QList>
#include <QString>

namespace quenby {

struct MimeAttachment {
    QString fileName;    // as the letter names it (RFC 2231 decoded), not yet made safe
    QByteArray content;  // decoded
};

struct MimeAddress {
    QString name;
    QString address;
};

struct MimeLetter {
    MimeAddress from;            // the first mailbox of From
    QList<MimeAddress> to;       // To and Cc mailboxes
    QString subject;
    QString body;                // the first text/plain part that is not an attachment;
                                 // of an HTML-only letter, its text
    QList<MimeAttachment> attachments;  // the other leaf parts
    QString date;                // the Date header as written
};

// Parses raw letter bytes. withBody false skips the body and the attachment
// contents (file names are still counted). False when the bytes hold no
// letter GMime can read.
bool ParseMimeLetter(const QByteArray& raw, MimeLetter& out, bool withBody = true);

// The readable text of an HTML body: no scripts, styles or tags; line
// breaks where blocks end; entities decoded. `searched`, when given, gets
// how many characters the search for script, style and head blocks passed
// over: a measure of the work that does not depend on the machine.
QString HtmlToText(const QString& html, qsizetype* searched = nullptr);

}  // namespace quenby
