#include "client/core/Globals.h"

#include "hub/engine/Gate.h"
#include "hub/messages/MessageChains.h"

namespace parlova {

Globals& Globals::Instance()
{
    // Never destroyed: the objects are released by the main window's unload
    // handler, not by the end of the process.
    static Globals* const instance = new Globals();
    return *instance;
}

std::shared_ptr<corvane::Gate> Globals::NewPhoneGate()
{
    // Arrivals and the orders name their chains; the table must hold them
    // before the first command is set up.
    corvane::RegisterMessageChains();
    return std::make_shared<corvane::Gate>();
}

}  // namespace parlova
