#pragma once
// One letter, in the layout the mail services exchange with the client.
#include <QString>
#include <QtGlobal>

namespace quenby {

// Letter flags of a fetched letter. Both mean the letter was left on the server.
constexpr qint32 kLetterTooBig = 64;                 // only the head was fetched
constexpr qint32 kLetterAttachmentsFailed = 2048;    // its attachments could not be saved

struct MAPIMessage {
    qint32 Reserved = 0;
    QString Subject;
    QString NoteText;        // plain-text body; readers append their notes here
    QString MessageType;
    QString DateReceived;
    QString ConversationID;
    qint32 Flags = 0;
    qint32 RecipCount = 0;
    qint32 FileCount = 0;
};

}  // namespace quenby
