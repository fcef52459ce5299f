#!/usr/bin/env python3
"""Draws the promotion chrome's pictures: one 64x64 icon per catalogue
application and the application menu's entry icons.

Run from anywhere; writes the PNG files beside this script and rewrites
../promo.qrc. Only the standard library is used, so the pictures can be
redrawn on any machine:  python3 make_icons.py
"""
import math
import os
import struct
import zlib

SIZE = 64
SUB = 3  # supersampling per axis, for smooth edges

HERE = os.path.dirname(os.path.abspath(__file__))


# ---- shapes: functions of a point in 0..1 coordinates -----------------------

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, w):
    return lambda x, y: (r - w) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * (bx - ax) / (by - ay):
                    hit = not hit
        return hit
    return inside


def line(ax, ay, bx, by, w):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (w / 2) ** 2
    return inside


def star(cx, cy, r_out, r_in, n=5):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = -math.pi / 2 + i * math.pi / n
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(pts)


# ---- glyphs: lists of (shape, colour) drawn over the background -------------

WHITE = (255, 255, 255, 255)
INK = (40, 44, 52, 255)


def picture_glyph(accent):
    return [(rounded(0.2, 0.26, 0.8, 0.74, 0.04), WHITE),
            (polygon([(0.24, 0.70), (0.42, 0.44), (0.56, 0.62), (0.64, 0.52), (0.76, 0.70)]), accent),
            (circle(0.66, 0.38, 0.06), accent)]


def screen_glyph(accent):
    return [(rounded(0.18, 0.22, 0.82, 0.64, 0.03), WHITE),
            (rect(0.22, 0.26, 0.78, 0.60), accent),
            (rect(0.46, 0.64, 0.54, 0.74), WHITE),
            (rect(0.34, 0.74, 0.66, 0.78), WHITE)]


def book_glyph(accent):
    return [(rounded(0.26, 0.18, 0.74, 0.82, 0.04), WHITE),
            (rect(0.26, 0.18, 0.34, 0.82), accent),
            (rect(0.42, 0.32, 0.66, 0.36), accent),
            (rect(0.42, 0.44, 0.66, 0.48), accent)]


def tuner_glyph(accent):
    return [(ring(0.5, 0.62, 0.32, 0.07), WHITE),
            (rect(0.1, 0.62, 0.9, 0.9), accent),
            (line(0.5, 0.62, 0.64, 0.34, 0.06), WHITE),
            (circle(0.5, 0.62, 0.06), WHITE)]


def fretboard_glyph(accent):
    shapes = [(rounded(0.3, 0.16, 0.7, 0.84, 0.03), WHITE)]
    for i in range(4):
        y = 0.3 + i * 0.16
        shapes.append((rect(0.3, y, 0.7, y + 0.025), accent))
    shapes.append((circle(0.42, 0.38, 0.045), INK))
    shapes.append((circle(0.58, 0.54, 0.045), INK))
    return shapes


def tabs_glyph(accent):
    shapes = []
    for i in range(5):
        y = 0.28 + i * 0.1
        shapes.append((rect(0.16, y, 0.84, y + 0.025), WHITE))
    shapes.append((circle(0.36, 0.43, 0.06), accent))
    shapes.append((circle(0.62, 0.63, 0.06), accent))
    return shapes


def metronome_glyph(accent):
    return [(polygon([(0.5, 0.16), (0.74, 0.84), (0.26, 0.84)]), WHITE),
            (line(0.5, 0.74, 0.66, 0.3, 0.05), accent)]


def drum_glyph(accent):
    return [(rounded(0.24, 0.42, 0.76, 0.78, 0.06), WHITE),
            (circle(0.5, 0.42, 0.26), accent), (ring(0.5, 0.42, 0.26, 0.04), WHITE),
            (line(0.3, 0.14, 0.46, 0.36, 0.04), WHITE), (line(0.7, 0.14, 0.54, 0.36, 0.04), WHITE)]


def ear_glyph(accent):
    return [(ring(0.5, 0.44, 0.24, 0.08), WHITE),
            (rect(0.26, 0.44, 0.5, 0.7), accent),
            (line(0.74, 0.44, 0.5, 0.8, 0.08), WHITE),
            (circle(0.5, 0.46, 0.06), WHITE)]


def clock_glyph(accent):
    return [(circle(0.5, 0.5, 0.32), WHITE), (ring(0.5, 0.5, 0.32, 0.05), accent),
            (line(0.5, 0.5, 0.5, 0.28, 0.05), INK), (line(0.5, 0.5, 0.66, 0.58, 0.05), INK)]


def timer_glyph(accent):
    return [(polygon([(0.28, 0.18), (0.72, 0.18), (0.52, 0.5), (0.72, 0.82), (0.28, 0.82), (0.48, 0.5)]), WHITE),
            (polygon([(0.36, 0.76), (0.64, 0.76), (0.5, 0.6)]), accent)]


