#!/usr/bin/env python3
"""Generates the game's built-in pictures into resources/.

splash.png                 the 280 x 140 background of the splash and about window
donate.png                 the 350 x 135 picture of the donation dialog (kittens and a speech bubble)
door.png, door_disabled.png  the 24 x 24 glyph of the "Proceed" button and its greyed twin
icon.png, icon-N.png       the application icon at 256 and at 16, 32, 48, 64 and 128 pixels
                           (16 pixels drawn pixel by pixel for its size)

Everything is drawn by a small anti-aliased rasteriser built on signed distance
functions, and written by a PNG encoder of our own; only the standard library
is used, and every run writes the same pixels.

Usage:
    gen_pictures.py            write the pictures into resources/
    gen_pictures.py --check    regenerate in memory, compare with resources/ and
                               check the committed files' structure
"""

import math
import struct
import sys
import zlib
from pathlib import Path

RESOURCES = Path(__file__).resolve().parent.parent / "resources"

ICON_SIZES = (16, 32, 48, 64, 128)


# ---------------------------------------------------------------------------
# PNG encoding and decoding


def PngChunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def EncodePng(width, height, channels, pixels):
    """PNG bytes of 8-bit RGB (channels 3) or RGBA (channels 4) pixels.

    `pixels` is a flat byte sequence, row by row; every scanline uses filter 0.
    """
    colourType = {3: 2, 4: 6}[channels]
    stride = width * channels
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        raw += pixels[y * stride:(y + 1) * stride]
    header = struct.pack(">IIBBBBB", width, height, 8, colourType, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + PngChunk(b"IHDR", header)
            + PngChunk(b"IDAT", zlib.compress(bytes(raw), 9)) + PngChunk(b"IEND", b""))


def DecodePng(data):
    """(width, height, channels, pixels) of a PNG written by EncodePng.

    Checks the signature and every chunk's CRC; accepts only unfiltered 8-bit
    RGB or RGBA scanlines, which is all this tool writes.
    """
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 4:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(body) & 0xFFFFFFFF != crc:
            raise ValueError("bad CRC in chunk " + kind.decode("ascii"))
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body[4:])
        elif kind == b"IDAT":
            idat += body[4:]
        pos += 12 + length
    width, height, depth, colourType = header[:4]
    if depth != 8 or colourType not in (2, 6):
        raise ValueError("unexpected pixel format")
    channels = 3 if colourType == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    pixels = bytearray()
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        if line[0] != 0:
            raise ValueError("unexpected scanline filter")
        pixels += line[1:]
    return width, height, channels, bytes(pixels)


# ---------------------------------------------------------------------------
# Shapes: each is a signed distance function (negative inside, in logical
# units) with a bounding box, so that coverage and anti-aliasing come from the
# distance to the edge.


class Shape:
    def __init__(self, distance, box):
        self.distance = distance
        self.box = box  # (x0, y0, x1, y1) in logical units

    def Union(self, other):
        a, b = self.distance, other.distance
        return Shape(lambda x, y: min(a(x, y), b(x, y)), BoxUnion(self.box, other.box))

    def Intersect(self, other):
        a, b = self.distance, other.distance
        return Shape(lambda x, y: max(a(x, y), b(x, y)), BoxIntersect(self.box, other.box))

    def Grow(self, amount):
        """The shape widened (or, for negative amounts, narrowed) by `amount`."""
        d = self.distance
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: d(x, y) - amount, (x0 - amount, y0 - amount, x1 + amount, y1 + amount))

    def Outline(self, width):
        """A band of `width` centred on the shape's edge."""
        d, half = self.distance, width / 2.0
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: abs(d(x, y)) - half, (x0 - half, y0 - half, x1 + half, y1 + half))

    def Moved(self, dx, dy):
        d = self.distance
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: d(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def BoxUnion(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def BoxIntersect(a, b):
    return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


def Circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def Ellipse(cx, cy, rx, ry, angle=0.0):
    """An ellipse turned by `angle` radians (distance approximated near the edge)."""
    c, s = math.cos(angle), math.sin(angle)

    def distance(x, y):
        px, py = x - cx, y - cy
        u, v = c * px + s * py, -s * px + c * py
        k0 = math.hypot(u / rx, v / ry)
        k1 = math.hypot(u / (rx * rx), v / (ry * ry))
        if k1 == 0.0:
            return -min(rx, ry)
        return k0 * (k0 - 1.0) / k1

    reach = max(rx, ry)
    return Shape(distance, (cx - reach, cy - reach, cx + reach, cy + reach))


def RoundedRect(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - radius, (y1 - y0) / 2.0 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return Shape(distance, (x0, y0, x1, y1))


def Polygon(points, rounding=0.0):
    """A closed polygon, its corners rounded by `rounding` (the shape grows by it)."""
    pts = list(points)

    def distance(x, y):
        best = float("inf")
        inside = False
        j = len(pts) - 1
        for i in range(len(pts)):
            ax, ay = pts[j]
            bx, by = pts[i]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            h = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(wx - ex * h, wy - ey * h))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
            j = i
        return (-best if inside else best) - rounding

    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(distance, (min(xs) - rounding, min(ys) - rounding, max(xs) + rounding, max(ys) + rounding))


def Stroke(points, width, endWidth=None):
    """A thick polyline with round ends; its width may taper to `endWidth`."""
    pts = list(points)
    if endWidth is None:
        endWidth = width
    lengths = [0.0]
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        lengths.append(lengths[-1] + math.hypot(bx - ax, by - ay))
    total = lengths[-1] or 1.0

    def distance(x, y):
        best = float("inf")
        for k in range(len(pts) - 1):
            ax, ay = pts[k]
            bx, by = pts[k + 1]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            span = ex * ex + ey * ey
            h = 0.0 if span == 0.0 else max(0.0, min(1.0, (wx * ex + wy * ey) / span))
            along = (lengths[k] + h * (lengths[k + 1] - lengths[k])) / total
            radius = (width + (endWidth - width) * along) / 2.0
            best = min(best, math.hypot(wx - ex * h, wy - ey * h) - radius)
        return best

    reach = max(width, endWidth) / 2.0
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(distance, (min(xs) - reach, min(ys) - reach, max(xs) + reach, max(ys) + reach))


def Bezier(p0, p1, p2, p3, steps=16):
    """Points along a cubic Bezier curve, for Stroke."""
    out = []
    for i in range(steps + 1):
        t = i / steps
        a, b, c, d = (1 - t) ** 3, 3 * (1 - t) ** 2 * t, 3 * (1 - t) * t * t, t ** 3
        out.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0], a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return out


def Heart(cx, cy, size):
    """A small heart centred near (cx, cy), `size` wide."""
    r = size * 0.27
    left = Circle(cx - r * 0.85, cy - r * 0.35, r)
    right = Circle(cx + r * 0.85, cy - r * 0.35, r)
    point = Polygon([(cx - size * 0.47, cy - r * 0.05), (cx + size * 0.47, cy - r * 0.05), (cx, cy + size * 0.5)],
                    rounding=size * 0.03)
    return left.Union(right).Union(point)


# ---------------------------------------------------------------------------
# A built-in 5 x 7 bitmap font (proportional: each glyph keeps its own width)

FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "Z": ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "!": ["1", "1", "1", "1", "1", "0", "1"],
    " ": ["000", "000", "000", "000", "000", "000", "000"],
}


