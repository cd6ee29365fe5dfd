#include "client/orders/PhoneProfile.h"

#include "client/main/Globals.h"

namespace parlova {

void PhoneProfile::Reset()
{
    UCS2Supported = false;
    PhoneIMEI.clear();
    PDUMode = false;
    StatusReportsArmed = false;
    MEEcodeValue = -1;
}

PhoneProfile& ConnectedPhone() { return *G().ConnectedPhone(); }

}  // namespace parlova
