#pragma once
// Where an arrival line ("+CMTI:", "+CDSI:", "+CMGW:") says the new message
// lies. The "ReadSMS" set-up calls PrepareReadSMS with the line the gate
// passes as its answer, then starts with the storage step when a storage was
// named ("AT+CPMS=" & MemoryType & CR), else with the locating step.
#include <QString>

namespace corvane {

class PhoneCommand;

struct ArrivalLocation {
    bool valid = false;  // the line names a place a command may carry
    bool storageNamed = false;
    QString memoryType;  // quotes kept: "\"SM\""
    double memoryIndex = 0;
};

// Storage and index of a line. A line with a comma after its ":" names both
// (+CMTI: "ME",12 and +CDSI: "SR",4 alike), the index less shiftME for the
// storage "ME"; otherwise the text after ":" is the index (+CMGW: 5,
// +CDSI: 4). The phone's text goes into commands, so a storage must be two
// to four letters or digits (quoted or not) and an index a number from 0 to
// 65535; any other line is not valid and names nothing.
ArrivalLocation ParseArrivalLine(const QString& line, double shiftME);

// Puts "ReadSMS" True, "StatusReport" False, "Message" "" and the location
// ("MemoryType" when named, "MemoryIndex" as a double) into the Bag; the
// shift is the Bag's "ShiftME".
ArrivalLocation PrepareReadSMS(PhoneCommand& command, const QString& line);

}  // namespace corvane
