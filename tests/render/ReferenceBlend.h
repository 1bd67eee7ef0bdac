#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// The blend written out per byte: destination + floor(a * (source - destination) / 128), with a the
// source alpha halved; the fast pixel loops must give exactly this.
inline uint32_t ReferenceBlend(uint32_t s, uint32_t d) {
    const int a = static_cast<int>(s >> 25);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int sb = static_cast<int>((s >> shift) & 255), db = static_cast<int>((d >> shift) & 255);
        const int v = db + static_cast<int>(std::floor(a * (sb - db) / 128.0));
        out |= static_cast<uint32_t>(std::clamp(v, 0, 255)) << shift;
    }
    return out;
}
