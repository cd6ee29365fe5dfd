#include "terminal/TerminalRuntime.h"

#include "common/ClassIDGenerator.h"

namespace dorrak {

common::LogFunction& PhoneLog()
{
    static common::LogFunction log;
    return log;
}

qint32 NextClassID()
{
    static common::ClassIDGenerator counter;
    return counter.NextClassID();
}

}  // namespace dorrak
