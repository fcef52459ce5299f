#!/usr/bin/env python3
"""Draws the note editor's pictures: the tool cursors (their pure blue parts
take the drawing colour when the cursor is made), the line-width and dash
icons of the thickness menu, the glass overlay of the drag preview, and the
logo of the virtual-resolution dialog (in ../screen).

Run from anywhere; writes the PNG files beside this script and in ../screen,
and rewrites ../notes.qrc and ../vresolution.qrc. Only the standard library and
the shapes, renderer and writers of ../promo/make_icons.py are used:
python3 make_pictures.py
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "promo"))
from make_icons import circle, line, polygon, rect, ring, render, rounded, write_png, write_qrc  # noqa: E402

SUB = 4
BLUE = (0, 0, 255, 255)          # recoloured to the drawing colour
INK = (30, 30, 30, 255)
WHITE = (255, 255, 255, 255)
PINK = (236, 120, 150, 255)
GREY = (150, 150, 150, 255)


def save(path, size, layers):
    write_png(path, render(layers, size, size, SUB), size, size)


# ---- cursors: 32 x 32, the hot spot in the centre ---------------------------

def crosshair():
    # A small white-edged cross, so the spot shows on dark and light pictures.
    return [(rect(0.47, 0.30, 0.53, 0.70), WHITE), (rect(0.30, 0.47, 0.70, 0.53), WHITE),
            (rect(0.485, 0.32, 0.515, 0.68), INK), (rect(0.32, 0.485, 0.68, 0.515), INK)]


def corner(shapes):
    """Shapes drawn in the lower right quarter, in its own 0..1 coordinates."""
    def place(inside):
        return lambda x, y: inside((x - 0.56) / 0.42, (y - 0.56) / 0.42)
    return [(place(s), c) for s, c in shapes]


def pen_cursor(width):
    # The tip at the hot spot, the body up to the right.
    return [(line(0.56, 0.44, 0.92, 0.08, width + 0.08), INK),
            (line(0.58, 0.42, 0.90, 0.10, width), BLUE),
            (polygon([(0.5, 0.5), (0.52, 0.38), (0.62, 0.48)]), INK)]


CURSORS = {
    "Pen_cur.png": pen_cursor(0.1),
    "Highlighter_cur.png": pen_cursor(0.22),
    "Eraser_cur.png": [(polygon([(0.5, 0.5), (0.72, 0.28), (0.96, 0.52), (0.74, 0.74)]), INK),
                       (polygon([(0.54, 0.5), (0.72, 0.32), (0.92, 0.52), (0.74, 0.70)]), PINK)],
    "Blur_cur.png": crosshair() + corner([(circle(0.5, 0.5, 0.48), GREY), (circle(0.5, 0.5, 0.34), (190, 190, 190, 255)),
                                          (circle(0.5, 0.5, 0.18), (225, 225, 225, 255))]),
    "Rect_cur.png": crosshair() + corner([(rect(0.02, 0.1, 0.98, 0.9), BLUE), (rect(0.18, 0.26, 0.82, 0.74), (0, 0, 0, 0))]),
    "FilledRect_cur.png": crosshair() + corner([(rect(0.02, 0.1, 0.98, 0.9), INK), (rect(0.1, 0.18, 0.9, 0.82), BLUE)]),
    "Oval_cur.png": crosshair() + corner([(ring(0.5, 0.5, 0.48, 0.16), BLUE)]),
    "Line_cur.png": crosshair() + corner([(line(0.08, 0.92, 0.92, 0.08, 0.16), BLUE)]),
    "Arrow_cur.png": crosshair() + corner([(line(0.1, 0.9, 0.86, 0.14, 0.14), BLUE),
                                           (polygon([(0.98, 0.02), (0.5, 0.12), (0.88, 0.5)]), BLUE)]),
    "Text_cur.png": crosshair() + corner([(rect(0.06, 0.04, 0.94, 0.22), BLUE), (rect(0.4, 0.04, 0.6, 0.96), BLUE)]),
}


# ---- thickness menu: 16 x 16 ------------------------------------------------

def width_icon(pixels):
    h = pixels / 16.0
    return [(rect(0.0, 0.5 - h / 2, 1.0, 0.5 + h / 2), INK)]


ICONS = {"%dpx.png" % n: width_icon(n) for n in (1, 2, 3, 4, 5, 10, 15)}
ICONS["dash.png"] = [(rect(x, 0.44, x + 0.19, 0.56), INK) for x in (0.0, 0.27, 0.54, 0.81)]


# ---- the glass over the drag preview: 64 x 64, stretched --------------------

def gloss(x, y):
    return y < 0.45 - 0.12 * x


STEKLO = [(gloss, (255, 255, 255, 70)),
          (lambda x, y: x < 0.03 or x > 0.97 or y < 0.03 or y > 0.97, (255, 255, 255, 110))]


# ---- the virtual-resolution dialog's logo: 64 x 64 --------------------------

VRLOGO = [(rounded(0.04, 0.12, 0.96, 0.74, 0.06), (80, 96, 120, 255)),
          (rect(0.1, 0.18, 0.9, 0.68), (45, 108, 200, 255)),
          (rect(0.44, 0.74, 0.56, 0.84), (80, 96, 120, 255)), (rect(0.3, 0.84, 0.7, 0.9), (80, 96, 120, 255)),
          (line(0.22, 0.43, 0.78, 0.43, 0.06), WHITE),
          (polygon([(0.16, 0.43), (0.3, 0.33), (0.3, 0.53)]), WHITE),
          (polygon([(0.84, 0.43), (0.7, 0.33), (0.7, 0.53)]), WHITE)]


def main():
    entries = []
    for size, table in ((32, CURSORS), (16, ICONS), (64, {"steklo.png": STEKLO})):
        for name, layers in table.items():
            save(os.path.join(HERE, name), size, layers)
            entries.append((name, "notes/" + name))
    write_qrc(os.path.join(HERE, "..", "notes.qrc"), entries)
    screen = os.path.join(HERE, "..", "screen")
    save(os.path.join(screen, "vrlogo.png"), 64, VRLOGO)
    write_qrc(os.path.join(HERE, "..", "vresolution.qrc"), [("pix/vrlogo.png", "screen/vrlogo.png")])


if __name__ == "__main__":
    main()
