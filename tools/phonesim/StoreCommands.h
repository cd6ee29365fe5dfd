#pragma once
// What the simulated phone answers to the message-store commands, chosen
// per test on the phone's state:
//   sim.state().get<phonesim::StoreProfile>().emptyListError = true;
// The messages themselves lie in MessageMemory (MessageMemory.h), where a
// test preloads them with storeAt().
#include <QString>

namespace phonesim {

struct StoreProfile {
    // The lists after "+CPMS: " in the answer to "AT+CPMS=?" (read and
    // delete, write and send, receive).
    QString locations = QStringLiteral("(\"SM\",\"ME\",\"MT\",\"SR\"),(\"SM\",\"ME\",\"MT\"),(\"SM\",\"ME\",\"MT\")");
    // While the character set is UCS2 (AT+CSCS="UCS2"), storage names are
    // written and read as UCS2 hex ("0053004D" for SM), as some phones do.
    bool hexNames = false;
    // "AT+CMGL" over a storage with nothing to list: "+CMS ERROR: 321"
    // rather than a bare OK.
    bool emptyListError = false;
    // The alpha field of every listing header, written in quotes; empty
    // leaves the field empty, as most phones do in PDU mode.
    QString alpha;
    // The n-th "AT+CMGW" command (from 1) answers ERROR instead of the
    // prompt; 0 refuses none.
    int refusedWrite = 0;

    // What happened.
    int writesSeen = 0;
};

}  // namespace phonesim
