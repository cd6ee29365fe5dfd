#pragma once
// The concatenation reference handed to each long message the hub encodes.
// Process-wide; kept across runs in the per-user settings store (application
// "Parlova", section "SMSClassSequencer", key "LastNumber"). The gate loads
// it when it is created and saves it when it goes. In between, references
// are reserved in blocks: the stored value is the end of the current block,
// so a process that dies mid-block is followed by one that starts past it,
// and only one draw in a block writes the settings.
#include <QtGlobal>

namespace corvane {

class SMSClassSequencer {
public:
    // The reference handed out last (0 until loaded or drawn).
    static qint32 LastNumber();
    // Reads the stored value (default 0); an unreadable store changes nothing.
    static void LoadLastNumber();
    // Writes LastNumber as decimal text, giving back the rest of the block;
    // a failure changes nothing stored.
    static void SaveLastNumber();
    // The next reference, 0..255 (255 is followed by 0). The first draw of a
    // block stores the block's end; a store that cannot be written is tried
    // again at the next draw.
    static qint32 NextReference();

    static constexpr int kBlock = 16;

    SMSClassSequencer() = delete;
};

}  // namespace corvane
