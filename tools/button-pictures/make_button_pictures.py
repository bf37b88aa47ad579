#!/usr/bin/env python3
"""Draws the editor's four 32 x 32 button pictures (open folder and floppy disk, each with a
hover variant) and writes them as PNG files with a one-bit mask (alpha 0 or 255).

Usage: tools/button-pictures/make_button_pictures.py [output folder]   (default src/editor/buttons)

Needs only Python 3. Shapes are polygons filled where a pixel's centre lies inside them; each
shape gets a one-pixel outline on its own border. No drawn colour equals the buttons' mask colour
(192, 192, 192), which would turn transparent.
"""
import os
import struct
import sys
import zlib

SIZE = 32
MASK = (192, 192, 192)


def inside(poly, x, y):
    """Even-odd test of the point (x, y) against the polygon."""
    hit = False
    n = len(poly)
    for i in range(n):
        x1, y1 = poly[i]
        x2, y2 = poly[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            cross = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < cross:
                hit = not hit
    return hit


class Canvas:
    def __init__(self):
        self.px = [[None] * SIZE for _ in range(SIZE)]

    def shape(self, poly, fill, outline=None, shade=None):
        """Fills the polygon; shade(x, y) may return a colour instead of fill for a pixel."""
        cells = {(x, y) for y in range(SIZE) for x in range(SIZE) if inside(poly, x + 0.5, y + 0.5)}
        for (x, y) in cells:
            colour = shade(x, y) if shade else None
            self.px[y][x] = colour or fill
        if outline:
            for (x, y) in cells:
                if any((x + dx, y + dy) not in cells for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                    self.px[y][x] = outline

    def rect(self, left, top, right, bottom, colour):
        """Pixels [left, right) x [top, bottom)."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.px[y][x] = colour

    def png(self):
        raw = bytearray()
        for row in self.px:
            raw.append(0)  # no filter
            for p in row:
                if p is None:
                    raw += bytes((0, 0, 0, 0))
                else:
                    assert tuple(p) != MASK, "a drawn pixel in the mask colour would be transparent"
                    raw += bytes((p[0], p[1], p[2], 255))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
                + chunk(b"IEND", b""))


def lighter(c, amount):
    return tuple(min(255, v + amount) for v in c)


def open_folder(hover):
    """An open yellow folder with a green arrow leaving it; the hover variant is brighter and its
    arrow has moved one pixel further out."""
    c = Canvas()
    lift = 1 if hover else 0
    back = (236, 176, 36) if not hover else (248, 196, 60)
    front = (255, 216, 64) if not hover else (255, 232, 110)
    edge = (120, 76, 0)
    paper = (252, 252, 246)
    c.shape([(2, 7), (10, 7), (12, 9), (25, 9), (25, 27), (2, 27)], back, edge)
    c.shape([(5, 11), (22, 11), (22, 20), (5, 20)], paper, (150, 150, 140))
    c.shape([(8, 14), (31, 14), (25.5, 28), (2, 28)], front, edge,
            shade=lambda x, y: lighter(front, 60) if y == 15 else None)
    green = (40, 168, 40) if not hover else (60, 208, 60)
    dark_green = (0, 96, 0)
    shine = lambda x, y: lighter(green, 90) if x - y == 8 - 2 * lift else None
    dx, dy = lift, -lift
    shaft = [(10 + dx, 17 + dy), (13 + dx, 20 + dy), (23 + dx, 10 + dy), (20 + dx, 7 + dy)]
    head = [(15 + dx, 3 + dy), (29 + dx, 1.5 + dy), (27.5 + dx, 15 + dy)]
    c.shape(shaft, green, dark_green, shade=shine)
    c.shape(head, green, dark_green, shade=shine)
    return c


def floppy_disk(hover):
    """A blue floppy disk with its metal shutter and label; the hover variant is lighter and its
    label lines are coloured."""
    c = Canvas()
    body = (36, 76, 196) if not hover else (64, 116, 236)
    edge = (8, 20, 92)
    c.shape([(2, 2), (26, 2), (30, 6), (30, 30), (2, 30)], body, edge,
            shade=lambda x, y: lighter(body, 50) if x == 3 or y == 3 else None)
    c.rect(9, 2, 24, 12, (212, 216, 226))      # shutter
    c.rect(9, 2, 10, 12, edge)
    c.rect(23, 2, 24, 12, edge)
    c.rect(9, 11, 24, 12, edge)
    c.rect(18, 4, 21, 10, (28, 44, 110))       # opening in the shutter
    c.rect(6, 16, 26, 30, (250, 250, 250))     # label
    c.rect(6, 16, 26, 17, edge)
    c.rect(6, 16, 7, 30, edge)
    c.rect(25, 16, 26, 30, edge)
    line = (168, 180, 214) if not hover else (220, 60, 60)
    for y in (20, 23, 26):
        c.rect(8, y, 24, y + 1, line)
    return c


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "src",
                                                                "editor", "buttons")
    pictures = {
        "OpenFolder.png": open_folder(False),
        "OpenFolderOver.png": open_folder(True),
        "SaveDisk.png": floppy_disk(False),
        "SaveDiskOver.png": floppy_disk(True),
    }
    os.makedirs(out, exist_ok=True)
    for name, canvas in pictures.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(canvas.png())
        print(os.path.join(out, name))


if __name__ == "__main__":
    main()
