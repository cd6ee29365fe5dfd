#include "client/core/PhoneProfile.h"

namespace parlova {

void PhoneProfile::Reset()
{
    UCS2Supported = false;
    PhoneIMEI.clear();
    PDUMode = false;
    StatusReportsArmed = false;
    MEEcodeValue = -1;
}

}  // namespace parlova
