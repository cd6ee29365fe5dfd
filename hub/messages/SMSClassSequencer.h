#pragma once
// The concatenation reference handed to each long message the hub encodes.
// Process-wide; kept across runs in the per-user settings store (application
// "Parlova", section "SMSClassSequencer", key "LastNumber"). The gate loads
// it when it is created and saves it when it goes. In between, references
// are reserved in blocks: the end of the current block is kept on the disk
// before any of it is handed out, so a process that dies mid-block is
// followed by one that starts past it, and only one draw in a block writes.
// That end goes to a small record beside the settings file (one synced
// write in place); it counts only for the stored value it was reserved
// from, and the gate's save, which stores the last reference, removes it.
// Anything else in its place (a record for another value, torn bytes, a
// link, something unreadable) counts as a whole block reserved from the
// stored value.
#include <QString>
#include <QtGlobal>

namespace corvane {

class SMSClassSequencer {
public:
    // The reference handed out last (0 until loaded or drawn).
    static qint32 LastNumber();
    // Reads the stored value (default 0), or the end of the block a process
    // reserved from it and did not save; an unreadable store changes nothing.
    static void LoadLastNumber();
    // Writes LastNumber as decimal text, giving back the rest of the block;
    // a failure changes nothing stored.
    static void SaveLastNumber();
    // The next reference, 0..255 (255 is followed by 0). The first draw of a
    // block keeps the block's end (in the settings when the record cannot be
    // written); one that cannot be kept is tried again at the next draw.
    static qint32 NextReference();
    // The record of the reserved block.
    static QString ReservationFile();

    // A process restarted after a kill starts past the stored end, so its
    // first block never meets the last block before the kill while two
    // blocks fit in the 256 references.
    static constexpr int kBlock = 128;

    SMSClassSequencer() = delete;
};

}  // namespace corvane
