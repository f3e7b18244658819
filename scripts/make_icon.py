#!/usr/bin/env python3
"""Draws the application icon and writes win/app.ico.

The artwork is a camera with an upload arrow, drawn from signed distance
functions so that every edge is anti-aliased and the alpha channel is real.
Each size is rendered from the vector shapes, not scaled from a bigger bitmap.

The images are 32-bit BMP/DIB entries (not PNG) because the resource
compiler and older shells expect that; the AND mask marks the fully
transparent pixels. Standard library only, so anyone can regenerate it:

    python3 scripts/make_icon.py [output.ico]

The output is deterministic; the generated win/app.ico is committed so the
build does not need Python.
"""

import math
import struct
import sys
from pathlib import Path

SIZES = (16, 32, 48, 64)

BODY_TOP = (0x3C, 0x4E, 0x6A)
BODY_BOTTOM = (0x22, 0x2E, 0x42)
LENS_RING = (0xDD, 0xE6, 0xF0)
LENS_GLASS = (0x1F, 0x63, 0xB0)
LENS_DEEP = (0x12, 0x30, 0x5C)
HIGHLIGHT = (0xFF, 0xFF, 0xFF)
FLASH = (0xF2, 0xC1, 0x4E)
ARROW = (0x2F, 0xA8, 0x4F)
OUTLINE = (0xFF, 0xFF, 0xFF)

# Arrow outline as a polygon in unit coordinates (y grows downwards).
ARROW_POLYGON = (
    (0.80, 0.065),
    (0.965, 0.29),
    (0.87, 0.29),
    (0.87, 0.56),
    (0.73, 0.56),
    (0.73, 0.29),
    (0.635, 0.29),
)


def sd_round_rect(px, py, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def sd_circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def sd_polygon(px, py, pts):
    """Signed distance to a simple polygon, negative inside."""
    d = float("inf")
    inside = False
    n = len(pts)
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[i - 1]
        ex, ey = bx - ax, by - ay
        wx, wy = px - ax, py - ay
        t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
        d = min(d, math.hypot(wx - ex * t, wy - ey * t))
        if (ay > py) != (by > py) and px < ax + (bx - ax) * (py - ay) / (by - ay):
            inside = not inside
    return -d if inside else d


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


class Canvas:
    """Premultiplied RGBA floats, composited with the 'over' operator."""

    def __init__(self, size):
        self.size = size
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def fill(self, sdf, colour, opacity=1.0):
        """Paints colour (a tuple, or a function of y) where sdf < 0."""
        n = self.size
        for j in range(n):
            v = (j + 0.5) / n
            c = colour(v) if callable(colour) else colour
            for i in range(n):
                u = (i + 0.5) / n
                # Distance in pixels; half a pixel either side of the edge
                # gives a linear ramp that is a good box-filter estimate.
                cov = min(1.0, max(0.0, 0.5 - sdf(u, v) * n)) * opacity
                if cov <= 0.0:
                    continue
                p = self.px[j * n + i]
                keep = 1.0 - cov
                p[0] = c[0] / 255.0 * cov + p[0] * keep
                p[1] = c[1] / 255.0 * cov + p[1] * keep
                p[2] = c[2] / 255.0 * cov + p[2] * keep
                p[3] = cov + p[3] * keep

    def bgra_rows_bottom_up(self):
        """Straight (not premultiplied) BGRA bytes, last row first."""
        n = self.size
        out = bytearray()
        for j in reversed(range(n)):
            for i in range(n):
                r, g, b, a = self.px[j * n + i]
                a8 = int(round(a * 255.0))
                if a8 == 0:
                    out += b"\0\0\0\0"
                    continue
                out += bytes(min(255, int(round(c / a * 255.0))) for c in (b, g, r))
                out.append(a8)
        return bytes(out)


def draw(size):
    cv = Canvas(size)

    def body(u, v):
        return min(
            sd_round_rect(u, v, 0.04, 0.32, 0.78, 0.92, 0.11),
            sd_round_rect(u, v, 0.16, 0.22, 0.44, 0.40, 0.05),
        )

    cv.fill(body, lambda v: mix(BODY_TOP, BODY_BOTTOM, (v - 0.22) / 0.70))
    cv.fill(lambda u, v: sd_round_rect(u, v, 0.58, 0.40, 0.70, 0.47, 0.02), FLASH)
    cv.fill(lambda u, v: sd_circle(u, v, 0.40, 0.62, 0.215), LENS_RING)
    cv.fill(
        lambda u, v: sd_circle(u, v, 0.40, 0.62, 0.145),
        lambda v: mix(LENS_GLASS, LENS_DEEP, (v - 0.475) / 0.29),
    )
    cv.fill(lambda u, v: sd_circle(u, v, 0.355, 0.575, 0.045), HIGHLIGHT, 0.85)
    # A white rim keeps the arrow readable where it overlaps the body.
    rim = 0.045 if size >= 32 else 0.06
    cv.fill(lambda u, v: sd_polygon(u, v, ARROW_POLYGON) - rim, OUTLINE)
    cv.fill(lambda u, v: sd_polygon(u, v, ARROW_POLYGON), ARROW)
    return cv


def dib_image(size):
    """BITMAPINFOHEADER, colour rows, then the 1-bit AND mask."""
    colour = draw(size).bgra_rows_bottom_up()
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in range(size):
        bits = bytearray(stride)
        for i in range(size):
            alpha = colour[(row * size + i) * 4 + 3]
            if alpha == 0:
                bits[i // 8] |= 0x80 >> (i % 8)
        mask += bits
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # biSize
        size,
        size * 2,  # colour image and mask stacked
        1,  # planes
        32,  # bits per pixel
        0,  # BI_RGB
        len(colour) + len(mask),
        0,
        0,
        0,
        0,
    )
    return header + colour + bytes(mask)


def ico_file(sizes):
    images = [dib_image(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def main(argv):
    if len(argv) > 2:
        sys.stderr.write("usage: make_icon.py [output.ico]\n")
        return 2
    default = Path(__file__).resolve().parent.parent / "win" / "app.ico"
    target = Path(argv[1]) if len(argv) == 2 else default
    data = ico_file(SIZES)
    target.write_bytes(data)
    print(f"wrote {target} ({len(data)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
