#pragma once
// Small pieces the mail tests share: reading back a written file, folding
// line ends, a plain recipient.
#include "email/MapiRecip.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace mailtest {

// The file's bytes; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// CR LF as LF, for comparing texts whatever line ends they came with.
inline QString Lf(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// A "To" recipient.
inline quenby::MapiRecip To(const QString& name, const QString& address)
{
    quenby::MapiRecip r;
    r.RecipClass = quenby::kRecipTo;
    r.Name = name;
    r.Address = address;
    return r;
}

}  // namespace mailtest
