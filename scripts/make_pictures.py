#!/usr/bin/env python3
"""Draws the button glyphs, the program icon and the hand cursors of Kestrix
and writes them as XPM files under resources/. The XPM files are the sources
the program compiles in; this script is how they were made, kept so that a
picture can be changed and made again: python3 scripts/make_pictures.py

It also draws the icon the desktop shows for the installed program (menu
entry, software centre): the same drive with a fill gauge as vector shapes,
written as an SVG and as antialiased PNGs at the hicolor theme's sizes under
resources/icons/hicolor/.

Glyph strips use magenta (#FF00FF) as the transparent ground: a button takes
each cell's bottom-left pixel as its transparent colour. Cells, left to
right: normal, disabled, down, hot."""
import math
import os
import struct
import zlib

KEY = (255, 0, 255)
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")


def hexrgb(h):
    return ((h >> 16) & 255, (h >> 8) & 255, h & 255)


class Pic:
    def __init__(self, w, h, ground=KEY):
        self.w, self.h = w, h
        self.px = [[ground] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, l, t, r, b, c):  # right and bottom excluded
        for y in range(t, b):
            for x in range(l, r):
                self.set(x, y, c)

    def frame(self, l, t, r, b, c):
        for x in range(l, r):
            self.set(x, t, c)
            self.set(x, b - 1, c)
        for y in range(t, b):
            self.set(l, y, c)
            self.set(r - 1, y, c)

    def disc(self, cx, cy, r, c, inner=-1.0, keep=None):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if inner <= d <= r and (keep is None or keep(x + 0.5 - cx, y + 0.5 - cy)):
                    self.set(x, y, c)

    def poly(self, pts, c):
        """Fills the pixels whose centres lie inside the polygon."""
        n = len(pts)
        for y in range(self.h):
            for x in range(self.w):
                px, py = x + 0.5, y + 0.5
                inside = False
                for i in range(n):
                    x1, y1 = pts[i]
                    x2, y2 = pts[(i + 1) % n]
                    if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
                        inside = not inside
                if inside:
                    self.set(x, y, c)

    def outline(self, body, c):
        """Draws c on ground pixels 4-adjacent to any pixel whose colour is in body."""
        marks = []
        for y in range(self.h):
            for x in range(self.w):
                if self.px[y][x] != KEY:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    xx, yy = x + dx, y + dy
                    if 0 <= xx < self.w and 0 <= yy < self.h and self.px[yy][xx] in body:
                        marks.append((x, y))
                        break
        for x, y in marks:
            self.set(x, y, c)

    def text(self, x, y, s, c, font):
        for ch in s:
            rows = font[ch]
            for dy, row in enumerate(rows):
                for dx, v in enumerate(row):
                    if v == "#":
                        self.set(x + dx, y + dy, c)
            x += len(rows[0]) + 1

    def ascii(self, art, palette, x0=0, y0=0):
        for dy, row in enumerate(art):
            for dx, ch in enumerate(row):
                if ch in palette:
                    self.set(x0 + dx, y0 + dy, palette[ch])


def lighten(c, f):
    return tuple(min(255, int(v + (255 - v) * f)) for v in c)


def darken(c, f):
    return tuple(int(v * (1 - f)) for v in c)


def disabled(p):
    """Greyed out: each colour to a pale grey of its brightness, so the
    symbol stays readable while the picture clearly reads as off."""
    def grey(c):
        luma = int(0.30 * c[0] + 0.59 * c[1] + 0.11 * c[2])
        g = 150 + luma * 90 // 255
        return (g, g, g)
    return mapped(p, grey)


def mapped(p, fn):
    q = Pic(p.w, p.h)
    for y in range(p.h):
        for x in range(p.w):
            c = p.get(x, y)
            q.set(x, y, c if c == KEY else fn(c))
    return q


def strip(cells):
    w = sum(c.w for c in cells)
    s = Pic(w, cells[0].h)
    x0 = 0
    for c in cells:
        for y in range(c.h):
            for x in range(c.w):
                s.set(x0 + x, y, c.get(x, y))
        x0 += c.w
    return s


