#!/usr/bin/env python3
"""Draws the picture panel's traffic-light strip resources/panels/ampel.png: four 16 x 32 lights
side by side (red, yellow, green lit, then the unknown light with all three dark), on magenta
0xFF00FF, which the panel shows transparent. Hard edges only: a blended edge pixel would be
neither magenta nor the light's own colour."""
import os
import struct
import sys
import zlib

W, H, CELL = 64, 32, 16
MAGENTA = (255, 0, 255)
HOUSING = (40, 40, 44)
EDGE = (90, 90, 96)
LIT = [(235, 30, 30), (250, 200, 20), (40, 200, 60)]
DARK = [(90, 30, 30), (95, 80, 20), (25, 75, 35)]
UNKNOWN = (110, 110, 115)

def light(cell, x, y):
    # Housing: a 12 x 30 rectangle with cut corners, centred in the cell.
    left, top, right, bottom = 2, 1, 13, 30
    if x < left or x > right or y < top or y > bottom:
        return MAGENTA
    corner = min(x - left, right - x) + min(y - top, bottom - y)
    if corner < 2:
        return MAGENTA
    for lamp in range(3):
        cx, cy = 7.5, 6.5 + lamp * 9.0
        if (x - cx) ** 2 + (y - cy) ** 2 <= 3.6 ** 2:
            if cell == 3:
                return UNKNOWN
            return LIT[lamp] if lamp == cell else DARK[lamp]
    return EDGE if corner < 3 or x in (left, right) or y in (top, bottom) else HOUSING

def png(width, height, pixel):
    rows = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "panels", "ampel.png")
with open(out, "wb") as f:
    f.write(png(W, H, lambda x, y: light(x // CELL, x % CELL, y)))
