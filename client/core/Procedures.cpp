#include "client/core/Procedures.h"

#include "client/core/Application.h"

namespace parlova {

Procedures& Procs() { return Application::Current().procedures(); }

}  // namespace parlova
