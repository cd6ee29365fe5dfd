#pragma once
// Composes an outgoing letter with GMime: From and To from (name, address)
// pairs, an encoded subject, Date, Message-Id and a plain-text UTF-8 body in
// base64.
#include <QByteArray>
#include <QList>
#include <QString>

namespace quenby {

struct ComposedAddress {
    QString name;
    QString address;
};

// An address fit for a header and an envelope: not empty, no CR, LF, "<",
// ">", blanks or other control characters, exactly one "@" with text on
// both sides.
bool IsSafeAddress(const QString& address);

// The letter's bytes; crlf chooses CR LF line ends (SMTP) over LF (a local
// submission command). A from with an empty address gives no From header.
QByteArray ComposeLetter(const ComposedAddress& from, const QList<ComposedAddress>& to, const QString& subject,
                         const QString& body, bool crlf);

}  // namespace quenby
