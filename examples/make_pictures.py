#!/usr/bin/env python3
"""Draws the two wizard pictures of the example product as 24-bit BMP files.

Both are drawn at the size the wizard shows them, so nothing is stretched: vqwizard.bmp
(500 x 314) fills the whole language, welcome and finish pages, vqheader.bmp (498 x 55) the
header band of the other pages. The texts and check boxes of those pages sit on the picture, so
the artwork stays where none of them goes: the left 164 pixels of the full page (the texts
start at 178) and the right 55 pixels of the band (the titles end at 432); the rest is white.
Run from anywhere; writes beside this script.
"""
import os
import struct


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b) with y = 0 at the top."""
    row_size = (width * 3 + 3) & ~3
    image = bytearray()
    for y in range(height - 1, -1, -1):  # BMP rows run bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        image += row
    header_size = 14 + 40
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", header_size + len(image), 0, 0, header_size))
        out.write(struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image),
                              2835, 2835, 0, 0))
        out.write(image)


def notepad(x, y, left, top, w, h, background):
    """A sheet of paper with ruled lines and a folded corner, drawn into a box."""
    if not (left <= x < left + w and top <= y < top + h):
        return background
    dx, dy = x - left, y - top
    fold = w // 4
    if dx > w - fold and dy < fold - (w - dx):
        return background
    if dx == 0 or dy == 0 or dx == w - 1 or dy == h - 1 or dx + (fold - dy) == w:
        return (40, 60, 110)
    if dy > h // 5 and dy % max(3, h // 9) == 0 and w // 8 < dx < w - w // 8:
        return (120, 150, 210)
    return (255, 255, 250)


WIZARD_ART_WIDTH = 164   # the page texts start at x = 178
HEADER_ART_LEFT = 443    # the page title and subtitle end at x = 432
WHITE = (255, 255, 255)


def wizard(x, y):
    if x >= WIZARD_ART_WIDTH:
        return WHITE
    t = y / 313
    background = (int(30 + 60 * t), int(70 + 90 * t), int(150 + 80 * t))
    return notepad(x, y, 42, 90, 80, 104, background)


def header(x, y):
    return notepad(x, y, HEADER_ART_LEFT + 9, 5, 37, 45, WHITE)


here = os.path.dirname(os.path.abspath(__file__))
write_bmp(os.path.join(here, "vqwizard.bmp"), 500, 314, wizard)
write_bmp(os.path.join(here, "vqheader.bmp"), 498, 55, header)