def four_cells(p, hot_light=0.35):
    return strip([p, disabled(p), p, mapped(p, lambda c: lighten(c, hot_light))])


def write_xpm(pic, path, name, transparent_key=False):
    colours = {}
    for row in pic.px:
        for c in row:
            colours.setdefault(c, None)
    chars = ".#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+@$%&*=-;:>,<'[]{}()!~^/|"
    keys = sorted(colours, key=lambda c: (c != KEY, c))
    if len(keys) > len(chars):
        raise SystemExit(f"{name}: too many colours ({len(keys)})")
    for i, c in enumerate(keys):
        colours[c] = chars[i]
    lines = [f'"{pic.w} {pic.h} {len(keys)} 1",']
    for c in keys:
        spec = "None" if (transparent_key and c == KEY) else "#%02X%02X%02X" % c
        lines.append(f'"{colours[c]} c {spec}",')
    for y, row in enumerate(pic.px):
        end = "," if y < pic.h - 1 else ""
        lines.append('"' + "".join(colours[c] for c in row) + '"' + end)
    with open(path, "w") as f:
        f.write("/* XPM */\n")
        f.write(f"static const char* {name}[] = {{\n")
        f.write("\n".join(lines) + "\n};\n")


# ------------------------------------------------------------------ glyphs

def reload_glyph():
    """A clockwise circular arrow in green."""
    p = Pic(24, 24)
    green, dark, light = hexrgb(0x2EA043), hexrgb(0x145A24), hexrgb(0x8FE39F)
    cx, cy = 12.0, 12.5

    def ring(dx, dy):
        a = math.degrees(math.atan2(-dy, dx)) % 360
        return not (25 <= a <= 95)  # the gap at the upper right

    p.disc(cx, cy, 8.6, green, inner=4.9, keep=ring)
    # the arc runs clockwise from the gap's lower end round to the top, where
    # the head points right, into the gap
    p.poly([(cx - 1.0, cy - 12.0), (cx + 5.0, cy - 6.8), (cx - 1.0, cy - 1.6)], green)
    p.disc(cx, cy, 8.6, light, inner=7.6, keep=lambda dx, dy: ring(dx, dy) and dy < 2 and dx < -1)
    p.outline({green, light}, dark)
    return p


def info_glyph():
    """A blue disc with a white "i"."""
    p = Pic(24, 24)
    blue, rim, shine = hexrgb(0x2F6FD0), hexrgb(0x173C7A), hexrgb(0x7FAEF0)
    p.disc(12, 12, 10.4, rim)
    p.disc(12, 12, 9.4, blue)
    p.disc(10, 9, 5.5, shine, inner=4.6, keep=lambda dx, dy: dx < 0 and dy < 0)
    white = (255, 255, 255)
    p.rect(11, 5, 13, 7, white)  # dot
    p.rect(10, 9, 13, 10, white)  # serif
    p.rect(11, 9, 13, 17, white)  # stem
    p.rect(10, 17, 14, 18, white)  # foot
    return p


def exit_glyph():
    """A red power button: a ring open at the top and a bar through the gap."""
    p = Pic(24, 24)
    red, rim, white = hexrgb(0xD03A2F), hexrgb(0x7A1A14), (255, 255, 255)
    p.disc(12, 12, 10.4, rim)
    p.disc(12, 12, 9.4, red)
    p.disc(12, 12.5, 6.6, white, inner=4.9,
           keep=lambda dx, dy: not (dy < 0 and abs(dx) < 3.2))
    p.rect(11, 4, 13, 12, red)      # clear around the bar
    p.rect(11, 4, 13, 12, white)
    p.set(10, 4, red)
    p.set(13, 4, red)
    return p


