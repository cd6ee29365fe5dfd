#pragma once
// Registers every message chain ("SendSMS", "ReadSMS", the store and book
// chains) in the engine's chain table. The program calls it once at start,
// before the first command is set up; calling it again is harmless.
namespace corvane {

void RegisterMessageChains();
// The same, keeping every name already registered as it is (a stand-in a
// test put there, say): what a new gate calls.
void RegisterMissingMessageChains();

}  // namespace corvane
