#pragma once

// Guard conditions in a desktop program degrade instead of aborting: TT_ASSERT logs the failed
// condition with file and line and runs the recovery action, e.g.
//     TT_ASSERT(index >= 0 && index < count, return nullptr);
namespace SoftAssert {
void report(const char* condition, const char* file, int line);
// Number of failed soft asserts since start; tests read it to check that a guard fired.
int failureCount();
} // namespace SoftAssert

#define TT_ASSERT(cond, action)                                                                              \
    if (cond) {                                                                                              \
    } else {                                                                                                 \
        ::SoftAssert::report(#cond, __FILE__, __LINE__);                                                     \
        action;                                                                                              \
    }                                                                                                        \
    do {                                                                                                     \
    } while (0)
