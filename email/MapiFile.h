#pragma once
// One attachment of a fetched letter.
#include <QString>
#include <QtGlobal>

namespace quenby {

struct MapiFile {
    qint32 Reserved = 0;
    qint32 Flags = 0;
    qint32 Position = 0;
    QString PathName;   // where the attachment's file is after the read
    QString FileName;   // its own name, when the service knows it
    QString FileType;
};

}  // namespace quenby
