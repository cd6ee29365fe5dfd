#pragma once
// The concatenation reference handed to each long message the hub encodes.
// Process-wide; kept across runs in the per-user settings store (application
// "Parlova", section "SMSClassSequencer", key "LastNumber"). The gate loads
// it when it is created and saves it when it goes; each new reference is
// saved as it is drawn.
#include <QtGlobal>

namespace corvane {

class SMSClassSequencer {
public:
    // The reference handed out last (0 until loaded or drawn).
    static qint32 LastNumber();
    // Reads the stored value (default 0); an unreadable store changes nothing.
    static void LoadLastNumber();
    // Writes LastNumber as decimal text; a failure changes nothing.
    static void SaveLastNumber();
    // The next reference, 0..255 (255 is followed by 0), saved at once.
    static qint32 NextReference();

    SMSClassSequencer() = delete;
};

}  // namespace corvane
