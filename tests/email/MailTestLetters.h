#pragma once
// Letters the POP3 tests deliver, as a mail client would write them.
#include <QByteArray>

namespace mailtest {

// "Ann Lee" <ann@example.org>, subject "Äpfel" (encoded), a body with
// lines that begin with dots.
inline QByteArray PlainLetter()
{
    return "From: \"Ann Lee\" <ann@example.org>\n"
           "To: bob@example.org\n"
           "Subject: =?UTF-8?B?w4RwZmVs?=\n"
           "MIME-Version: 1.0\n"
           "Content-Type: text/plain; charset=UTF-8\n"
           "Content-Transfer-Encoding: 8bit\n"
           "\n"
           "Hello\n"
           ".hidden line\n"
           "..two dots\n"
           "Bye\n";
}

// A body and two attachments: report.pdf (named through RFC 2231) and a
// nameless one.
inline QByteArray LetterWithAttachments(const QByteArray& name = "report.pdf")
{
    return "From: Carl <carl@example.org>\n"
           "To: bob@example.org\n"
           "Subject: Figures\n"
           "MIME-Version: 1.0\n"
           "Content-Type: multipart/mixed; boundary=\"XYZ\"\n"
           "\n"
           "--XYZ\n"
           "Content-Type: text/plain; charset=UTF-8\n"
           "\n"
           "See attached.\n"
           "--XYZ\n"
           "Content-Type: application/pdf\n"
           "Content-Disposition: attachment; filename*=UTF-8''"
           + name
           + "\n"
             "Content-Transfer-Encoding: base64\n"
             "\n"
             "JVBERi0xLjQKJcOkw7zDtsOfCg==\n"
             "--XYZ\n"
             "Content-Type: application/octet-stream\n"
             "Content-Disposition: attachment\n"
             "Content-Transfer-Encoding: base64\n"
             "\n"
             "AAECAwQ=\n"
             "--XYZ--\n";
}

inline QByteArray PdfBytes() { return QByteArray::fromBase64("JVBERi0xLjQKJcOkw7zDtsOfCg=="); }
inline QByteArray NamelessBytes() { return QByteArray("\x00\x01\x02\x03\x04", 5); }

// A letter of about `size` bytes.
inline QByteArray BigLetter(int size = 5000)
{
    QByteArray letter = "From: big@example.org\nSubject: Big one\n\n";
    while (letter.size() < size)
        letter += "0123456789012345678901234567890123456789012345678901234567890123456789\n";
    return letter;
}

}  // namespace mailtest
