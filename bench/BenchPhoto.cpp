#include "BenchSupport.h"

#include <algorithm>

namespace BenchSupport {

QImage generatedPhoto(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = seed * 2654435761u + 1;
    auto noise = [&state]() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<int>(state % 13) - 6;
    };
    const int cx = static_cast<int>(seed * 97 % static_cast<quint32>(width));
    const int cy = static_cast<int>(seed * 61 % static_cast<quint32>(height));
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int dx = (x - cx) / 8;
            const int dy = (y - cy) / 8;
            const int ring = ((dx * dx + dy * dy) / 97) & 63;
            const int n = noise();
            const int r = 40 + x * 150 / width + ring + n;
            const int g = 60 + y * 140 / height + n;
            const int b = 90 + ((x + y) * 100 / (width + height)) - ring / 2 + n;
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

} // namespace BenchSupport
