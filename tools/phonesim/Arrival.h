#pragma once
// A message arriving at the simulated phone from the network, as a phone
// shows one: the DELIVER stored in the SIM and its indication sent.
#include <QString>

namespace phonesim {

class PhoneSim;

// An octet as a PDU spells it: two upper-case hex digits.
QString Hex2(int v);

// A DELIVER from number ("+" for international) with text in the 8-bit
// coding (Windows-1252), stamped 2024-03-15 13:45:30 +00.
QString DeliverPdu(const QString& number, const QString& text);

// Stores it in a memory ("SM" unless told; "ME" once a SIM is full, as a
// phone goes on in its own memory) and indicates it ("+CMTI: \"SM\",n");
// the index, 0 when that memory is full.
int Arrive(PhoneSim& sim, const QString& number, const QString& text, const QString& memory = QStringLiteral("SM"));

}  // namespace phonesim
