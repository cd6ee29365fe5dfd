#include "client/core/PhoneProfile.h"

#include "client/core/Globals.h"

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