def close_glyph():
    """A white cross on a dark red disc, for closing the details."""
    p = Pic(24, 24)
    red, rim, white = hexrgb(0xB8322A), hexrgb(0x6E1510), (255, 255, 255)
    p.disc(12, 12, 10.4, rim)
    p.disc(12, 12, 9.4, red)
    for i in range(-4, 5):
        for w in (-1, 0):
            p.set(12 + i + w, 12 + i, white)
            p.set(11 - i - w, 12 + i, white)
    # round off the cross ends
    return p


def done_glyph():
    """A white tick on a green disc: the drive choices are in place, close
    the dialog. Smaller than the toolbar's glyphs, for a 33 x 23 button."""
    p = Pic(18, 18)
    green, rim, white = hexrgb(0x2EA043), hexrgb(0x145A24), (255, 255, 255)
    p.disc(9, 9, 8.4, rim)
    p.disc(9, 9, 7.4, green)
    # the short stroke down to the right, then the long one up to the right
    for i in range(4):
        for w in (0, 1):
            p.set(4 + i, 8 + i + w, white)
    for i in range(6):
        for w in (0, 1):
            p.set(8 + i, 10 - i + w, white)
    return p


def unit_glyph(lit):
    """A level meter of four rising bars, the first `lit` of them coloured:
    bytes, kilobytes, megabytes, gigabytes."""
    p = Pic(19, 16)
    fills = [hexrgb(0x3A8EE6), hexrgb(0x37B04A), hexrgb(0xE8B21E), hexrgb(0xD9482F)]
    empty = hexrgb(0xE4E7EC)
    outline = hexrgb(0x1F2A44)
    heights = [5, 8, 11, 14]
    for i in range(4):
        l, top = 2 + i * 4, 15 - heights[i]
        fill = fills[i] if i < lit else empty
        p.rect(l, top, l + 3, 15, fill)
        if i < lit:
            p.rect(l, top, l + 3, top + 1, lighten(fill, 0.5))
            p.rect(l + 2, top + 1, l + 3, 15, darken(fill, 0.25))
    p.outline(set(c for row in p.px for c in row if c != KEY), outline)
    p.set(0, 15, KEY)
    return p


FONT5 = {
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
}


