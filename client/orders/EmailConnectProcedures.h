#pragma once
// Opening and closing the e-mail account's connection. Both work on the
// e-mail gate and the e-mail order queue, take every account value from the
// settings and speak to the user only through message boxes; the main loop
// mirrors the gate's state in the status pane on its next tick.
#include <QString>

namespace parlova {

// Asks about e-mail orders still queued, then connects the gate with the
// account settings.
void ConnectEmail();
// Asks first when e-mail orders wait, then disconnects the gate; the queue
// is left as it is. The text is not used.
void DisconnectEmail(const QString& unused = QString());

}  // namespace parlova
