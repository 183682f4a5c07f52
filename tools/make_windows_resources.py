#!/usr/bin/env python3
"""Makes the Windows program's icon and bitmaps from the committed PNG pictures.

    make_windows_resources.py ico OUT.ico IN.png...   an icon file with one image per PNG:
                                                      up to 48 pixels as 32-bit BGRA bitmaps,
                                                      larger ones kept as PNG
    make_windows_resources.py bmp OUT.bmp IN.png      a 24-bit bitmap file; transparent pixels
                                                      of an RGBA PNG become magenta

Only the standard library is used; the PNGs are 8-bit RGB or RGBA, not interlaced.
"""

import struct
import sys
import zlib
from pathlib import Path


def ReadPng(data):
    """Returns (width, height, channels, rows of bytes) of an 8-bit RGB/RGBA PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        at += 12 + length
    if header is None:
        raise ValueError("PNG without a header")
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise ValueError("only 8-bit RGB or RGBA PNGs without interlacing are read")
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + predictor) & 0xFF
            elif kind != 0:
                raise ValueError("unknown PNG filter %d" % kind)
        rows.append(bytes(line))
        previous = line
    return width, height, channels, rows


def IconImage(width, height, channels, rows):
    """A 32-bit icon image: header of double height, BGRA rows from the bottom, empty mask."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for x in range(width):
            r, g, b = row[x * channels:x * channels + 3]
            a = row[x * channels + 3] if channels == 4 else 255
            pixels += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    return header + bytes(pixels) + bytes(mask_stride * height)


def MakeIco(pngs):
    images = []
    for data in pngs:
        width, height, channels, rows = ReadPng(data)
        # Large images stay PNG, as Windows Vista and later read them.
        image = data if width > 48 else IconImage(width, height, channels, rows)
        images.append((width, height, image))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, height, image in images:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(image for _, _, image in images)


def MakeBmp(data):
    width, height, channels, rows = ReadPng(data)
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(width):
            r, g, b = row[x * channels:x * channels + 3]
            # A bitmap has no alpha: a transparent pixel becomes magenta, the glyphs' key colour.
            if channels == 4 and row[x * channels + 3] < 128:
                r, g, b = 255, 0, 255
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def main(argv):
    if len(argv) >= 4 and argv[1] == "ico":
        result = MakeIco([Path(name).read_bytes() for name in argv[3:]])
    elif len(argv) == 4 and argv[1] == "bmp":
        result = MakeBmp(Path(argv[3]).read_bytes())
    else:
        sys.stderr.write(__doc__)
        return 2
    Path(argv[2]).write_bytes(result)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
