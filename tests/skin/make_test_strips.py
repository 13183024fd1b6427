#!/usr/bin/env python3
"""Writes the test strips: four frames side by side, each frame's left half opaque in the
frame's own colour and its right half the same colour at alpha 128; columns past the fourth
frame are opaque magenta (they must never be drawn)."""
import os
import struct
import sys
import zlib

FRAME_COLOURS = [(200, 0, 0), (0, 200, 0), (0, 0, 200), (128, 128, 128)]
STRIPS = {"strip_40x24.png": (160, 24), "strip_622x52.png": (622, 52)}


def pixel(x, frame_width):
    frame = x // frame_width
    if frame >= 4:
        return (255, 0, 255, 255)
    r, g, b = FRAME_COLOURS[frame]
    return (r, g, b, 255 if x % frame_width < frame_width // 2 else 128)


def png(width, height):
    frame_width = width // 4
    row = b"\0" + b"".join(bytes(pixel(x, frame_width)) for x in range(width))
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(row * height, 9)) + chunk(b"IEND", b""))


out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "strips")
for name, (w, h) in STRIPS.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(png(w, h))
