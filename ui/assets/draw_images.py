#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Draws the tree's node images and the program icon as small PNG files,
and the program icon as an SVG file too, from which the large icons are made.

The pictures are ours, drawn pixel by pixel in the classic 16-colour palette,
so the program ships no artwork taken from elsewhere. Run it from anywhere;
it rewrites the PNG and SVG files beside itself.
"""
import os
import struct
import zlib

CLEAR = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
DARK_GREY = (64, 64, 64, 255)
GREY = (128, 128, 128, 255)
WHITE = (255, 255, 255, 255)
YELLOW = (255, 255, 0, 255)
DARK_YELLOW = (128, 128, 0, 255)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[CLEAR] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def box(self, left, top, right, bottom, colour):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.put(x, y, colour)

    def framed_box(self, left, top, right, bottom, frame, inside):
        self.box(left, top, right, bottom, frame)
        self.box(left + 1, top + 1, right - 1, bottom - 1, inside)

    def ellipse(self, cx, cy, rx, ry, colour):
        for y in range(self.size):
            for x in range(self.size):
                dx = (x + 0.5 - cx) / rx
                dy = (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self.put(x, y, colour)

    def png(self):
        raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def editor_square():
    """The white square in a dark frame that the three option images share."""
    canvas = Canvas(16)
    canvas.framed_box(1, 1, 14, 14, DARK_GREY, WHITE)
    return canvas


def check():
    canvas = editor_square()
    for x, y in [(4, 7), (5, 8), (6, 9), (7, 8), (8, 7), (9, 6), (10, 5), (11, 4)]:
        canvas.box(x, y, x, y + 2, BLACK)
    return canvas


def combo():
    canvas = editor_square()
    for row in range(4):
        canvas.box(4 + row, 6 + row, 11 - row, 6 + row, BLACK)
    return canvas


def val():
    canvas = editor_square()
    canvas.box(7, 4, 8, 11, BLACK)   # the I-beam's stem
    canvas.box(5, 3, 10, 3, BLACK)   # its serifs
    canvas.box(5, 12, 10, 12, BLACK)
    return canvas


def folder():
    canvas = Canvas(16)
    canvas.framed_box(1, 2, 6, 5, DARK_YELLOW, YELLOW)       # the tab
    canvas.framed_box(1, 4, 14, 13, DARK_YELLOW, YELLOW)     # the body
    canvas.box(2, 5, 13, 5, WHITE)                           # the lit top edge
    return canvas


# The program icon's shapes, as fractions of its size: the oval's half width
# and half height, the disc's radius, and the width of their outlines.
OVAL_RX, OVAL_RY, DISC_R, OUTLINE = 0.5, 0.36, 0.19, 1 / 16


def program_icon_shapes(size, outline):
    """The icon's filled ellipses, back to front: (rx, ry, colour) about the centre."""
    return [
        (size * OVAL_RX, size * OVAL_RY, BLACK),
        (size * OVAL_RX - outline, size * OVAL_RY - outline, WHITE),
        (size * DISC_R, size * DISC_R, DARK_YELLOW),
        (size * DISC_R - outline, size * DISC_R - outline, YELLOW),
    ]


def program_icon(size):
    """A white oval in a black outline with a yellow disc at its centre."""
    canvas = Canvas(size)
    centre = size / 2
    for rx, ry, colour in program_icon_shapes(size, max(1, size // 16)):
        canvas.ellipse(centre, centre, rx, ry, colour)
    return canvas


def program_icon_svg():
    """The same icon as a scalable picture, for desktops that show it large."""
    size = 16
    centre = size / 2
    shapes = "".join(
        f'  <ellipse cx="{centre:g}" cy="{centre:g}" rx="{rx:g}" ry="{ry:g}" fill="#{r:02x}{g:02x}{b:02x}"/>\n'
        for rx, ry, (r, g, b, _) in program_icon_shapes(size, size * OUTLINE))
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 {size} {size}">\n'
            + shapes + "</svg>\n")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    images = {
        "check.png": check(),
        "folder.png": folder(),
        "combo.png": combo(),
        "val.png": val(),
        "cvarden-16.png": program_icon(16),
        "cvarden-32.png": program_icon(32),
    }
    for name, canvas in images.items():
        with open(os.path.join(here, name), "wb") as out:
            out.write(canvas.png())
    with open(os.path.join(here, "cvarden.svg"), "w", encoding="ascii") as out:
        out.write(program_icon_svg())


if __name__ == "__main__":
    main()
