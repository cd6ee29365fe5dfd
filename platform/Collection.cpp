#include "platform/Collection.h"

namespace platform::detail {

void CollectionMissingKey(const QString&)
{
    Raise(vberr::InvalidProcedureCall, QStringLiteral("Collection"),
          QStringLiteral("Invalid procedure call or argument"));
}

void CollectionBadIndex(qsizetype)
{
    Raise(vberr::SubscriptOutOfRange, QStringLiteral("Collection"), QStringLiteral("Subscript out of range"));
}

void CollectionDuplicateKey(const QString&)
{
    Raise(vberr::DuplicateKey, QStringLiteral("Collection"),
          QStringLiteral("This key is already associated with an element of this collection"));
}

}  // namespace platform::detail
