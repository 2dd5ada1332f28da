#!/usr/bin/env python3
"""Writes the program icon DEFAULT_ICON: one 32 x 32 image, 32 bits per pixel (BGRA with an
AND mask), drawn here: a round avatar head and shoulders in blue on a light disc."""
import struct
import sys

SIZE = 32


def pixel(x, y):
    cx, cy = x + 0.5 - 16, y + 0.5 - 16
    if cx * cx + cy * cy > 15.5 * 15.5:
        return (0, 0, 0, 0)
    hx, hy = cx, cy + 4  # head centre at (16, 12)
    in_head = hx * hx + hy * hy <= 6.0 * 6.0
    sx, sy = cx, cy - 13  # shoulders: a wide disc whose top shows at the bottom
    in_shoulders = (sx * sx) / (11.0 * 11.0) + (sy * sy) / (9.0 * 9.0) <= 1.0
    if in_head or in_shoulders:
        return (0xC8, 0x6E, 0x1E, 0xFF)  # BGRA: a deep blue
    shade = int(0xF0 - (cy + 16) * 2)
    return (0xFF, shade, shade - 0x10, 0xFF)


def icon_bytes():
    rows = []
    for y in range(SIZE - 1, -1, -1):  # DIB rows run bottom-up
        rows.append(b"".join(struct.pack("4B", *pixel(x, y)) for x in range(SIZE)))
    xor = b"".join(rows)
    mask_rows = []
    for y in range(SIZE - 1, -1, -1):
        bits = 0
        for x in range(SIZE):
            if pixel(x, y)[3] == 0:
                bits |= 1 << (31 - x)
        mask_rows.append(struct.pack(">I", bits))
    mask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(icon_bytes())
