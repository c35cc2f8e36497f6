#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_faxtiff: small 1-bit BMPs in both palette orders."""
import os
import random
import struct


def bmp(width, height, black, first_entry_black):
    row_bytes = (width + 31) // 32 * 4
    data = bytearray()
    for y in reversed(range(height)):
        row = bytearray(row_bytes)
        for x in range(width):
            bit = (not black(x, y)) if first_entry_black else black(x, y)
            if bit:
                row[x >> 3] |= 0x80 >> (x & 7)
        data += row
    palette = b"\0\0\0\0\xff\xff\xff\0" if first_entry_black else b"\xff\xff\xff\0\0\0\0\0"
    header = b"BM" + struct.pack("<IHHI", 62 + len(data), 0, 0, 62)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(data), 7874, 7874, 2, 2)
    return header + info + palette + bytes(data)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "fuzz_faxtiff")
    os.makedirs(out, exist_ok=True)
    rng = random.Random(7)
    noise = {}
    cases = {
        "white_1x1": (1, 1, lambda x, y: False),
        "black_1x1": (1, 1, lambda x, y: True),
        "noise_33x6": (33, 6, lambda x, y: noise.setdefault((33, x, y), rng.random() < 0.5)),
        "stripes_70x8": (70, 8, lambda x, y: (x + y) % 9 < 3),
        "column_1x12": (1, 12, lambda x, y: y % 3 == 0),
        "text_like_96x16": (96, 16, lambda x, y: 4 <= y < 12 and (x // 3) % 4 != 3 and (x * y) % 7 < 4),
    }
    for name, (w, h, f) in cases.items():
        for first_black in (True, False):
            path = os.path.join(out, "%s_%s.bmp" % (name, "pal0black" if first_black else "pal0white"))
            with open(path, "wb") as fh:
                fh.write(bmp(w, h, f, first_black))


if __name__ == "__main__":
    main()