def TextWidth(text, cell, spacing=1):
    """Width in logical units of `text` drawn with font pixels of size `cell`."""
    columns = sum(len(FONT[ch][0]) for ch in text) + spacing * (len(text) - 1)
    return columns * cell


def Text(text, left, top, cell, spacing=1, pen=1.05):
    """`text` in the bitmap font, with font pixels of size `cell`, as one shape.

    Each lit font pixel is a dot of a round pen, and neighbouring dots are
    joined by strokes (diagonal neighbours only where no straight neighbour
    joins them already), which turns the blocky font into smooth letters. The
    distance looks only at the font pixels around the point, so long texts stay
    cheap to draw.
    """
    lit = set()
    column = 0
    for ch in text:
        rows = FONT[ch]
        for gy, row in enumerate(rows):
            for gx, bit in enumerate(row):
                if bit == "1":
                    lit.add((column + gx, gy))
        column += len(rows[0]) + spacing
    segments = {}
    for (gx, gy) in lit:
        ends = [(gx, gy)]
        for nx, ny in ((gx + 1, gy), (gx, gy + 1)):
            if (nx, ny) in lit:
                ends.append((nx, ny))
        for dx in (-1, 1):
            if (gx + dx, gy + 1) in lit and (gx + dx, gy) not in lit and (gx, gy + 1) not in lit:
                ends.append((gx + dx, gy + 1))
        segments[(gx, gy)] = ends
    radius = pen * cell / 2.0

    def distance(x, y):
        u = (x - left) / cell - 0.5
        v = (y - top) / cell - 0.5
        gx, gy = int(math.floor(u + 0.5)), int(math.floor(v + 0.5))
        best = 2.0
        for sx in range(gx - 1, gx + 2):
            for sy in range(gy - 1, gy + 2):
                ends = segments.get((sx, sy))
                if ends is None:
                    continue
                wx, wy = u - sx, v - sy
                best = min(best, math.hypot(wx, wy))
                for ex, ey in ends[1:]:
                    ex, ey = ex - sx, ey - sy
                    h = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
                    best = min(best, math.hypot(wx - ex * h, wy - ey * h))
        return best * cell - radius

    width = TextWidth(text, cell, spacing)
    return Shape(distance, (left - radius, top - radius, left + width + radius, top + 7 * cell + radius))


# ---------------------------------------------------------------------------
# The canvas: premultiplied RGBA in floats, drawn in logical units that are
# `scale` pixels each.


