// The guard that makes a back end active: it gives the activity back to the one before, also
// when guards nest and when the guarded code throws.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "platform/ActiveBackendGuard.h"
#include "platform/HeadlessBackend.h"

namespace {

TEST(ActiveBackendGuard, NestedGuardsGiveTheActivityBackInTurn) {
    std::ostringstream out;
    HeadlessBackend outer("", "outer", out);
    HeadlessBackend inner("", "inner", out);
    ASSERT_EQ(GetActiveBackend(), nullptr);
    {
        ActiveBackendGuard first(outer);
        EXPECT_EQ(GetActiveBackend(), &outer);
        {
            ActiveBackendGuard second(inner);
            EXPECT_EQ(GetActiveBackend(), &inner);
        }
        EXPECT_EQ(GetActiveBackend(), &outer);
    }
    EXPECT_EQ(GetActiveBackend(), nullptr);
}

TEST(ActiveBackendGuard, AThrowLeavesNoBackEndActive) {
    std::ostringstream out;
    EXPECT_THROW(
        {
            HeadlessBackend backend("", "s", out);
            ActiveBackendGuard active(backend);
            throw std::runtime_error("failed while active");
        },
        std::runtime_error);
    EXPECT_EQ(GetActiveBackend(), nullptr);
}

}  // namespace
