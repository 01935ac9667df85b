#!/usr/bin/env python3
"""Draws the program's icon: four letter tiles spelling W O R D on the board's green.

Writes assets/icons/wendlewick.svg (the scalable icon) and
assets/icons/wendlewick-<size>.png for the hicolor sizes. Both come from the one list
of shapes below, so the pictures match; the letters are strokes, not text, so no
font is needed. Needs Python 3 with Pillow (Debian: python3-pil).

Usage: python3 tools/make_icon.py [output folder]
"""

import math
import os
import sys

from PIL import Image, ImageDraw

SIZES = [16, 22, 24, 32, 48, 64, 128, 256, 512]
UNIT = 256  # the drawing's own coordinates: a 256 x 256 square

BOARD = (76, 106, 76)  # the main window's green
BOARD_EDGE = (46, 68, 46)
TILE = (243, 221, 168)
TILE_EDGE = (168, 124, 66)
TILE_SHADE = (214, 182, 120)
INK = (74, 46, 20)

# The four tiles: top-left corner in drawing units, and the letter's strokes in a
# 100 x 100 box over the tile. A stroke is ("line", points) or
# ("arc", centre x, centre y, radius x, radius y, start degrees, end degrees),
# angles measured clockwise from the right as on screen.
LETTERS = {
    "W": [("line", [(20, 28), (35, 74), (50, 42), (65, 74), (80, 28)])],
    "O": [("arc", 50, 51, 25, 25, 0, 360)],
    "R": [
        ("line", [(32, 76), (32, 26), (52, 26)]),
        ("arc", 52, 39, 13, 13, -90, 90),
        ("line", [(52, 52), (32, 52)]),
        ("line", [(50, 52), (70, 76)]),
    ],
    "D": [
        ("line", [(44, 76), (32, 76), (32, 26), (44, 26)]),
        ("arc", 44, 51, 25, 25, -90, 90),
    ],
}
TILES = [("W", 28, 28), ("O", 132, 28), ("R", 28, 132), ("D", 132, 132)]
TILE_SIZE = 96
TILE_RADIUS = 14
STROKE = 11  # in the letter box's units


def hex_colour(rgb):
    return "#%02x%02x%02x" % rgb


def letter_scale():
    return TILE_SIZE / 100.0


# ---- SVG -------------------------------------------------------------------


def svg_arc_path(cx, cy, rx, ry, start, end):
    if end - start >= 360:
        return "M %g %g A %g %g 0 1 1 %g %g A %g %g 0 1 1 %g %g" % (
            cx + rx, cy, rx, ry, cx - rx, cy, rx, ry, cx + rx, cy)
    a0, a1 = math.radians(start), math.radians(end)
    x0, y0 = cx + rx * math.cos(a0), cy + ry * math.sin(a0)
    x1, y1 = cx + rx * math.cos(a1), cy + ry * math.sin(a1)
    large = 1 if end - start > 180 else 0
    return "M %g %g A %g %g 0 %d 1 %g %g" % (x0, y0, rx, ry, large, x1, y1)


def make_svg():
    s = letter_scale()
    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
        % (UNIT, UNIT, UNIT, UNIT),
        "  <title>Wendlewick</title>",
        '  <rect x="6" y="6" width="244" height="244" rx="36" fill="%s" stroke="%s" stroke-width="6"/>'
        % (hex_colour(BOARD), hex_colour(BOARD_EDGE)),
    ]
    for letter, x, y in TILES:
        out.append(
            '  <rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="%s"/>'
            % (x, y + 6, TILE_SIZE, TILE_SIZE, TILE_RADIUS, hex_colour(TILE_SHADE)))
        out.append(
            '  <rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="%s" stroke="%s" stroke-width="3"/>'
            % (x, y, TILE_SIZE, TILE_SIZE - 4, TILE_RADIUS, hex_colour(TILE), hex_colour(TILE_EDGE)))
        paths = []
        for stroke in LETTERS[letter]:
            if stroke[0] == "line":
                pts = stroke[1]
                paths.append("M " + " L ".join("%g %g" % (px, py) for px, py in pts))
            else:
                paths.append(svg_arc_path(*stroke[1:]))
        out.append(
            '  <g transform="translate(%d %d) scale(%g)" fill="none" stroke="%s" stroke-width="%d" '
            'stroke-linecap="round" stroke-linejoin="round">' % (x, y, s, hex_colour(INK), STROKE))
        for d in paths:
            out.append('    <path d="%s"/>' % d)
        out.append("  </g>")
    out.append("</svg>")
    return "\n".join(out) + "\n"


# ---- PNG (drawn large, then scaled down for smooth edges) ------------------


def draw_png(size):
    over = max(4, 2048 // size)
    big = size * over
    k = big / UNIT
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)

    def box(x, y, w, h):
        return [x * k, y * k, (x + w) * k, (y + h) * k]

    d.rounded_rectangle(box(6, 6, 244, 244), radius=36 * k, fill=BOARD, outline=BOARD_EDGE, width=round(6 * k))
    s = letter_scale()
    for letter, x, y in TILES:
        d.rounded_rectangle(box(x, y + 6, TILE_SIZE, TILE_SIZE), radius=TILE_RADIUS * k, fill=TILE_SHADE)
        d.rounded_rectangle(box(x, y, TILE_SIZE, TILE_SIZE - 4), radius=TILE_RADIUS * k, fill=TILE,
                            outline=TILE_EDGE, width=max(1, round(3 * k)))
        width = STROKE * s * k
        for stroke in LETTERS[letter]:
            if stroke[0] == "line":
                pts = [((x + px * s) * k, (y + py * s) * k) for px, py in stroke[1]]
            else:
                cx, cy, rx, ry, a0, a1 = stroke[1:]
                steps = max(8, int(abs(a1 - a0) / 4))
                pts = [((x + (cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / steps))) * s) * k,
                        (y + (cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / steps))) * s) * k)
                       for i in range(steps + 1)]
            # A round pen stamped along the path: round caps and joins, as in the SVG.
            r = width / 2
            for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
                steps = max(1, int(math.hypot(x1 - x0, y1 - y0) / (r / 4)))
                for i in range(steps + 1):
                    px, py = x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps
                    d.ellipse([px - r, py - r, px + r, py + r], fill=INK)
    return img.resize((size, size), Image.LANCZOS)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "assets", "icons")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "wendlewick.svg"), "w", encoding="utf-8") as f:
        f.write(make_svg())
    for size in SIZES:
        draw_png(size).save(os.path.join(folder, "wendlewick-%d.png" % size), optimize=True)
    print("wrote wendlewick.svg and %d PNG sizes to %s" % (len(SIZES), folder))


if __name__ == "__main__":
    main()
