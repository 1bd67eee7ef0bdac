#pragma once

#include <QImage>

#include <cstdint>

namespace BenchSupport {
// Peak resident set size of this process in megabytes (VmHWM of /proc/self/status).
double peakRssMb();
// Resets the peak so that the next reading covers only what follows (writes /proc/self/clear_refs).
void resetPeakRss();
// A photo-like picture: smooth gradients, a few soft shapes and sensor noise, so that encoders and
// filters see the size and variety of a camera picture rather than of a flat test card.
QImage generatedPhoto(int width, int height, quint32 seed);
} // namespace BenchSupport