def calendar_glyph(accent):
    shapes = [(rounded(0.2, 0.22, 0.8, 0.8, 0.04), WHITE), (rect(0.2, 0.22, 0.8, 0.36), accent)]
    for row in range(3):
        for col in range(4):
            x, y = 0.27 + col * 0.13, 0.44 + row * 0.11
            shapes.append((rect(x, y, x + 0.07, y + 0.06), accent))
    return shapes


def icon_glyph(accent):
    return [(rounded(0.18, 0.18, 0.58, 0.58, 0.08), WHITE),
            (rounded(0.5, 0.5, 0.82, 0.82, 0.06), accent),
            (rounded(0.64, 0.26, 0.8, 0.42, 0.03), WHITE)]


def picker_glyph(accent):
    return [(line(0.28, 0.72, 0.62, 0.38, 0.1), WHITE),
            (circle(0.68, 0.32, 0.1), WHITE), (circle(0.26, 0.74, 0.06), accent)]


def ruler_glyph(accent):
    shapes = [(polygon([(0.14, 0.62), (0.62, 0.14), (0.86, 0.38), (0.38, 0.86)]), WHITE)]
    for i in range(5):
        t = 0.22 + i * 0.1
        shapes.append((line(0.14 + t * 0.98, 0.62 - t * 0.98, 0.2 + t * 0.98, 0.68 - t * 0.98, 0.025), accent))
    return shapes


def page_glyph(accent):
    return [(polygon([(0.26, 0.16), (0.62, 0.16), (0.76, 0.30), (0.76, 0.84), (0.26, 0.84)]), WHITE),
            (rect(0.34, 0.42, 0.68, 0.46), accent), (rect(0.34, 0.54, 0.68, 0.58), accent),
            (rect(0.34, 0.66, 0.58, 0.70), accent)]


def pen_glyph(accent):
    return [(line(0.26, 0.74, 0.72, 0.28, 0.12), WHITE),
            (polygon([(0.2, 0.82), (0.22, 0.68), (0.33, 0.79)]), accent)]


def shrink_glyph(accent):
    return [(rounded(0.16, 0.16, 0.84, 0.84, 0.06), WHITE),
            (rounded(0.34, 0.34, 0.66, 0.66, 0.04), accent),
            (line(0.22, 0.22, 0.36, 0.36, 0.05), accent), (line(0.78, 0.78, 0.64, 0.64, 0.05), accent)]


# Background colours, one family each, so related applications look related.
BLUE, TEAL, GREEN, ORANGE, RED, PURPLE, SLATE, GOLD = (
    (45, 108, 200, 255), (20, 140, 140, 255), (60, 150, 70, 255), (226, 120, 30, 255),
    (200, 60, 60, 255), (120, 70, 170, 255), (80, 96, 120, 255), (200, 160, 30, 255))

CATALOGUE = [
    ("Zintrop", TEAL, shrink_glyph), ("JpegTrim", TEAL, picture_glyph),
    ("ImageResize", TEAL, icon_glyph), ("IconForge", BLUE, icon_glyph),
    ("HuePicker", PURPLE, picker_glyph),
    ("ScreenGrab", SLATE, screen_glyph), ("ScreenRuler", SLATE, ruler_glyph),
    ("PageSaver", SLATE, page_glyph), ("ScreenMarker", SLATE, pen_glyph),
    ("ChordBook", ORANGE, book_glyph), ("TunerPro", GREEN, tuner_glyph),
    ("ChordFinder", RED, fretboard_glyph), ("SongBook", GOLD, book_glyph),
    ("BanjoTabs", GOLD, tabs_glyph), ("GuitarTabs", GOLD, tabs_glyph),
    ("PianoScales", PURPLE, tabs_glyph),
    ("GuitarChordBook", ORANGE, book_glyph), ("BassChordBook", ORANGE, book_glyph),
    ("UkuleleChordBook", ORANGE, book_glyph), ("MandolinChordBook", ORANGE, book_glyph),
    ("BanjoChordBook", ORANGE, book_glyph), ("PianoChordBook", ORANGE, book_glyph),
    ("GuitarTuner", GREEN, tuner_glyph), ("BassTuner", GREEN, tuner_glyph),
    ("UkuleleTuner", GREEN, tuner_glyph), ("ViolinTuner", GREEN, tuner_glyph),
    ("MandolinTuner", GREEN, tuner_glyph), ("BalalaikaTuner", GREEN, tuner_glyph),
    ("GuitarChordFinder", RED, fretboard_glyph), ("BassChordFinder", RED, fretboard_glyph),
    ("UkuleleChordFinder", RED, fretboard_glyph), ("MandolinChordFinder", RED, fretboard_glyph),
    ("BanjoChordFinder", RED, fretboard_glyph), ("BalalaikaChordFinder", RED, fretboard_glyph),
    ("PianoChordFinder", RED, fretboard_glyph),
    ("Metronome", BLUE, metronome_glyph), ("DrumMachine", BLUE, drum_glyph),
    ("EarTrainer", BLUE, ear_glyph), ("ScaleFinder", PURPLE, tabs_glyph),
    ("DeskClock", SLATE, clock_glyph), ("DeskTimer", SLATE, timer_glyph),
    ("DeskCalendar", SLATE, calendar_glyph),
]