def shape_cells(label):
    """A 27 x 18 pill with its unit written on it: up, disabled, down, hot."""
    def pill(top, bottom, edge, ink):
        p = Pic(27, 18)
        # rounded ends: discs at both ends joined by a band
        for y in range(1, 17):
            t = (y - 1) / 15.0
            col = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
            for x in range(27):
                dx = 0 if 8 <= x + 0.5 <= 19 else min(abs(x + 0.5 - 8), abs(x + 0.5 - 19))
                if math.hypot(dx, y + 0.5 - 9) <= 7.9:
                    p.set(x, y, col)
        p.outline(set(c for row in p.px for c in row if c != KEY), edge)
        width = len(label) * 6 - 1
        p.text((27 - width) // 2, 6, label, ink, FONT5)
        p.set(0, 17, KEY)
        return p

    up = pill(hexrgb(0xFFFFFF), hexrgb(0xB9C4D6), hexrgb(0x4A5670), hexrgb(0x1F2A44))
    down = pill(hexrgb(0x2A4E8C), hexrgb(0x5C86C8), hexrgb(0x182C52), (255, 255, 255))
    hot = pill(hexrgb(0xFFFFFF), hexrgb(0xF3D98A), hexrgb(0x8A6A14), hexrgb(0x1F2A44))
    off = pill(hexrgb(0xE8E8E8), hexrgb(0xC8C8C8), hexrgb(0x9A9A9A), hexrgb(0x8A8A8A))
    return strip([up, off, down, hot])


def program_icon():
    """The program's picture: a drive whose front is a fill gauge."""
    p = Pic(30, 30, ground=(0, 0, 0))
    body_top, body_bottom = hexrgb(0xE6E9EE), hexrgb(0x8D95A3)
    for y in range(5, 26):
        t = (y - 5) / 20.0
        col = tuple(int(a + (b - a) * t) for a, b in zip(body_top, body_bottom))
        p.rect(2, y, 28, y + 1, col)
    p.frame(2, 5, 28, 26, hexrgb(0x3B4250))
    for c in ((2, 5), (27, 5), (2, 25), (27, 25)):
        p.set(*c, (0, 0, 0))
    # gauge window
    p.rect(5, 9, 25, 16, hexrgb(0x101418))
    segs = [0x2EC43E, 0x2EC43E, 0x2EC43E, 0x2EC43E, 0x2EC43E, 0x2EC43E, 0xF2D21B, 0xF2D21B, 0xE8452C]
    for i, c in enumerate(segs):
        p.rect(6 + i * 2, 10, 7 + i * 2, 15, hexrgb(c))
    # LED and slots
    p.rect(22, 19, 25, 22, hexrgb(0x2EC43E))
    p.set(22, 19, hexrgb(0xA8F5B0))
    for x in range(5, 18, 3):
        p.rect(x, 20, x + 2, 21, hexrgb(0x4E5666))
    return p


def program_icon_32():
    """The program's picture on a 32 x 32 ground, for the about box and the
    window icons that want that size."""
    p = Pic(32, 32, ground=(0, 0, 0))
    src = program_icon()
    for y in range(src.h):
        for x in range(src.w):
            p.set(x + 1, y + 1, src.get(x, y))
    return p


def tray_icon():
    """The notification-area icon: the program's drive in 16 x 16 and few
    flat colours (a tray icon of 16 colours at most)."""
    p = Pic(16, 16)
    p.rect(1, 3, 15, 13, hexrgb(0xC8CDD6))
    p.frame(1, 3, 15, 13, hexrgb(0x3B4250))
    p.rect(3, 5, 13, 9, hexrgb(0x101418))
    for x, c in ((4, 0x2EC43E), (5, 0x2EC43E), (6, 0x2EC43E), (7, 0x2EC43E), (8, 0xF2D21B), (9, 0xF2D21B),
                 (10, 0xE8452C)):
        p.rect(x, 6, x + 1, 8, hexrgb(c))
    p.rect(11, 10, 13, 12, hexrgb(0x2EC43E))
    for x in (3, 6):
        p.rect(x, 10, x + 2, 11, hexrgb(0x4E5666))
    return p


def about_picture():
    """The about box's picture, 115 x 147: three drives stacked in front of
    an evening sky, their gauges filled to lime, yellow and red, and a
    kestrel hovering above them."""
    w, h = 115, 147
    p = Pic(w, h, ground=(0, 0, 0))
    top, bottom = hexrgb(0x1B2F55), hexrgb(0xF4B66A)
    for y in range(h):
        t = y / (h - 1)
        p.rect(0, y, w, y + 1, tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
    # the kestrel: a pointed body and two swept wings, dark against the sky
    ink = hexrgb(0x2A1A10)
    p.poly([(57, 18), (61, 30), (57, 44), (53, 30)], ink)          # body and tail
    p.poly([(56, 26), (18, 16), (30, 24), (56, 32)], ink)          # left wing
    p.poly([(58, 26), (96, 16), (84, 24), (58, 32)], ink)          # right wing
    p.poly([(54, 42), (60, 42), (62, 50), (52, 50)], ink)          # fanned tail
    # three drives with their fill gauges
    fills = ((0.45, 0x2EC43E), (0.72, 0xF2D21B), (0.94, 0xE8452C))
    for i, (share, colour) in enumerate(fills):
        y0 = 62 + i * 27
        body_top, body_bottom = hexrgb(0xE6E9EE), hexrgb(0x8D95A3)
        for y in range(y0, y0 + 23):
            t = (y - y0) / 22.0
            p.rect(10, y, 105, y + 1, tuple(int(a + (b - a) * t) for a, b in zip(body_top, body_bottom)))
        p.frame(10, y0, 105, y0 + 23, hexrgb(0x3B4250))
        p.rect(15, y0 + 5, 85, y0 + 13, hexrgb(0x101418))
        p.rect(16, y0 + 6, 16 + int(68 * share), y0 + 12, hexrgb(colour))
        p.rect(92, y0 + 7, 99, y0 + 12, hexrgb(colour))
        for x in range(15, 60, 6):
            p.rect(x, y0 + 17, x + 4, y0 + 19, hexrgb(0x4E5666))
    return p


def write_jpeg(pic, path):
    """Writes the picture as a baseline JPEG through ImageMagick."""
    import shutil
    import subprocess
    import tempfile
    tool = shutil.which("convert-im6.q16") or shutil.which("convert")
    if not tool:
        raise SystemExit("ImageMagick's convert is needed for " + path)
    with tempfile.NamedTemporaryFile(suffix=".ppm") as tmp:
        tmp.write(b"P6 %d %d 255\n" % (pic.w, pic.h))
        tmp.write(bytes(v for row in pic.px for c in row for v in c))
        tmp.flush()
        subprocess.run([tool, tmp.name, "-strip", "-quality", "92", "-sampling-factor", "1x1", path], check=True)


# ------------------------------------------------------------------ cursors

HAND_POINT = [
    "......##..........",
    ".....#oo#.........",
    ".....#oo#.........",
    ".....#oo#.........",
    ".....#oo#.........",
    ".....#oo###.......",
    ".....#oo#oo###....",
    ".....#oo#oo#oo##..",
    "###..#oo#oo#oo#o#.",
    "#oo#.#oooooooo#o#.",
    "#ooo##oooooooooo#.",
    ".#oo#ooooooooooo#.",
    "..#oooooooooooooo#",
    "..#oooooooooooooo#",
    "...#ooooooooooooo#",
    "...#oooooooooooo#.",
    "....#ooooooooooo#.",
    "....#oooooooooo#..",
    ".....#ooooooooo#..",
    ".....#ooooooooo#..",
    ".....###########..",
]

SMALL_HAND_POINT = [
    "....#.......",
    "...#o#......",
    "...#o#......",
    "...#o###....",
    "...#o#o###..",
    "##.#ooooo#o#",
    "#o##ooooooo#",
    ".#ooooooooo#",
    "..#oooooooo#",
    "...#oooooo#.",
    "....#ooooo#.",
    "....#######.",
]

GRAB_HAND = [
    ".......##.........",
    "...##.#oo###......",
    "..#oo##oo#oo#.....",
    "..#oo##oo#oo#.##..",
    "...#oo#oo#oo##oo#.",
    "...#oo#oo#oo#oo#..",
    ".##.#oooooooo#oo#.",
    "#oo##ooooooooooo#.",
    "#ooo#oooooooooo#..",
    ".#oooooooooooooo#.",
    "..#ooooooooooooo#.",
    "..#oooooooooooo#..",
    "...#ooooooooooo#..",
    "....#oooooooooo#..",
    ".....#ooooooooo#..",
    ".....##########...",
]

DRAG_HAND = [
    "....##.##.##......",
    "...#oo#oo#oo##....",
    "...#oo#oo#oo#o#...",
    ".##.#ooooooo#o#...",
    "#oo##oooooooooo#..",
    "#ooo#oooooooooo#..",
    ".#oooooooooooooo#.",
    "..#ooooooooooooo#.",
    "...#oooooooooooo#.",
    "....#ooooooooooo#.",
    ".....#ooooooooo#..",
    ".....##########...",
]

ARROW = [
    "#.........",
    "##........",
    "#o#.......",
    "#oo#......",
    "#ooo#.....",
    "#oooo#....",
    "#ooooo#...",
    "#oooooo#..",
    "#oooo####.",
    "#o##o#....",
    "##..#o#...",
    "#...#o#...",
    ".....##...",
]


def cursor(arts):
    p = Pic(32, 32)
    palette = {"#": (0, 0, 0), "o": (255, 255, 255)}
    for art, x0, y0 in arts:
        p.ascii(art, palette, x0, y0)
    return p

# ------------------------------------------------------------------ desktop icon

# The shapes of the desktop icon, painted in order on a 32 x 32 canvas:
# ("rect", left, top, right, bottom, corner radius, fill) where fill is a
# colour or ("vgradient", top colour, bottom colour); ("circle", cx, cy, r,
# fill). Colours as 0xRRGGBB.
BODY = (1.5, 6.0, 30.5, 26.5)


def icon_shapes():
    l, t, r, b = BODY
    shapes = [
        ("rect", l + 0.6, t + 1.2, r + 0.6, b + 1.2, 3.0, 0x000000, 0.28),   # shadow
        ("rect", l, t, r, b, 3.0, 0x3B4250, 1.0),                            # outline
        ("rect", l + 1, t + 1, r - 1, b - 1, 2.0, ("vgradient", 0xF2F4F7, 0x8D95A3), 1.0),
        ("rect", 4.5, 9.5, 27.5, 17.5, 1.2, 0x101418, 1.0),                  # gauge window
    ]
    # The gauge: eight of ten segments lit, green, then yellow, then red.
    colours = [0x2EC43E] * 6 + [0xF2D21B] * 2 + [0xE8452C] * 2
    for i, c in enumerate(colours):
        x = 6.0 + i * 2.1
        shapes.append(("rect", x, 11.0, x + 1.5, 16.0, 0.3, c if i < 8 else 0x3A2420, 1.0))
    for i in range(4):
        x = 5.0 + i * 3.2
        shapes.append(("rect", x, 20.5, x + 2.2, 21.9, 0.5, 0x4E5666, 1.0))    # slots
    shapes.append(("circle", 24.5, 21.2, 2.0, 0x1E7F2A, 1.0))                # LED
    shapes.append(("circle", 24.5, 21.2, 1.5, 0x2EC43E, 1.0))
    shapes.append(("circle", 24.0, 20.7, 0.6, 0xA8F5B0, 1.0))
    return shapes


def inside(shape, x, y):
    if shape[0] == "rect":
        _, l, t, r, b, rad = shape[:6]
        if x < l or x >= r or y < t or y >= b:
            return False
        cx = min(max(x, l + rad), r - rad)
        cy = min(max(y, t + rad), b - rad)
        return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad
    _, cx, cy, rad = shape[:4]
    return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad


def fill_at(shape, y):
    fill = shape[6] if shape[0] == "rect" else shape[4]
    if isinstance(fill, tuple):
        _, top, bottom = fill
        t = min(max((y - shape[2]) / (shape[4] - shape[2]), 0.0), 1.0)
        return tuple(a + (b - a) * t for a, b in zip(hexrgb(top), hexrgb(bottom)))
    return hexrgb(fill)


def render_icon(size, ss=4):
    """RGBA rows of the icon at size x size, ss x ss samples per pixel."""
    shapes = icon_shapes()
    unit = 32.0 / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(ss):
                y = (py + (sy + 0.5) / ss) * unit
                for sx in range(ss):
                    x = (px + (sx + 0.5) / ss) * unit
                    c, a = (0.0, 0.0, 0.0), 0.0
                    for sh in shapes:
                        if inside(sh, x, y):
                            f, op = fill_at(sh, y), sh[-1]
                            c = tuple(ci * (1 - op) + fi * op for ci, fi in zip(c, f))
                            a = a * (1 - op) + op
                    for i in range(3):
                        acc[i] += c[i] * a if a else 0.0
                    acc[3] += a
            n = ss * ss
            alpha = acc[3] / n
            rgb = [round(acc[i] / acc[3]) if acc[3] else 0 for i in range(3)]
            row += bytes(rgb + [round(alpha * 255)])
        rows.append(bytes(row))
    return rows


def write_png(rows, size, path):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + r for r in rows)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def write_svg(path):
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">',
           "<defs>"]
    gradients = []
    body = []
    for sh in icon_shapes():
        fill = sh[6] if sh[0] == "rect" else sh[4]
        if isinstance(fill, tuple):
            gid = "g%d" % len(gradients)
            gradients.append(gid)
            out.append('<linearGradient id="%s" x1="0" y1="%g" x2="0" y2="%g" gradientUnits="userSpaceOnUse">'
                       '<stop offset="0" stop-color="#%06X"/><stop offset="1" stop-color="#%06X"/></linearGradient>'
                       % (gid, sh[2], sh[4], fill[1], fill[2]))
            paint = "url(#%s)" % gid
        else:
            paint = "#%06X" % fill
        opacity = "" if sh[-1] == 1.0 else ' fill-opacity="%g"' % sh[-1]
        if sh[0] == "rect":
            _, l, t, r, b, rad = sh[:6]
            body.append('<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"%s/>'
                        % (l, t, r - l, b - t, rad, paint, opacity))
        else:
            body.append('<circle cx="%g" cy="%g" r="%g" fill="%s"%s/>' % (sh[1], sh[2], sh[3], paint, opacity))
    out.append("</defs>")
    out += body
    out.append("</svg>")
    with open(path, "w") as f:
        f.write("\n".join(out) + "\n")


ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def desktop_icons():
    base = os.path.join(ROOT, "icons", "hicolor")
    for size in ICON_SIZES:
        folder = os.path.join(base, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        write_png(render_icon(size), size, os.path.join(folder, "kestrix.png"))
    folder = os.path.join(base, "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    write_svg(os.path.join(folder, "kestrix.svg"))


def main():
    g = os.path.join(ROOT, "glyphs")
    c = os.path.join(ROOT, "cursors")
    os.makedirs(g, exist_ok=True)
    os.makedirs(c, exist_ok=True)
    write_xpm(four_cells(reload_glyph()), os.path.join(g, "reload.xpm"), "reload")
    write_xpm(four_cells(info_glyph()), os.path.join(g, "sizeinfo.xpm"), "sizeinfo")
    write_xpm(four_cells(exit_glyph()), os.path.join(g, "exit.xpm"), "exit_glyph")
    write_xpm(four_cells(close_glyph()), os.path.join(g, "detclose.xpm"), "detclose")
    write_xpm(four_cells(done_glyph()), os.path.join(g, "dshowclose.xpm"), "dshowclose")
    for n, name in enumerate(["bytes", "kbytes", "mbytes", "gbytes"], start=1):
        write_xpm(four_cells(unit_glyph(n)), os.path.join(g, name + ".xpm"), name)
    for label, name in (("B", "brbytes"), ("KB", "brkb"), ("MB", "brmb")):
        write_xpm(shape_cells(label), os.path.join(g, name + ".xpm"), name)
    write_xpm(program_icon(), os.path.join(g, "kestrix.xpm"), "kestrix")
    write_xpm(program_icon_32(), os.path.join(g, "kestrix32.xpm"), "kestrix32")
    write_xpm(tray_icon(), os.path.join(g, "tray.xpm"), "tray", True)
    write_xpm(strip([done_glyph(), disabled(done_glyph())]), os.path.join(g, "ok.xpm"), "ok")
    about = os.path.join(ROOT, "about")
    os.makedirs(about, exist_ok=True)
    write_jpeg(about_picture(), os.path.join(about, "about.jpg"))
    write_xpm(cursor([(HAND_POINT, 1, 0)]), os.path.join(c, "handpoint.xpm"), "handpoint", True)
    write_xpm(cursor([(SMALL_HAND_POINT, 1, 0)]), os.path.join(c, "smallhandpoint.xpm"), "smallhandpoint", True)
    write_xpm(cursor([(GRAB_HAND, 1, 2)]), os.path.join(c, "grabhand.xpm"), "grabhand", True)
    write_xpm(cursor([(ARROW, 0, 0), (GRAB_HAND, 9, 10)]), os.path.join(c, "grabhandarrow.xpm"), "grabhandarrow", True)
    write_xpm(cursor([(DRAG_HAND, 1, 4)]), os.path.join(c, "draghand.xpm"), "draghand", True)
    desktop_icons()


if __name__ == "__main__":
    main()
