#pragma once
// What the connected phone can do, as the last connect order found it. One
// instance for the program (Globals::ConnectedPhone); every connect order
// empties it before it starts.
#include <QString>
#include <QtGlobal>

namespace parlova {

class PhoneProfile {
public:
    void Reset();

    bool UCS2Supported = false;
    QString PhoneIMEI;
    // The phone works in PDU mode, so the SMS functions are available.
    bool PDUMode = false;
    bool StatusReportsArmed = false;
    // The extended error mode the connect chain chose, -1 for none.
    qint32 MEEcodeValue = -1;
};

}  // namespace parlova
