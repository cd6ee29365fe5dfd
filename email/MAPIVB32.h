#pragma once
// Helpers around the records of the local mail store.
#include "email/EmailLetter.h"

#include <QList>
#include <QString>

namespace quenby {

class LocalMailStore;

// The text before the first character 0, or all of it.
QString TrimAtNull(const QString& text);
int CopyMapiRecip(const MapiRecip& source, MapiRecip& target);
int CopyMapiFile(const MapiFile& source, MapiFile& target);

// Reads one letter of the store with its originator, recipients and
// attachment files (written to the store's private temporary folder).
// Zero recipient or file counts give lists of one empty record. Returns the
// store's code (0 success).
int ReadMapiMessage(LocalMailStore& store, const QString& messageId, int flags, MAPIMessage& message,
                    MapiRecip& originator, QList<MapiRecip>& recips, QList<MapiFile>& files);

}  // namespace quenby
