#!/usr/bin/env python3
"""Writes res/lumo.ico, the plug-in's icon: 32 x 32 pixels in 16 colours.

The picture is a mail envelope with a shortcut arrow in its lower left
corner: a shortcut mail. Run it again after changing the drawing below; the
.ico it writes is checked in beside the resource script.
"""
import os
import struct

SIZE = 32

# The 16 standard Windows colours (index: B, G, R).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128),
    (128, 0, 0), (128, 0, 128), (128, 128, 0), (192, 192, 192),
    (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
    (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
BLACK, NAVY, GREY, WHITE, YELLOW = 0, 4, 8, 15, 11


def draw():
    """Rows top to bottom of colour indexes; None is transparent."""
    px = [[None] * SIZE for _ in range(SIZE)]
    # The envelope: a white body with a grey flap and a black outline.
    left, top, right, bottom = 1, 6, 30, 26
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            edge = x in (left, right) or y in (top, bottom)
            px[y][x] = BLACK if edge else WHITE
    middle = (left + right) / 2
    for x in range(left + 1, right):
        # The flap's two lines meet in the middle of the body.
        y = top + round((middle - abs(x - middle)) * 0.6)
        if y < bottom:
            px[y][x] = GREY
    # The shortcut arrow: a white box with a navy border and a bent arrow.
    bl, bt, br, bb = 0, 19, 12, 31
    for y in range(bt, bb + 1):
        for x in range(bl, br + 1):
            edge = x in (bl, br) or y in (bt, bb)
            px[y][x] = NAVY if edge else WHITE
    for y in range(23, 29):  # the shaft, rising from the bottom
        px[y][3] = px[y][4] = NAVY
    for x in range(3, 9):  # turning right
        px[23][x] = px[24][x] = NAVY
    for d in range(4):  # the head, pointing right
        for y in range(23 - d, 25 + d):
            px[y][9 - d + 0] = NAVY
    # A yellow seal on the flap.
    for y in range(14, 17):
        for x in range(14, 18):
            px[y][x] = YELLOW
    return px


def ico_bytes(px):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for b, g, r in PALETTE)
    colours = bytearray()
    mask = bytearray()
    for row in reversed(px):  # bottom-up, as bitmaps are stored
        for x in range(0, SIZE, 2):
            hi, lo = (c if c is not None else 0 for c in row[x:x + 2])
            colours.append(hi << 4 | lo)
        bits = 0
        for x, c in enumerate(row):
            if c is None:
                bits |= 1 << (SIZE - 1 - x)
        mask += struct.pack(">I", bits)
    image = header + palette + bytes(colours) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "lumo.ico")
    with open(out, "wb") as f:
        f.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()
