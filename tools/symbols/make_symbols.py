#!/usr/bin/env python3
"""Draw the menu symbols used where the desktop's icon theme has none.

Black shapes on transparent squares, 32 px (16 points drawn at twice the
density): the program fills them with the colour of the text around them, so
only alpha matters. Standard library only, as tools/icon/make_icon.py.

    python3 tools/symbols/make_symbols.py [out-dir]
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "tools", "icon"))
import make_icon  # noqa: E402  the pin itself, and the PNG writer

SIZE = 32
SS = 4  # samples per axis


def disk(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def ring(px, py, cx, cy, r, width):
    return abs(math.hypot(px - cx, py - cy) - r) - width / 2


def capsule(px, py, ax, ay, bx, by, r):
    ex, ey = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * ex + (py - ay) * ey) / (ex * ex + ey * ey)))
    return math.hypot(px - ax - t * ex, py - ay - t * ey) - r


def pin(px, py):
    # The app icon's pin, from its 1024-unit box, fitted to the 32-unit square.
    scale = 1024.0 / SIZE
    cos_t, sin_t = math.cos(make_icon.TILT), math.sin(make_icon.TILT)
    gx = px * scale - 512 - make_icon.CENTRE[0]
    gy = py * scale - 512 - make_icon.CENTRE[1]
    return make_icon.pin(gx * cos_t + gy * sin_t, -gx * sin_t + gy * cos_t) / scale


def pin_slash(px, py):
    slash = capsule(px, py, 5, 5, 27, 27, 1.6)
    gap = capsule(px, py, 5, 5, 27, 27, 3.6)
    return min(max(pin(px, py), -gap), slash)


def accessibility(px, py):
    figure = min(
        disk(px, py, 16, 9, 2.6),                   # head
        capsule(px, py, 9, 13.5, 23, 13.5, 1.4),    # arms
        capsule(px, py, 16, 13.5, 16, 19, 1.6),     # body
        capsule(px, py, 16, 19, 12.5, 25, 1.4),     # legs
        capsule(px, py, 16, 19, 19.5, 25, 1.4),
    )
    return min(ring(px, py, 16, 16, 14, 2.2), figure)


def record_circle(px, py):
    return min(ring(px, py, 16, 16, 13.5, 2.4), disk(px, py, 16, 16, 7))


def gearshape(px, py):
    angle = math.atan2(py - 16, px - 16)
    teeth = 8
    # The rim swells into rounded teeth as the angle passes each tooth's centre.
    phase = abs(((angle * teeth / (2 * math.pi)) % 1.0) - 0.5) * 2  # 1 at a tooth
    rim = 10.5 + 3.5 * max(0.0, min(1.0, (phase - 0.35) * 3))
    body = math.hypot(px - 16, py - 16) - rim
    return max(body, -disk(px, py, 16, 16, 4.5))


def power(px, py):
    arc = ring(px, py, 16, 17, 11, 2.6)
    # Open the ring at the top, where the stroke passes through it.
    opening = capsule(px, py, 16, 2, 16, 12, 5)
    return min(max(arc, -opening), capsule(px, py, 16, 3.5, 16, 15, 1.4))


SYMBOLS = {
    "pin": pin,
    "pin-slash": pin_slash,
    "accessibility": accessibility,
    "record-circle": record_circle,
    "gearshape": gearshape,
    "power": power,
}


def render(shape):
    rows = []
    for y in range(SIZE):
        row = bytearray()
        for x in range(SIZE):
            hits = sum(
                shape(x + (i + 0.5) / SS, y + (j + 0.5) / SS) < 0
                for i in range(SS) for j in range(SS))
            row += bytes((0, 0, 0, round(255 * hits / (SS * SS))))
        rows.append(bytes(row))
    return rows


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "resources", "Symbols")
    os.makedirs(out, exist_ok=True)
    for name, shape in SYMBOLS.items():
        path = os.path.join(out, name + ".png")
        make_icon.write_png(path, render(shape))
        print(path)


if __name__ == "__main__":
    main()