class Canvas:
    def __init__(self, width, height, scale=1.0, background=None):
        self.width, self.height, self.scale = width, height, scale
        fill = (0.0, 0.0, 0.0, 0.0) if background is None else tuple(background) + (255.0,)
        self.pixels = [list(fill) for _ in range(width * height)]

    def Fill(self, shape, paint, opacity=1.0, softness=0.0):
        """Composites `paint` (an (r, g, b) or a function of logical x, y) over the shape.

        `softness` widens the anti-aliased edge to that many logical units,
        for shadows and glows.
        """
        s = self.scale
        edge = max(1.0, softness * s)
        x0, y0, x1, y1 = shape.box
        px0 = max(0, int(math.floor(x0 * s - edge)))
        py0 = max(0, int(math.floor(y0 * s - edge)))
        px1 = min(self.width, int(math.ceil(x1 * s + edge)) + 1)
        py1 = min(self.height, int(math.ceil(y1 * s + edge)) + 1)
        distance = shape.distance
        constant = None if callable(paint) else paint
        for py in range(py0, py1):
            ly = (py + 0.5) / s
            row = py * self.width
            for px in range(px0, px1):
                lx = (px + 0.5) / s
                coverage = 0.5 - distance(lx, ly) * s / edge
                if coverage <= 0.0:
                    continue
                alpha = min(1.0, coverage) * opacity
                r, g, b = constant if constant is not None else paint(lx, ly)
                pixel = self.pixels[row + px]
                keep = 1.0 - alpha
                pixel[0] = r * alpha + pixel[0] * keep
                pixel[1] = g * alpha + pixel[1] * keep
                pixel[2] = b * alpha + pixel[2] * keep
                pixel[3] = 255.0 * alpha + pixel[3] * keep

    def Line(self, points, width, colour, opacity=1.0):
        """A thin line: widths under one pixel are drawn one pixel wide and fainter."""
        pixelWidth = width * self.scale
        if pixelWidth < 1.0:
            self.Fill(Stroke(points, 1.0 / self.scale), colour, opacity * pixelWidth)
        else:
            self.Fill(Stroke(points, width), colour, opacity)

    def Reduced(self, factor):
        """A canvas `factor` times smaller, each pixel the mean of a factor x factor block."""
        out = Canvas(self.width // factor, self.height // factor, self.scale / factor)
        area = float(factor * factor)
        for y in range(out.height):
            for x in range(out.width):
                total = [0.0, 0.0, 0.0, 0.0]
                for sy in range(y * factor, (y + 1) * factor):
                    row = sy * self.width
                    for sx in range(x * factor, (x + 1) * factor):
                        p = self.pixels[row + sx]
                        total[0] += p[0]
                        total[1] += p[1]
                        total[2] += p[2]
                        total[3] += p[3]
                out.pixels[y * out.width + x] = [v / area for v in total]
        return out

    def Bytes(self, channels):
        """The pixels as 8-bit RGB or straight-alpha RGBA bytes."""
        out = bytearray()
        for r, g, b, a in self.pixels:
            if channels == 3:
                out += bytes(Clamp8(v) for v in (r, g, b))
            else:
                alpha = Clamp8(a)
                if alpha == 0:
                    out += b"\0\0\0\0"
                else:
                    unit = 255.0 / a
                    out += bytes((Clamp8(r * unit), Clamp8(g * unit), Clamp8(b * unit), alpha))
        return bytes(out)


def Clamp8(value):
    return max(0, min(255, int(value + 0.5)))


def Mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def Shade(colour, factor):
    """The colour darkened (factor < 1) or lightened towards white (factor > 1)."""
    if factor <= 1.0:
        return tuple(c * factor for c in colour)
    return Mix(colour, (255.0, 255.0, 255.0), factor - 1.0)


def VerticalGradient(top, bottom, y0, y1):
    def paint(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return Mix(top, bottom, t)
    return paint


# ---------------------------------------------------------------------------
# splash.png


def Splash():
    """White inside a 5-pixel frame: 1 black, 3 grey (128, 128, 128), 1 black."""
    width, height = 280, 140
    out = bytearray()
    for y in range(height):
        for x in range(width):
            ring = min(x, y, width - 1 - x, height - 1 - y)
            if ring == 0 or ring == 4:
                out += b"\x00\x00\x00"
            elif ring < 4:
                out += b"\x80\x80\x80"
            else:
                out += b"\xff\xff\xff"
    return EncodePng(width, height, 3, out)


# ---------------------------------------------------------------------------
# donate.png: four kittens on a cushion, one of them asking for a donation


class Frame:
    """Maps a kitten's own coordinates (origin between its front paws, y down)
    to the picture, with a size factor and an optional tilt of the head."""

    def __init__(self, x, y, size, tilt=0.0, pivot=(0.0, 0.0)):
        self.x, self.y, self.size = x, y, size
        self.tilt, self.pivot = tilt, pivot

    def P(self, lx, ly, tilted=False):
        if tilted and self.tilt:
            px, py = self.pivot
            c, s = math.cos(self.tilt), math.sin(self.tilt)
            dx, dy = lx - px, ly - py
            lx, ly = px + c * dx - s * dy, py + s * dx + c * dy
        return (self.x + lx * self.size, self.y + ly * self.size)

    def L(self, length):
        return length * self.size


KITTENS = [
    {   # ginger, stripes on the head and back
        "fur": (240, 152, 72), "dark": (196, 100, 38), "light": (253, 222, 178),
        "eye": (112, 178, 62), "pattern": "stripes", "tail": -1,
    },
    {   # grey tabby
        "fur": (152, 154, 164), "dark": (92, 94, 106), "light": (222, 223, 230),
        "eye": (226, 178, 56), "pattern": "tabby", "tail": 1,
    },
    {   # black and white
        "fur": (46, 43, 52), "dark": (16, 15, 20), "light": (250, 250, 250),
        "eye": (196, 206, 70), "pattern": "tuxedo", "tail": -1,
    },
    {   # calico
        "fur": (252, 249, 242), "dark": (186, 170, 160), "light": (255, 255, 255),
        "eye": (84, 164, 190), "pattern": "calico", "tail": 1,
    },
]

PINK = (246, 160, 176)
NOSE = (232, 112, 136)


def Outlined(canvas, shape, colour, outline, width):
    canvas.Fill(shape.Grow(width / 2.0), outline)
    canvas.Fill(shape.Grow(-width / 2.0), colour)


def DrawKitten(canvas, f, look):
    fur, dark, light = look["fur"], look["dark"], look["light"]
    line = Shade(dark, 0.8)
    pattern = look["pattern"]
    side = look["tail"]
    outlineWidth = 1.3

    # Soft shadow on the cushion.
    canvas.Fill(Ellipse(*f.P(0, 1), f.L(21), f.L(3.5)), (150, 70, 100), opacity=0.35, softness=f.L(4))

    # Tail, behind the body: it curls up from the hip.
    tailPoints = Bezier(f.P(side * 10, -4), f.P(side * 27, -2), f.P(side * 30, -18), f.P(side * 22, -30))
    tail = Stroke(tailPoints, f.L(7.5), f.L(5.5))
    Outlined(canvas, tail, fur, line, outlineWidth)
    if pattern in ("stripes", "tabby"):
        for t in (0.35, 0.55, 0.75):
            i = int(t * (len(tailPoints) - 1))
            (ax, ay), (bx, by) = tailPoints[i - 1], tailPoints[i + 1]
            nx, ny = -(by - ay), bx - ax
            n = math.hypot(nx, ny)
            cx, cy = tailPoints[i]
            half = f.L(3.3)
            band = Stroke([(cx - nx / n * half, cy - ny / n * half), (cx + nx / n * half, cy + ny / n * half)], f.L(1.6))
            canvas.Fill(band.Intersect(tail.Grow(-0.6)), dark)
    if pattern == "tuxedo":
        canvas.Fill(Circle(*tailPoints[-1], f.L(2.6)).Intersect(tail.Grow(-0.6)), light)
    if pattern == "calico":
        canvas.Fill(Circle(*tailPoints[-4], f.L(6)).Intersect(tail.Grow(-0.6)), (232, 142, 58))
        canvas.Fill(Circle(*tailPoints[-1], f.L(4)).Intersect(tail.Grow(-0.6)), (60, 52, 52))

    # Body: a pear of a round belly and haunches.
    body = Ellipse(*f.P(0, -14), f.L(17), f.L(19))
    haunchLeft = Ellipse(*f.P(-10, -7), f.L(9), f.L(8))
    haunchRight = Ellipse(*f.P(10, -7), f.L(9), f.L(8))
    torso = body.Union(haunchLeft).Union(haunchRight)
    Outlined(canvas, torso, fur, line, outlineWidth)
    inner = torso.Grow(-0.65)
    if pattern == "stripes":
        for k in (-1, 1):
            for dy in (-22, -15, -8):
                stripe = Stroke([f.P(k * 17, dy), f.P(k * 11, dy + 2.5)], f.L(2.2), f.L(0.8))
                canvas.Fill(stripe.Intersect(inner), dark)
    if pattern == "tabby":
        for k in (-1, 1):
            for dy in (-24, -17, -10):
                stripe = Stroke(Bezier(f.P(k * 18, dy), f.P(k * 14, dy + 1), f.P(k * 12, dy + 3), f.P(k * 10, dy + 5), 6),
                                f.L(2.4), f.L(0.8))
                canvas.Fill(stripe.Intersect(inner), dark)
    if pattern == "calico":
        canvas.Fill(Ellipse(*f.P(-11, -20), f.L(9), f.L(11), 0.4).Intersect(inner), (232, 142, 58))
        canvas.Fill(Ellipse(*f.P(13, -9), f.L(7), f.L(6), -0.3).Intersect(inner), (60, 52, 52))
    # A lighter chest and belly.
    chestColour = light if pattern in ("tuxedo", "calico") else Mix(fur, light, 0.75)
    chest = Ellipse(*f.P(0, -15), f.L(8.5), f.L(13))
    canvas.Fill(chest.Intersect(inner), chestColour, softness=f.L(1.5) if pattern in ("stripes", "tabby") else 0.0)

    # Front paws.
    pawColour = light if pattern in ("tuxedo", "calico") else Mix(fur, light, 0.45)
    for k in (-1, 1):
        paw = Ellipse(*f.P(k * 5.2, -2.2), f.L(4.8), f.L(3.6))
        Outlined(canvas, paw, pawColour, line, outlineWidth)
        for toe in (-1.4, 1.4):
            canvas.Line([f.P(k * 5.2 + toe, -0.2), f.P(k * 5.2 + toe, -1.6)], f.L(0.6), line, 0.8)

    # Head: ears first, then the face, all turned by the head's tilt.
    def H(lx, ly):
        return f.P(lx, ly, tilted=True)

    for k in (-1, 1):
        ear = Polygon([H(k * 7, -42), H(k * 18.5, -50), H(k * 18, -34)], rounding=f.L(2.2))
        earColour = fur
        if pattern == "calico":
            earColour = (232, 142, 58) if k < 0 else (60, 52, 52)
        Outlined(canvas, ear, earColour, line, outlineWidth)
        earInner = Polygon([H(k * 10, -41), H(k * 16.8, -46.5), H(k * 16.5, -37)], rounding=f.L(0.8))
        canvas.Fill(earInner, PINK)

    head = Ellipse(*H(0, -33), f.L(20), f.L(16.5), f.tilt)
    cheeks = Ellipse(*H(0, -28.5), f.L(21.5), f.L(11), f.tilt)
    face = head.Union(cheeks)
    Outlined(canvas, face, fur, line, outlineWidth)
    faceInner = face.Grow(-0.65)

    if pattern == "stripes":
        for dx, length in ((-4.5, 6), (0, 7.5), (4.5, 6)):
            canvas.Fill(Stroke([H(dx, -49), H(dx * 0.8, -49 + length)], f.L(2.4), f.L(0.9)).Intersect(faceInner), dark)
        for k in (-1, 1):
            for dy in (-31, -27):
                canvas.Fill(Stroke([H(k * 22, dy), H(k * 16, dy + 1)], f.L(1.8), f.L(0.7)).Intersect(faceInner), dark)
    if pattern == "tabby":
        m = [H(-7, -41), H(-4.5, -46.5), H(0, -42), H(4.5, -46.5), H(7, -41)]
        canvas.Fill(Stroke(m, f.L(1.9)).Intersect(faceInner), dark)
        canvas.Fill(Stroke([H(0, -49.5), H(0, -44.5)], f.L(1.9), f.L(1.0)).Intersect(faceInner), dark)
        for k in (-1, 1):
            for dy in (-32, -27.5):
                canvas.Fill(Stroke([H(k * 22, dy), H(k * 15.5, dy + 1.2)], f.L(2.0), f.L(0.7)).Intersect(faceInner), dark)
    if pattern == "tuxedo":
        blaze = Polygon([H(-1.2, -49), H(1.2, -49), H(7.5, -30), H(-7.5, -30)], rounding=f.L(1.5))
        muzzle = Ellipse(*H(0, -25.5), f.L(10.5), f.L(7), f.tilt)
        canvas.Fill(blaze.Union(muzzle).Intersect(faceInner), light)
    if pattern == "calico":
        canvas.Fill(Ellipse(*H(-12, -40), f.L(11), f.L(10), f.tilt + 0.3).Intersect(faceInner), (232, 142, 58))
        canvas.Fill(Ellipse(*H(14, -41), f.L(9), f.L(8), f.tilt - 0.3).Intersect(faceInner), (60, 52, 52))
    if pattern in ("stripes", "tabby"):
        canvas.Fill(Ellipse(*H(0, -25), f.L(10), f.L(6.5), f.tilt).Intersect(faceInner), Mix(fur, light, 0.8),
                    softness=f.L(1.5))

    # Eyes: big and glossy, with two highlights each.
    for k in (-1, 1):
        ex, ey = H(k * 8.2, -33)
        canvas.Fill(Ellipse(ex, ey, f.L(4.4), f.L(5.2), f.tilt), (30, 26, 30))
        canvas.Fill(Ellipse(ex, ey, f.L(3.6), f.L(4.4), f.tilt), look["eye"])
        canvas.Fill(Ellipse(*H(k * 8.2, -32.4), f.L(2.3), f.L(3.3), f.tilt), (22, 18, 24))
        canvas.Fill(Circle(*H(k * 8.2 + 1.4, -35), f.L(1.45)), (255, 255, 255))
        canvas.Fill(Circle(*H(k * 8.2 - 1.2, -31), f.L(0.7)), (255, 255, 255), opacity=0.85)

    # Rosy cheeks.
    for k in (-1, 1):
        canvas.Fill(Ellipse(*H(k * 13.5, -26.5), f.L(3.2), f.L(2), f.tilt), (255, 120, 140), opacity=0.35,
                    softness=f.L(1.5))

    # Nose and mouth.
    nose = Polygon([H(-2.3, -28), H(2.3, -28), H(0, -25.6)], rounding=f.L(0.7))
    canvas.Fill(nose, NOSE)
    mouthColour = Shade(dark, 0.7) if pattern != "tuxedo" else (90, 80, 85)
    canvas.Line([H(0, -25.2), H(0, -23.6)], f.L(0.75), mouthColour)
    for k in (-1, 1):
        canvas.Line(Bezier(H(0, -23.6), H(k * 0.6, -22.2), H(k * 2.6, -22.2), H(k * 3.2, -23.8), 8),
                    f.L(0.75), mouthColour)

    # Whiskers.
    whiskerColour = (250, 250, 250) if pattern == "tuxedo" else (120, 100, 95)
    for k in (-1, 1):
        for start, end in ((-27.5, -30), (-26.3, -26.3), (-25.1, -22.5)):
            canvas.Line(Bezier(H(k * 10, start), H(k * 16, start + (end - start) * 0.3),
                               H(k * 22, end), H(k * 27, end + (end - start) * 0.2), 8),
                        f.L(0.5), whiskerColour, 0.9)


def Donate():
    width, height = 350, 135
    canvas = Canvas(width, height)

    # A warm wall with a soft gradient and a few faint polka dots.
    canvas.Fill(RoundedRect(0, 0, width, height), VerticalGradient((255, 244, 214), (255, 214, 222), 0, 104))
    for i in range(18):
        x = 12 + (i * 53) % 330
        y = 10 + (i * 37) % 88
        canvas.Fill(Circle(x, y, 3 + i % 3), (255, 255, 255), opacity=0.45)

    # Party bunting across the wall above the kittens.
    string = Bezier((-4, 3), (60, 22), (150, 22), (212, -1), 40)
    canvas.Line(string, 0.9, (150, 110, 120))
    flagColours = [(255, 140, 150), (255, 206, 92), (130, 200, 240), (184, 150, 230), (140, 214, 160)]
    for i in range(9):
        ax, ay = string[2 + i * 4]
        bx, by = string[4 + i * 4]
        tip = ((ax + bx) / 2.0, (ay + by) / 2.0 + 11)
        flag = Polygon([(ax, ay), (bx, by), tip], rounding=0.6)
        canvas.Fill(flag.Moved(0.8, 1.2), (160, 90, 110), opacity=0.25, softness=1.0)
        canvas.Fill(flag, flagColours[i % len(flagColours)])

    # Floor, and the cushion the kittens sit on.
    canvas.Fill(RoundedRect(0, 108, width, height), VerticalGradient((224, 178, 138), (196, 146, 106), 108, 135))
    canvas.Line([(0, 108.5), (width, 108.5)], 1.0, (176, 124, 90), 0.6)
    cushion = RoundedRect(3, 103, 214, 129, 11)
    canvas.Fill(cushion.Moved(0, 2.5), (150, 70, 96), opacity=0.3, softness=3)
    canvas.Fill(cushion.Grow(0.7), (186, 72, 112))
    canvas.Fill(cushion.Grow(-0.7), VerticalGradient((250, 150, 186), (214, 92, 138), 103, 129))
    canvas.Fill(RoundedRect(12, 105.5, 205, 110, 2.2), (255, 210, 228), opacity=0.55, softness=1.5)
    stitch = RoundedRect(7, 107, 210, 125, 8).Outline(0.8)
    for i in range(56):
        # A dashed seam around the cushion.
        x = 10 + i * 3.6
        canvas.Fill(stitch.Intersect(RoundedRect(x, 100, x + 2, 132)), (255, 214, 232), opacity=0.8)

    # The kittens, a little different in size; the last one looks up at the bubble.
    places = [(31, 113, 1.06, -0.08), (81, 113, 1.12, 0.06), (132, 113, 1.08, -0.05), (184, 113, 1.14, -0.16)]
    for look, (x, y, size, tilt) in zip(KITTENS, places):
        DrawKitten(canvas, Frame(x, y, size, tilt, pivot=(0, -20)), look)

    # Speech bubble with its tail pointing at the last kitten.
    bubble = RoundedRect(218, 8, 345, 86, 16)
    tail = Polygon([(232, 70), (252, 78), (205, 94)], rounding=1.0)
    balloon = bubble.Union(tail)
    canvas.Fill(balloon.Moved(2.5, 3), (120, 60, 90), opacity=0.3, softness=3)
    canvas.Fill(balloon.Grow(1.1), (84, 66, 90))
    canvas.Fill(balloon.Grow(-1.1), VerticalGradient((255, 255, 255), (246, 244, 252), 8, 86))

    cell = 3.0
    ink = (206, 40, 92)
    top = 20.0
    for text, y in (("PLEASE", top), ("DONATE!", top + 7 * cell + 7)):
        left = 281.5 - TextWidth(text, cell) / 2.0
        glyphs = Text(text, left, y, cell)
        canvas.Fill(glyphs.Moved(0.9, 1.0), (120, 20, 60), opacity=0.35)
        canvas.Fill(glyphs, VerticalGradient((236, 64, 110), ink, y, y + 7 * cell))

    # A few little hearts around the bubble.
    for x, y, size, colour in ((332, 100, 11, (240, 80, 120)), (314, 114, 7, (250, 130, 160)),
                               (227, 104, 6, (250, 130, 160)), (210, 14, 8, (240, 90, 130))):
        canvas.Fill(Heart(x, y, size).Grow(0.6), (255, 255, 255), opacity=0.8)
        canvas.Fill(Heart(x, y, size), colour)
    return EncodePng(width, height, 3, canvas.Bytes(3))


# ---------------------------------------------------------------------------
# door.png and door_disabled.png: an open door showing a sunny landscape


def Door():
    """The glyph, drawn at eight times the size and reduced with a box filter."""
    factor = 8
    canvas = Canvas(24 * factor, 24 * factor, scale=factor)
    frameColour = (120, 72, 34)
    frameEdge = (70, 40, 18)
    opening = RoundedRect(9.5, 3.5, 21.5, 22.5)

    # Door frame.
    outerFrame = RoundedRect(8, 2, 23, 23.6, 0.6)
    canvas.Fill(outerFrame, frameEdge)
    canvas.Fill(outerFrame.Grow(-0.6), frameColour)

    # The landscape seen through the doorway.
    canvas.Fill(opening, VerticalGradient((84, 160, 240), (196, 230, 255), 3.5, 17))
    canvas.Fill(Circle(18.2, 7.2, 3.2).Intersect(opening), (255, 240, 150), opacity=0.6)
    canvas.Fill(Circle(18.2, 7.2, 2.1).Intersect(opening), (255, 214, 40))
    canvas.Fill(Ellipse(12.5, 7.5, 2.2, 0.9).Union(Ellipse(14, 6.8, 1.6, 1.0)).Intersect(opening), (255, 255, 255))
    farHill = Circle(20.5, 26.5, 10.5).Intersect(opening)
    canvas.Fill(farHill, (128, 200, 86))
    nearHill = Circle(10.5, 30.5, 13.5).Intersect(opening)
    canvas.Fill(nearHill, (64, 160, 58))
    canvas.Fill(Stroke([(15.2, 22.6), (15.6, 20), (14.6, 18.2)], 1.1, 0.5).Intersect(opening), (232, 210, 150))

    # Threshold.
    canvas.Fill(RoundedRect(8, 22.4, 23, 23.6), frameEdge)

    # The door leaf, swung open towards the viewer on the left-hand hinges: its
    # free edge is nearer, so it looks taller and the leaf narrower.
    leaf = Polygon([(9.5, 3.5), (2.2, 0.8), (2.2, 23.4), (9.5, 22.5)])
    canvas.Fill(leaf.Grow(0.35), frameEdge)
    canvas.Fill(leaf.Grow(-0.35), lambda x, y: Mix((150, 92, 44), (196, 128, 66), (x - 2.2) / 7.3))
    for top, bottom in ((3.6, 11.2), (13.2, 21.2)):
        panel = Polygon([(8.3, top + 0.6), (3.6, top - 0.9), (3.6, bottom + 0.3), (8.3, bottom - 0.2)])
        canvas.Fill(panel.Outline(0.55), (112, 64, 28))
    canvas.Fill(Circle(4.5, 12.6, 0.9), (150, 110, 20))
    canvas.Fill(Circle(4.5, 12.6, 0.6), (255, 214, 64))

    glyph = canvas.Reduced(factor)
    return glyph


def Greyed(canvas):
    """The disabled look: grey, lighter and flatter, with the same transparency."""
    out = Canvas(canvas.width, canvas.height, canvas.scale)
    for i, (r, g, b, a) in enumerate(canvas.pixels):
        if a <= 0.0:
            continue
        luma = (0.299 * r + 0.587 * g + 0.114 * b) / a * 255.0
        grey = (110.0 + 0.55 * luma) * a / 255.0
        out.pixels[i] = [grey, grey, grey, a]
    return out


# ---------------------------------------------------------------------------
# The icon: a rounded tile with four letter cells, as on the game board


def DrawIcon(canvas):
    """Draws the icon in a 256-unit square; the canvas scale sets the size."""
    tile = RoundedRect(10, 10, 246, 246, 46)
    canvas.Fill(tile.Moved(0, 5), (0, 0, 0), opacity=0.35, softness=6)
    canvas.Fill(tile, (20, 40, 96))
    canvas.Fill(tile.Grow(-5), VerticalGradient((70, 124, 214), (34, 66, 150), 10, 246))
    canvas.Fill(RoundedRect(24, 18, 232, 120, 36).Intersect(tile.Grow(-8)), (255, 255, 255), opacity=0.12,
                softness=6)

    cells = [((34, 34), "L", False), ((134, 34), "8", False), ((34, 134), "A", True), ((134, 134), "Z", False)]
    for (x, y), letter, selected in cells:
        box = RoundedRect(x, y, x + 88, y + 88, 4)
        canvas.Fill(box.Moved(0, 3), (0, 0, 30), opacity=0.35, softness=3)
        canvas.Fill(box, (0, 0, 0))
        canvas.Fill(box.Grow(-6), (230, 30, 30) if selected else (255, 255, 255))
        cell = 9.0
        width = TextWidth(letter, cell)
        glyphs = Text(letter, x + 44 - width / 2.0, y + 44 - 3.5 * cell, cell)
        canvas.Fill(glyphs, (255, 255, 255) if selected else (0, 0, 0))


# At 16 pixels the reduced drawing blurs the letters into grey blots, so that size is set
# pixel by pixel: the same tile and cells, 6-pixel cells with letters of a 4 x 5 font.
SMALL_FONT = {
    "L": ["1000", "1000", "1000", "1000", "1111"],
    "8": ["0110", "1001", "0110", "1001", "0110"],
    "A": ["0110", "1001", "1111", "1001", "1001"],
    "Z": ["1111", "0001", "0110", "1000", "1111"],
}


def Icon16():
    """The icon drawn for 16 pixels."""
    canvas = Canvas(16, 16)

    def Put(x, y, colour, alpha=1.0):
        canvas.pixels[y * 16 + x] = [colour[0] * alpha, colour[1] * alpha, colour[2] * alpha, 255.0 * alpha]

    for y in range(16):
        for x in range(16):
            fromEdgeX, fromEdgeY = min(x, 15 - x), min(y, 15 - y)
            if fromEdgeX == 0 and fromEdgeY == 0:
                continue  # the rounded corner
            if fromEdgeX == 0 or fromEdgeY == 0:
                Put(x, y, (20, 40, 96), 0.6 if fromEdgeX + fromEdgeY == 1 else 1.0)
            else:
                Put(x, y, Mix((70, 124, 214), (34, 66, 150), (y - 1) / 13.0))
    cells = [((1, 1), "L", False), ((9, 1), "8", False), ((1, 9), "A", True), ((9, 9), "Z", False)]
    for (left, top), letter, selected in cells:
        for y in range(6):
            for x in range(6):
                Put(left + x, top + y, (230, 30, 30) if selected else (255, 255, 255))
        for gy, row in enumerate(SMALL_FONT[letter]):
            for gx, bit in enumerate(row):
                if bit == "1":
                    Put(left + 1 + gx, top + 1 + gy, (255, 255, 255) if selected else (0, 0, 0))
    return canvas


def Icon(size):
    """The icon at `size` pixels: drawn at a multiple of the size, at least 256
    pixels, and reduced with a box filter, so all sizes show the same picture;
    16 pixels has its own drawing."""
    if size == 16:
        return Icon16()
    factor = max(1, -(-256 // size))
    canvas = Canvas(size * factor, size * factor, scale=size * factor / 256.0)
    DrawIcon(canvas)
    return canvas.Reduced(factor) if factor > 1 else canvas


# ---------------------------------------------------------------------------


def Pictures():
    """All pictures as {file name: PNG bytes}."""
    out = {"splash.png": Splash(), "donate.png": Donate()}
    door = Door()
    out["door.png"] = EncodePng(24, 24, 4, door.Bytes(4))
    out["door_disabled.png"] = EncodePng(24, 24, 4, Greyed(door).Bytes(4))
    out["icon.png"] = EncodePng(256, 256, 4, Icon(256).Bytes(4))
    for size in ICON_SIZES:
        out["icon-%d.png" % size] = EncodePng(size, size, 4, Icon(size).Bytes(4))
    return out


def CheckStructure(files):
    """Problems found in the committed pictures' own pixels (empty when all is well)."""
    problems = []
    decoded = {}
    for name, data in files.items():
        try:
            decoded[name] = DecodePng(data)
        except (ValueError, zlib.error, struct.error, TypeError) as error:
            problems.append("%s: %s" % (name, error))
    formats = {"splash.png": (280, 140, 3), "donate.png": (350, 135, 3), "door.png": (24, 24, 4),
               "door_disabled.png": (24, 24, 4), "icon.png": (256, 256, 4)}
    formats.update({"icon-%d.png" % size: (size, size, 4) for size in ICON_SIZES})
    for name, want in formats.items():
        if name in decoded and decoded[name][:3] != want:
            problems.append("%s: %d x %d with %d channels expected" % ((name,) + want))
    for name in [n for n in decoded if n.startswith("icon")]:
        width, height, channels, pixels = decoded[name]
        if channels == 4 and (pixels[3] != 0 or pixels[((height // 2) * width + width // 2) * 4 + 3] != 255):
            problems.append(name + ": the tile must be opaque inside its transparent rounded corners")
    if "splash.png" in decoded:
        width, height, channels, pixels = decoded["splash.png"]
        if (width, height, channels) == (280, 140, 3):
            for y in range(height):
                for x in range(width):
                    ring = min(x, y, width - 1 - x, height - 1 - y)
                    want = {0: 0, 1: 128, 2: 128, 3: 128, 4: 0}.get(ring, 255)
                    if pixels[(y * width + x) * 3:(y * width + x) * 3 + 3] != bytes((want,) * 3):
                        problems.append("splash.png: pixel %d,%d is not %d" % (x, y, want))
                        break
    for name in ("door.png", "door_disabled.png"):
        if name in decoded:
            width, height, channels, pixels = decoded[name]
            if (width, height, channels) != (24, 24, 4):
                continue
            if any(pixels[(y * 24 + x) * 4 + 3] != 0 for x, y in ((0, 0), (23, 0), (0, 23))):
                problems.append(name + ": the corners outside the door must be transparent")
            if any(pixels[(y * 24 + x) * 4 + 3] != 255 for x, y in ((5, 12), (15, 6), (15, 18))):
                problems.append(name + ": the door and the doorway must be opaque")
    if "door_disabled.png" in decoded:
        pixels = decoded["door_disabled.png"][3]
        if any(not (pixels[i] == pixels[i + 1] == pixels[i + 2]) for i in range(0, len(pixels), 4) if pixels[i + 3]):
            problems.append("door_disabled.png: not grey")
    return problems


def main(argv):
    pictures = Pictures()
    if "--check" in argv[1:]:
        stale = []
        committed = {}
        for name, data in pictures.items():
            path = RESOURCES / name
            if not path.exists():
                stale.append(name)
                continue
            committed[name] = path.read_bytes()
            if committed[name] != data:
                # A different zlib may compress the same pixels differently.
                try:
                    same = DecodePng(committed[name]) == DecodePng(data)
                except (ValueError, zlib.error, struct.error, TypeError):
                    same = False
                if not same:
                    stale.append(name)
        problems = CheckStructure(committed)
        if stale:
            print("out of date: " + ", ".join(stale) + " (run tools/gen_pictures.py)")
        for problem in problems:
            print(problem)
        if stale or problems:
            return 1
        print("pictures up to date")
        return 0
    RESOURCES.mkdir(parents=True, exist_ok=True)
    for name, data in pictures.items():
        (RESOURCES / name).write_bytes(data)
        print("wrote", RESOURCES / name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