def catalogue_icon(colour, glyph):
    # The glyph's accent is the background colour, so it reads as cut out.
    return [(rounded(0.03, 0.03, 0.97, 0.97, 0.18), colour)] + glyph(colour)


def menu_icons():
    star_colour = (240, 180, 20, 255)
    return {
        "star.png": [(star(0.5, 0.53, 0.46, 0.19), star_colour)],
        "Help_hover.png": [(circle(0.5, 0.5, 0.45), BLUE), (ring(0.5, 0.4, 0.16, 0.07), WHITE),
                           (rect(0.2, 0.4, 0.5, 0.6), BLUE), (rect(0.46, 0.5, 0.54, 0.64), WHITE),
                           (circle(0.5, 0.75, 0.05), WHITE)],
        "share_hover.png": [(circle(0.5, 0.5, 0.45), GREEN), (line(0.32, 0.5, 0.68, 0.3, 0.05), WHITE),
                            (line(0.32, 0.5, 0.68, 0.7, 0.05), WHITE), (circle(0.32, 0.5, 0.09), WHITE),
                            (circle(0.68, 0.3, 0.09), WHITE), (circle(0.68, 0.7, 0.09), WHITE)],
        "join_hover.png": [(circle(0.5, 0.5, 0.45), ORANGE), (circle(0.38, 0.4, 0.1), WHITE),
                           (circle(0.64, 0.4, 0.1), WHITE), (rounded(0.22, 0.54, 0.54, 0.74, 0.08), WHITE),
                           (rounded(0.48, 0.54, 0.8, 0.74, 0.08), WHITE)],
        "moreappsicon.png": [(rounded(0.08 + c * 0.3, 0.08 + r * 0.3, 0.32 + c * 0.3, 0.32 + r * 0.3, 0.05),
                              (BLUE, TEAL, ORANGE)[(r + c) % 3]) for r in range(3) for c in range(3)],
        "feedback.png": [(rounded(0.08, 0.14, 0.92, 0.72, 0.1), PURPLE),
                         (polygon([(0.26, 0.7), (0.46, 0.7), (0.24, 0.9)]), PURPLE),
                         (circle(0.3, 0.43, 0.06), WHITE), (circle(0.5, 0.43, 0.06), WHITE),
                         (circle(0.7, 0.43, 0.06), WHITE)],
        "webpage.png": [(circle(0.5, 0.5, 0.44), SLATE), (ring(0.5, 0.5, 0.44, 0.05), WHITE),
                        (rect(0.08, 0.48, 0.92, 0.52), WHITE), (rect(0.48, 0.08, 0.52, 0.92), WHITE),
                        (ring(0.5, 0.5, 0.22, 0.04), WHITE)],
    }


# ---- rendering and PNG output ----------------------------------------------

def render(layers, width=None, height=None, sub=None):
    """The picture as PNG scanlines of RGBA (each behind its filter byte):
    SIZE x SIZE unless told, sampled sub x sub times a pixel (default SUB).
    Shapes take 0..1 coordinates of the width and the height; where several
    hold a point, the last one wins."""
    width = width or SIZE
    height = height or SIZE
    sub = sub or SUB
    pixels = bytearray()
    for py in range(height):
        pixels.append(0)  # PNG filter type: none
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(sub):
                y = (py + (sy + 0.5) / sub) / height
                for sx in range(sub):
                    x = (px + (sx + 0.5) / sub) / width
                    colour = None
                    for inside, c in layers:
                        if inside(x, y):
                            colour = c
                    if colour:
                        a = colour[3] / 255.0
                        for i in range(3):
                            acc[i] += colour[i] * a
                        acc[3] += a
            alpha = acc[3] / (sub * sub)
            if alpha > 0:
                rgb = [int(round(acc[i] / acc[3])) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            pixels.extend(rgb + [int(round(alpha * 255))])
    return bytes(pixels)


def write_png(path, raw, width=None, height=None):
    """Writes scanlines from render() as a PNG of width x height (default SIZE)."""
    width = width or SIZE
    height = height or SIZE

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def write_qrc(path, entries):
    """A resource file listing (alias, file) pairs, files relative to it."""
    lines = ["<!DOCTYPE RCC>", '<RCC version="1.0">', "<qresource>"]
    lines += ['    <file alias="%s">%s</file>' % (alias, f) for alias, f in entries]
    lines += ["</qresource>", "</RCC>", ""]
    with open(path, "w") as f:
        f.write("\n".join(lines))


def main():
    files = []
    for name, colour, glyph in CATALOGUE:
        file_name = name + "64x64.png"
        write_png(os.path.join(HERE, file_name), render(catalogue_icon(colour, glyph)))
        files.append(file_name)
    for file_name, layers in menu_icons().items():
        write_png(os.path.join(HERE, file_name), render(layers))
        files.append(file_name)
    write_qrc(os.path.join(HERE, "..", "promo.qrc"), [(f, "promo/" + f) for f in files])


if __name__ == "__main__":
    main()
