#include "client/stores/MessageStoreProcedures.h"

namespace parlova {

MessageStoreProcedures& StoreProcedures()
{
    static MessageStoreProcedures table;
    return table;
}

}  // namespace parlova
