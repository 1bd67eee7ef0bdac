#include "platform/SoftAssert.h"

#include <QtGlobal>

#include <atomic>

namespace {
std::atomic<int> g_failures{0};
}

namespace SoftAssert {

void report(const char* condition, const char* file, int line) {
    ++g_failures;
    qWarning("Soft assert \"%s\" failed in %s:%d", condition, file, line);
}

int failureCount() {
    return g_failures.load();
}

} // namespace SoftAssert
