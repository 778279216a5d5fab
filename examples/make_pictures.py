#!/usr/bin/env python3
"""Draws the two wizard pictures of the example product as 24-bit BMP files.

vqwizard.bmp (164 x 314) fills the left panel of the welcome and finish pages; vqheader.bmp
(55 x 55) sits in the header of the other pages. Run from anywhere; writes beside this script.
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


def wizard(x, y):
    t = y / 313
    background = (int(30 + 60 * t), int(70 + 90 * t), int(150 + 80 * t))
    return notepad(x, y, 42, 90, 80, 104, background)


def header(x, y):
    return notepad(x, y, 9, 5, 37, 45, (255, 255, 255))


here = os.path.dirname(os.path.abspath(__file__))
write_bmp(os.path.join(here, "vqwizard.bmp"), 164, 314, wizard)
write_bmp(os.path.join(here, "vqheader.bmp"), 55, 55, header)
