#include "platform/SoftAssert.h"

#include <gtest/gtest.h>

namespace {

int guardedLookup(const int* values, int count, int index) {
    TT_ASSERT(index >= 0 && index < count, return -1);
    return values[index];
}

} // namespace

TEST(SoftAssert, FailedGuardRunsTheRecoveryActionAndCounts) {
    const int values[] = {10, 20, 30};
    const int before = SoftAssert::failureCount();
    EXPECT_EQ(guardedLookup(values, 3, 1), 20);
    EXPECT_EQ(SoftAssert::failureCount(), before);
    EXPECT_EQ(guardedLookup(values, 3, 3), -1);
    EXPECT_EQ(guardedLookup(values, 3, -1), -1);
    EXPECT_EQ(SoftAssert::failureCount(), before + 2);
}
