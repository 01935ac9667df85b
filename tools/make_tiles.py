#!/usr/bin/python3
"""Draws the tile groups shipped with the game: assets/tiles/<name>.bmp, and beside
each the same pictures at twice the size for high-density screens, <name>@2x.bmp.

A tile group is one 24-bit bitmap strip of 31 pictures of 42 by 42 pixels, 1302 by
42 in all; picture i starts at x = 42 * i (the @2x strip: 84 by 84, 2604 by 84, at
x = 84 * i):

   0       unused by the board (drawn as an empty board cell)
   1..26   the letter tiles A to Z
   27      the mark of the last tile of the word being formed, drawn over a letter
   28      the mark of the earlier tiles of the word, drawn over a letter
   29      a board cell without a tile
   30      an empty slot of the entry strip

The game treats pure white (255, 255, 255) as transparent. The marks are pure white
except for their frames, so the letter under them shows through; every other
picture avoids pure white (it is lifted to 254) so no pixel of a tile is lost.

Groups: "wood" (maple tiles on a walnut board), "stone" (granite tiles on slate) and
"highcontrast" (for low vision: black letters on white tiles with thick black
outlines, on a grey board). The marks follow the rounded outline of the tiles and
differ in weight as well as colour: the last tile has a thick frame, earlier tiles a
thinner one.

Needs Python 3 with Pillow and the DejaVu fonts, from Debian:
    apt-get install python3-pil fonts-dejavu-core
Run from the repository's top folder:
    python3 tools/make_tiles.py            # writes assets/tiles/*.bmp and *@2x.bmp
    python3 tools/make_tiles.py OUT_DIR    # writes elsewhere
The output is deterministic (fixed random seeds), so rerunning it changes nothing
unless the drawing code changed.
"""
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

TILE = 42
COUNT = 31
SCALE = 4  # pictures are drawn four times larger, then reduced, for smooth edges
SIZES = {"": 1, "@2x": 2}  # file name mark: times the tile size
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
WHITE = (255, 255, 255)

GROUPS = {
    "wood": {
        "board": (58, 40, 26),
        "board_edge": (44, 30, 19),
        "face_top": (236, 205, 152),
        "face_bottom": (205, 160, 98),
        "grain": (180, 132, 74),
        "rim": (120, 80, 40),
        "letter": (48, 24, 8),
        "slot_line": (150, 112, 72),
        "last": (235, 70, 20),
        "earlier": (25, 120, 230),
        "speckle": 0,
        "seed": 11,
    },
    "stone": {
        "board": (46, 52, 60),
        "board_edge": (34, 38, 45),
        "face_top": (214, 216, 214),
        "face_bottom": (168, 172, 174),
        "grain": None,
        "rim": (96, 100, 104),
        "letter": (22, 26, 34),
        "slot_line": (120, 130, 142),
        "last": (240, 110, 0),
        "earlier": (0, 150, 220),
        "speckle": 26,
        "seed": 23,
    },
    "highcontrast": {
        "board": (120, 120, 120),
        "board_edge": (80, 80, 80),
        "face_top": (254, 254, 254),
        "face_bottom": (254, 254, 254),
        "grain": None,
        "rim": (0, 0, 0),
        "rim_width": 4,
        "letter": (0, 0, 0),
        "letter_size": 30,
        "slot_line": (254, 254, 254),
        "last": (0, 90, 255),
        "earlier": (230, 0, 120),
        "mark_widths": (7, 5),
        "speckle": 0,
        "seed": 37,
    },
}


def no_white(image):
    """Lifts pure white to 254 so only the marks carry the transparent colour."""
    pixels = image.load()
    for y in range(image.height):
        for x in range(image.width):
            if pixels[x, y] == WHITE:
                pixels[x, y] = (254, 254, 254)
    return image


