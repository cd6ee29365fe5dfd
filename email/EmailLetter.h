#pragma once
// One fetched letter. Only the first Message.FileCount attachments are real.
#include "email/MAPIMessage.h"
#include "email/MapiFile.h"
#include "email/MapiRecip.h"

#include <QList>

namespace quenby {

struct EmailLetter {
    MapiRecip Originator;
    MAPIMessage Message;
    QList<MapiFile> Attachments;
};

}  // namespace quenby
