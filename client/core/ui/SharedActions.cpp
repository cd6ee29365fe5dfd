#include "client/core/ui/SharedActions.h"

namespace parlova {

namespace {
SharedActions* g_actions = nullptr;
}

SharedActions* SharedActions::Instance() { return g_actions; }
void SharedActions::SetInstance(SharedActions* actions) { g_actions = actions; }

}  // namespace parlova
