#include "client/main/Globals.h"

namespace parlova {

Globals& Globals::Instance()
{
    // Never destroyed: the objects are released by the main window's unload
    // handler, not by the end of the process.
    static Globals* const instance = new Globals();
    return *instance;
}

}  // namespace parlova
