#include "email/MAPIVB32.h"

#include "email/LocalMailStore.h"

namespace quenby {

QString TrimAtNull(const QString& text)
{
    const qsizetype at = text.indexOf(QChar(0));
    return at < 0 ? text : text.left(at);
}

int CopyMapiRecip(const MapiRecip& source, MapiRecip& target)
{
    target.Reserved = source.Reserved;
    target.RecipClass = source.RecipClass;
    target.Name = source.Name;
    target.Address = source.Address;
    target.EIDSize = source.EIDSize;
    target.EntryID = source.EntryID;
    return 1;
}

int CopyMapiFile(const MapiFile& source, MapiFile& target)
{
    target.Reserved = source.Reserved;
    target.Flags = source.Flags;
    target.Position = source.Position;
    target.PathName = source.PathName;
    target.FileName = source.FileName;
    target.FileType = source.FileType;
    return 1;
}

int ReadMapiMessage(LocalMailStore& store, const QString& messageId, int flags, MAPIMessage& message,
                    MapiRecip& originator, QList<MapiRecip>& recips, QList<MapiFile>& files)
{
    QList<MapiRecip> scratchRecips;
    QList<MapiFile> scratchFiles;
    const int code = store.ReadMail(messageId, flags, message, originator, scratchRecips, scratchFiles);
    if (code != LocalMailStore::SUCCESS)
        return code;
    if (scratchRecips.isEmpty())
        scratchRecips.resize(1);
    if (scratchFiles.isEmpty())
        scratchFiles.resize(1);
    recips.resize(scratchRecips.size());
    for (qsizetype i = 0; i < scratchRecips.size(); ++i)
        CopyMapiRecip(scratchRecips.at(i), recips[i]);
    files.resize(scratchFiles.size());
    for (qsizetype i = 0; i < scratchFiles.size(); ++i)
        CopyMapiFile(scratchFiles.at(i), files[i]);
    return code;
}

}  // namespace quenby
