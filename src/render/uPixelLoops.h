#pragma once

// The pixel loops of the bitmap draw context split the rows of large pictures into this many
// bands drawn in parallel (0, the default: one per processor core; 1: no threads). The pixels do
// not depend on it.
void SetPixelLoopBands(int bands);
