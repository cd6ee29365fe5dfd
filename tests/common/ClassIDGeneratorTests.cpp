#include "common/ClassIDGenerator.h"
#include "platform/VbError.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ClassIDGenerator, CountsFromOneAndRaisesOverflowInsteadOfWrapping)
{
    common::ClassIDGenerator ids;
    EXPECT_EQ(ids.NextClassID(), 1);
    EXPECT_EQ(ids.NextClassID(), 2);

    common::ClassIDGenerator nearEnd(std::numeric_limits<qint32>::max() - 1);
    EXPECT_EQ(nearEnd.NextClassID(), std::numeric_limits<qint32>::max());
    try {
        nearEnd.NextClassID();
        FAIL() << "no overflow";
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.number(), platform::vberr::Overflow);
    }
    EXPECT_THROW(nearEnd.NextClassID(), platform::VbError);  // stays at the end
}

}  // namespace
