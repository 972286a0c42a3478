#!/usr/bin/env python3
"""Converts an uncompressed 24-bit BMP (as `lumo-host.exe`'s `dialog capture`
writes it) into a PNG, with the standard library only.

Usage: bmp-to-png.py IN.bmp OUT.png
"""
import struct
import sys
import zlib


def read_bmp(path):
    data = open(path, "rb").read()
    if data[:2] != b"BM" or len(data) < 54:
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0:
        raise ValueError(f"{path}: {bits} bits per pixel, compression {compression}; expected 24, none")
    stride = (width * 3 + 3) & ~3
    rows_down = height < 0  # a negative height stores the top row first
    height = abs(height)
    if len(data) < offset + stride * height:
        raise ValueError(f"{path}: {len(data)} bytes, too short for {width}x{height}")
    rows = []
    for y in range(height):
        stored = y if rows_down else height - 1 - y
        start = offset + stored * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, rows


def png(width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\x00" + row for row in rows)  # filter type 0 on every row
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    try:
        width, height, rows = read_bmp(argv[1])
    except (OSError, ValueError) as error:
        print(error, file=sys.stderr)
        return 1
    with open(argv[2], "wb") as out:
        out.write(png(width, height, rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
