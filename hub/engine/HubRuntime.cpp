#include "hub/engine/HubRuntime.h"

#include "common/ClassIDGenerator.h"

namespace corvane {

common::LogFunction& HubLog()
{
    static common::LogFunction log;
    return log;
}

qint32 NextClassID()
{
    static common::ClassIDGenerator counter;
    return counter.NextClassID();
}

}  // namespace corvane
