#include "common/ClassIDGenerator.h"

#include "platform/VbError.h"

#include <limits>

namespace common {

qint32 ClassIDGenerator::NextClassID()
{
    if (last_ == std::numeric_limits<qint32>::max())
        platform::Raise(platform::vberr::Overflow, QStringLiteral("modClassIDGenerator"), QStringLiteral("Overflow"));
    return ++last_;
}

}  // namespace common
