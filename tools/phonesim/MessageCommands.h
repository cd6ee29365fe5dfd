#pragma once
// What the message command files (SmsCommands, StoreCommands) share: their
// argument and PDU checks, the storage counts of AT+CPMS, and the prompt
// after which AT+CMGS and AT+CMGW take a PDU.
#include "tools/phonesim/MessageMemory.h"
#include "tools/phonesim/PhoneSim.h"

#include <QString>

#include <functional>

namespace phonesim {

// A whole non-negative decimal number, or -1.
int Number(const QString& text);

// The TPDU length of a PDU text (the octets after its service-centre
// field), -1 when the text is no PDU.
int TpduLength(const QString& pdu);

// "used,total" of a storage.
QString Counts(MessageMemory& m, const QString& name);
// The answer line to a selection: the counts of the three chosen storages.
QString SelectionCounts(MessageMemory& m);

// Prompts for the PDU of a command ("+CMGS", "+CMGW") that announced its
// TPDU length: every PDU is recorded in the memory's received list, ESC is
// answered OK, a PDU of another length "+CMS ERROR: 304"; onPdu answers
// the rest. The prompt is written as the memory's barePrompt says.
using PduHandler = std::function<void(PhoneSim& sim, MessageMemory& memory, const QString& pdu)>;
void PromptForPdu(PhoneSim& s, const QString& command, int length, PduHandler onPdu);

}  // namespace phonesim
