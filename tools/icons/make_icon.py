#!/usr/bin/env python3
"""Writes app/velocane.ico: the program's own picture, a white arrow pointing
up on a blue rounded square, at 16, 32 and 48 pixels. Run by hand when the
picture changes; the build uses the committed file."""
import struct
import sys


def picture(size):
    """Rows of (r, g, b, a) from the top."""
    field, rim, arrow = (32, 96, 200), (16, 48, 120), (255, 255, 255)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            corner = min(x, size - 1 - x) + min(y, size - 1 - y) < size // 8
            if corner:
                row.append((0, 0, 0, 0))
                continue
            edge = x in (0, size - 1) or y in (0, size - 1)
            row.append(rim + (255,) if edge else field + (255,))
        rows.append(row)
    # The head: a triangle from a fifth of the height down to the middle.
    top, middle = size // 5, size // 2 + size // 16
    half = size // 2
    for y in range(top, middle + 1):
        reach = (y - top) * (size // 3) // max(1, middle - top)
        for x in range(half - 1 - reach, half + 1 + reach):
            rows[y][x] = arrow + (255,)
    shaft = max(1, size // 8)
    for y in range(middle, size - size // 5):
        for x in range(half - shaft, half + shaft):
            rows[y][x] = arrow + (255,)
    return rows


def bitmap(size):
    rows = picture(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(
        bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main(path):
    sizes = (16, 32, 48)
    images = [bitmap(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "app/velocane.ico")
