#!/usr/bin/env python3
"""Draws Postlark's icon: a lark perched on an envelope, 32 x 32, 256 colours.

Writes src/app/postlark.ico (one 8-bit palettised image with its mask).
Run: python3 scripts/make_icon.py
"""
import math
import struct
import pathlib

W = H = 32
CLEAR = None
NAVY, CREAM, SHADE, BROWN, DARK, BEAK, RED, WHITE = (
    (30, 40, 90), (250, 243, 220), (214, 200, 160), (150, 100, 55),
    (90, 60, 30), (240, 170, 40), (200, 30, 30), (255, 255, 255))

px = [[CLEAR] * W for _ in range(H)]


def put(x, y, c):
    if 0 <= x < W and 0 <= y < H:
        px[y][x] = c


def line(x0, y0, x1, y1, c):
    n = max(abs(x1 - x0), abs(y1 - y0))
    for i in range(n + 1):
        put(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)


def ellipse(cx, cy, rx, ry, c):
    for y in range(H):
        for x in range(W):
            if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                put(x, y, c)


# Envelope: body, outline, flap.
for y in range(12, 30):
    for x in range(2, 30):
        put(x, y, CREAM if y < 24 else SHADE)
for x in range(2, 30):
    put(x, 12, NAVY); put(x, 29, NAVY)
for y in range(12, 30):
    put(2, y, NAVY); put(29, y, NAVY)
line(2, 12, 15, 22, NAVY); line(29, 12, 16, 22, NAVY)
line(2, 29, 12, 21, NAVY); line(29, 29, 19, 21, NAVY)

# The lark, perched on the top edge: body, head, eye, beak, tail, legs.
ellipse(11, 8, 5.5, 3.2, BROWN)
ellipse(16.5, 5.5, 2.6, 2.4, BROWN)
for x in range(7, 14):
    put(x, 10, DARK)
put(17, 5, WHITE); put(17, 4, DARK)
line(19, 5, 21, 6, BEAK); put(19, 6, BEAK)
line(5, 7, 2, 5, DARK); line(5, 8, 2, 7, DARK)
put(10, 11, DARK); put(13, 11, DARK)

# The "new mail" badge.
ellipse(26, 5, 4.2, 4.2, RED)
line(26, 2, 26, 6, WHITE); put(26, 8, WHITE)

palette = [c for c in dict.fromkeys(p for row in px for p in row if p is not CLEAR)]
palette = [(0, 0, 0)] + palette
palette += [(0, 0, 0)] * (256 - len(palette))

xor_rows, and_rows = [], []
for y in reversed(range(H)):  # bottom-up, as DIBs are stored
    xor_rows.append(bytes(0 if p is CLEAR else palette.index(p) for p in px[y]))
    bits = 0
    for x in range(W):
        bits = (bits << 1) | (1 if px[y][x] is CLEAR else 0)
    and_rows.append(struct.pack(">I", bits))

header = struct.pack("<IiiHHIIiiII", 40, W, H * 2, 1, 8, 0, 0, 0, 0, 256, 0)
pal = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in palette)
image = header + pal + b"".join(xor_rows) + b"".join(and_rows)
ico = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", W, H, 0, 0, 1, 8, len(image), 22)
out = pathlib.Path(__file__).resolve().parent.parent / "src" / "app" / "postlark.ico"
out.write_bytes(ico + image)
print(f"wrote {out} ({len(ico) + len(image)} bytes, {len(set(palette))} colours)")
