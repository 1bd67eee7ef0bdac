#pragma once

#include <cstdint>

namespace BenchSupport {
// Peak resident set size of this process in megabytes (VmHWM of /proc/self/status).
double peakRssMb();
// Resets the peak so that the next reading covers only what follows (writes /proc/self/clear_refs).
void resetPeakRss();
} // namespace BenchSupport
