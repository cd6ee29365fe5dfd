#pragma once
// Opening and closing the phone connection for the whole program.
// Connecting never talks to the gate itself: it puts a connect order (or,
// with no port known, a scan order) at the head of the phone queue and
// starts it at once. Disconnecting asks about orders still queued, closes
// the port and updates the main window; it never removes an order.
#include <QtGlobal>

namespace parlova {

// port 1 and up: "COM" & port; below 1: the last port when the settings say
// so, else a scan of StartPort to EndPort.
void ConnectPhone(qint32 port);
// 0 asks first when orders are queued; any other value does not ask.
void DisconnectPhone(qint16 mode);

}  // namespace parlova
