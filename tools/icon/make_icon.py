#!/usr/bin/env python3
"""Draw the app icon: a black push-pin on a transparent square.

The glyph is solid black so the same file works as a menu-bar template
image, where only alpha matters. Standard library only, so it runs anywhere.

    python3 tools/icon/make_icon.py [out.png] [size]
"""
import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_OUT = os.path.join(ROOT, "resources", "AppIcon.png")

# Pin drawn upright in a 1024-unit box centred on 0, needle pointing down,
# then tilted. Parts are chunky on purpose: it must still read at 17 px.
TILT = math.radians(45)
CENTRE = (-58.0, 57.0)  # shifts the tilted pin so its bounds sit mid-canvas
SS = 4  # samples per axis on edge pixels


def rounded_box(px, py, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    qx = abs(px - cx) - ((x1 - x0) / 2 - r)
    qy = abs(py - cy) - ((y1 - y0) / 2 - r)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def convex(px, py, pts):
    # Signed distance to the furthest edge line: exact inside, an
    # under-estimate near outside corners, which only costs extra samples.
    d = -math.inf
    for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
        ex, ey = bx - ax, by - ay
        d = max(d, ((px - ax) * ey - (py - ay) * ex) / math.hypot(ex, ey))
    return d


# Clockwise on screen (y grows down), so the outward normal is on the left.
BODY = [(-95, -330), (95, -330), (120, -90), (-120, -90)]
NEEDLE = [(-26, -40), (26, -40), (5, 400), (-5, 400)]


def pin(px, py):
    return min(
        rounded_box(px, py, -175, -420, 175, -320, 45),   # cap
        convex(px, py, BODY),                             # shank
        rounded_box(px, py, -230, -110, 230, -30, 38),    # flange
        convex(px, py, NEEDLE),
    )


def render(size):
    scale = 1024.0 / size
    cos_t, sin_t = math.cos(TILT), math.sin(TILT)
    edge = 0.75 * scale  # just over half a pixel diagonal, in glyph units

    def dist(x, y):
        # canvas pixel -> glyph space: undo the centring, then the tilt
        gx, gy = x * scale - 512 - CENTRE[0], y * scale - 512 - CENTRE[1]
        return pin(gx * cos_t + gy * sin_t, -gx * sin_t + gy * cos_t)

    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            d = dist(x + 0.5, y + 0.5)
            if d <= -edge:
                a = 255
            elif d >= edge:
                a = 0
            else:
                hits = sum(
                    dist(x + (i + 0.5) / SS, y + (j + 0.5) / SS) < 0
                    for i in range(SS) for j in range(SS))
                a = round(255 * hits / (SS * SS))
            row += bytes((0, 0, 0, a))
        rows.append(bytes(row))
    return rows


def write_png(path, rows):
    h, w = len(rows), len(rows[0]) // 4

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + r for r in rows)  # filter 0 on every row
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", ihdr))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 1024
    write_png(out, render(size))
    print(out)


if __name__ == "__main__":
    main()