def lerp(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def reduce(image, times):
    """The picture drawn at SCALE, made `times` the tile size."""
    return no_white(image.resize((TILE * times, TILE * times), Image.LANCZOS))


def board_cell(style):
    """A board cell without a tile: the board colour with a faint recess."""
    s = TILE * SCALE
    image = Image.new("RGB", (s, s), style["board"])
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle((2 * SCALE, 2 * SCALE, s - 2 * SCALE - 1, s - 2 * SCALE - 1),
                           radius=6 * SCALE, outline=style["board_edge"], width=SCALE)
    return image


def empty_slot(style):
    s = TILE * SCALE
    image = Image.new("RGB", (s, s), style["board"])
    draw = ImageDraw.Draw(image)
    box = (3 * SCALE, 3 * SCALE, s - 3 * SCALE - 1, s - 3 * SCALE - 1)
    draw.rounded_rectangle(box, radius=6 * SCALE, outline=style["slot_line"], width=2 * SCALE)
    return image


def letter_tile(style, letter, rng):
    s = TILE * SCALE
    image = Image.new("RGB", (s, s), style["board"])
    # The face: a vertical gradient on a rounded square.
    face = Image.new("RGB", (s, s))
    face_draw = ImageDraw.Draw(face)
    for y in range(s):
        face_draw.line((0, y, s, y), fill=lerp(style["face_top"], style["face_bottom"], y / (s - 1)))
    if style["grain"]:
        for _ in range(9):
            y0 = rng.randrange(0, s)
            wobble = rng.randrange(-10, 10)
            face_draw.line((0, y0, s, y0 + wobble), fill=style["grain"], width=rng.choice((2, 3, 4)))
        face = face.filter(ImageFilter.GaussianBlur(2))
    if style["speckle"]:
        pixels = face.load()
        for _ in range(s * s // 14):
            x, y = rng.randrange(s), rng.randrange(s)
            d = rng.randrange(-style["speckle"], style["speckle"])
            r, g, b = pixels[x, y]
            pixels[x, y] = (max(0, min(254, r + d)), max(0, min(254, g + d)), max(0, min(254, b + d)))
        face = face.filter(ImageFilter.GaussianBlur(1.2))
    mask = Image.new("L", (s, s), 0)
    box = (2 * SCALE, 2 * SCALE, s - 2 * SCALE - 1, s - 2 * SCALE - 1)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=6 * SCALE, fill=255)
    shadow = Image.new("L", (s, s), 0)
    ImageDraw.Draw(shadow).rounded_rectangle(
        (box[0] + SCALE, box[1] + 2 * SCALE, box[2] + SCALE, box[3] + 2 * SCALE), radius=6 * SCALE, fill=120)
    image.paste((0, 0, 0), (0, 0), shadow.filter(ImageFilter.GaussianBlur(3 * SCALE // 2)))
    image.paste(face, (0, 0), mask)
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle(box, radius=6 * SCALE, outline=style["rim"], width=style.get("rim_width", 1) * SCALE)

    # The letter: large, bold, centred on its own outline.
    font = ImageFont.truetype(FONT, style.get("letter_size", 28) * SCALE)
    left, top, right, bottom = draw.textbbox((0, 0), letter, font=font)
    x = (s - (right - left)) / 2 - left
    y = (s - (bottom - top)) / 2 - top
    draw.text((x, y), letter, font=font, fill=style["letter"])
    return image


def mark(colour, width, times):
    """A frame over a tile, `width` pixels thick at the tile size, following the
    tile's rounded outline; white elsewhere, which the game makes transparent, so
    the letter inside and the board at the corners show through.

    Drawn without smoothing, so no pixel between the frame and the white is a
    near-white that would show as a light fringe.
    """
    side = TILE * times
    image = Image.new("RGB", (side, side), WHITE)
    draw = ImageDraw.Draw(image)
    outer = (times, times, side - times - 1, side - times - 1)
    draw.rounded_rectangle(outer, radius=7 * times, fill=colour)
    w = width * times
    inner = (outer[0] + w, outer[1] + w, outer[2] - w, outer[3] - w)
    draw.rounded_rectangle(inner, radius=max(1, 7 - width) * times, fill=WHITE)
    return image


def make_group(style):
    """The group's strips, keyed by their file name mark ("" and "@2x")."""
    rng = random.Random(style["seed"])
    drawn = [board_cell(style)]
    drawn += [letter_tile(style, chr(ord("A") + i), rng) for i in range(26)]
    strips = {}
    for suffix, times in SIZES.items():
        pictures = [reduce(picture, times) for picture in drawn]
        last_width, earlier_width = style.get("mark_widths", (5, 3))
        pictures.append(mark(style["last"], last_width, times))
        pictures.append(mark(style["earlier"], earlier_width, times))
        pictures.append(reduce(board_cell(style), times))
        pictures.append(reduce(empty_slot(style), times))
        side = TILE * times
        strip = Image.new("RGB", (side * COUNT, side), style["board"])
        for i, picture in enumerate(pictures):
            strip.paste(picture, (i * side, 0))
        strips[suffix] = strip
    return strips


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "assets", "tiles")
    os.makedirs(out, exist_ok=True)
    for name, style in GROUPS.items():
        for suffix, strip in make_group(style).items():
            path = os.path.join(out, name + suffix + ".bmp")
            strip.save(path, "BMP")
            print(path)


if __name__ == "__main__":
    main()
