#!/usr/bin/env python3
"""Wraps an 8-bit paletted BMP (32 x 32) into a one-image ICO: 256 colours, 8 bits per pixel."""
import struct
import sys

bmp = open(sys.argv[1], "rb").read()
offset = struct.unpack_from("<I", bmp, 10)[0]
dib = bmp[14:offset]  # BITMAPINFOHEADER and palette
width, height, planes, bits = struct.unpack_from("<iiHH", dib, 4)
colors = struct.unpack_from("<I", dib, 32)[0] or 256
assert (width, height, bits) == (32, 32, 8), (width, height, bits)
palette = dib[40:40 + 4 * colors] + bytes(4 * (256 - colors))
header = bytearray(dib[:40])
struct.pack_into("<i", header, 8, height * 2)  # the icon's DIB counts XOR and AND masks
struct.pack_into("<II", header, 32, 256, 0)
pixels = bmp[offset:offset + 32 * 32]
mask = bytes(4 * 32)  # AND mask, all opaque: 32 rows of 32 bits
image = bytes(header) + palette + pixels + mask
ico = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 8, len(image), 22)
open(sys.argv[2], "wb").write(ico + image)
