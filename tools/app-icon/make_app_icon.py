#!/usr/bin/env python3
"""Draws the application icon, a spotted egg with an arrow rising beside it, and writes it into
the hicolor icon theme folders under data/icons: the scalable SVG and PNGs of every fixed size;
and, for the Windows executables' icon resource, windows/evolution-editor.ico holding the sizes
Windows asks for (16 to 256 pixels) as PNG images.

Usage: tools/app-icon/make_app_icon.py [output folder]   (default data/icons)

Needs only Python 3. The drawing is a list of filled polygons on a 256 x 256 canvas; the SVG holds
those polygons and each PNG is the same polygons filled with anti-aliased edges (exact horizontal
coverage, 16 sample rows a pixel). Outlines are a darker copy of a shape grown outwards beneath
it; at small sizes they are grown to stay one pixel wide.
"""
import math
import os
import struct
import sys
import zlib

ICON_NAME = "io.github.evolutioneditor.EvolutionEditor"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
ICO_SIZES = (16, 24, 32, 48, 64, 128, 256)
CANVAS = 256.0
OUTLINE = 8.0  # outline width on the canvas, at 256 pixels

INK = (0x2A, 0x2D, 0x3C)
SHELL = (0xF7, 0xEC, 0xCF)
SHELL_LIGHT = (0xFF, 0xFA, 0xEE)
SPOT = (0x3C, 0x9D, 0x5A)
ARROW = (0xF2, 0x8B, 0x1F)


def egg(cx, cy, rx, ry, grow=0.0, points=160):
    """An egg narrower at the top: an ellipse whose half-width shrinks towards the top."""
    poly = []
    for i in range(points):
        t = 2 * math.pi * i / points
        x = (rx * math.sin(t) * (1 - 0.14 * math.cos(t)))
        y = -ry * math.cos(t)
        poly.append((x, y))
    return [(cx + x, cy + y) for (x, y) in grow_polygon(poly, grow)] if grow else \
        [(cx + x, cy + y) for (x, y) in poly]


def ellipse(cx, cy, rx, ry, points=64):
    return [(cx + rx * math.cos(2 * math.pi * i / points), cy + ry * math.sin(2 * math.pi * i / points))
            for i in range(points)]


def grow_polygon(poly, d):
    """Moves every edge of the polygon outwards by d (mitred corners)."""
    n = len(poly)
    area = sum(poly[i][0] * poly[(i + 1) % n][1] - poly[(i + 1) % n][0] * poly[i][1] for i in range(n))
    side = 1.0 if area > 0 else -1.0  # with y pointing down, a positive area runs clockwise

    def normal(a, b):
        dx, dy = b[0] - a[0], b[1] - a[1]
        length = math.hypot(dx, dy)
        return (side * dy / length, -side * dx / length)

    grown = []
    for i in range(n):
        n1 = normal(poly[i - 1], poly[i])
        n2 = normal(poly[i], poly[(i + 1) % n])
        scale = d / (1 + n1[0] * n2[0] + n1[1] * n2[1])
        grown.append((poly[i][0] + (n1[0] + n2[0]) * scale, poly[i][1] + (n1[1] + n2[1]) * scale))
    return grown


ARROW_SHAPE = [(196, 44), (244, 116), (218, 116), (218, 236), (174, 236), (174, 116), (148, 116)]


def drawing(outline):
    """The icon as (polygon, colour, clip polygon or None) layers, bottom first."""
    shell = egg(110, 142, 78, 100)
    spots = [ellipse(84, 118, 17, 20), ellipse(128, 96, 12, 13), ellipse(142, 176, 20, 18),
             ellipse(78, 196, 13, 12)]
    layers = [(egg(110, 142, 78, 100, outline), INK, None), (shell, SHELL, None),
              (ellipse(84, 76, 20, 14), SHELL_LIGHT, shell)]
    layers += [(spot, SPOT, shell) for spot in spots]
    layers += [(grow_polygon(ARROW_SHAPE, outline), INK, None), (ARROW_SHAPE, ARROW, None)]
    return layers


def coverage(poly, size, rows=16):
    """Per pixel, the share of it that the polygon covers (non-zero winding)."""
    scale = size / CANVAS
    pts = [(x * scale, y * scale) for (x, y) in poly]
    edges = [(pts[i], pts[(i + 1) % len(pts)]) for i in range(len(pts))]
    cov = [[0.0] * size for _ in range(size)]
    weight = 1.0 / rows
    for py in range(size):
        line = [0.0] * (size + 1)
        for r in range(rows):
            y = py + (r + 0.5) / rows
            crossings = []
            for (x1, y1), (x2, y2) in edges:
                if (y1 <= y) != (y2 <= y):
                    crossings.append((x1 + (y - y1) * (x2 - x1) / (y2 - y1), 1 if y2 > y1 else -1))
            crossings.sort()
            winding = 0
            for k, (x, w) in enumerate(crossings):
                if winding != 0:
                    add_span(line, crossings[k - 1][0], x, weight, size)
                winding += w
        row = cov[py]
        for px in range(size):
            row[px] = min(1.0, line[px])
    return cov


def add_span(line, a, b, weight, size):
    """Adds weight x the overlap of [a, b) with each pixel column."""
    a, b = max(a, 0.0), min(b, float(size))
    if b <= a:
        return
    first, last = int(a), min(int(math.ceil(b)) - 1, size - 1)
    for px in range(first, last + 1):
        line[px] += weight * (min(b, px + 1) - max(a, px))


def render(size):
    outline = max(OUTLINE, CANVAS / size)  # never thinner than one pixel
    rgba = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    for poly, colour, clip in drawing(outline):
        cov = coverage(poly, size)
        clip_cov = coverage(clip, size) if clip else None
        for y in range(size):
            for x in range(size):
                a = cov[y][x] * (clip_cov[y][x] if clip_cov else 1.0)
                if a <= 0:
                    continue
                r, g, b, da = rgba[y][x]  # premultiplied
                rgba[y][x] = (colour[0] / 255 * a + r * (1 - a), colour[1] / 255 * a + g * (1 - a),
                              colour[2] / 255 * a + b * (1 - a), a + da * (1 - a))
    return png(size, rgba)


def png(size, rgba):
    raw = bytearray()
    for row in rgba:
        raw.append(0)  # no filter
        for r, g, b, a in row:
            if a <= 0:
                raw += bytes(4)
            else:
                raw += bytes((round(min(1, r / a) * 255), round(min(1, g / a) * 255),
                              round(min(1, b / a) * 255), round(a * 255)))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def svg():
    def path(poly):
        return "M" + " L".join("%.2f %.2f" % p for p in poly) + " Z"

    def hexcolour(c):
        return "#%02x%02x%02x" % c

    clips, shapes = [], []
    for poly, colour, clip in drawing(OUTLINE):
        attrs = ""
        if clip:
            if not clips:
                clips.append('    <clipPath id="shell"><path d="%s"/></clipPath>' % path(clip))
            attrs = ' clip-path="url(#shell)"'
        shapes.append('  <path fill="%s"%s d="%s"/>' % (hexcolour(colour), attrs, path(poly)))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">\n'
            '  <title>Evolution Editor</title>\n  <defs>\n' + "\n".join(clips) + "\n  </defs>\n"
            + "\n".join(shapes) + "\n</svg>\n")


def ico(images):
    """An icon file of PNG entries (Windows Vista and later read them): the header, one directory
    entry a size (a width or height of 256 is written as 0), then the images."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return header + entries + data


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "data",
                                                             "icons")
    folder = os.path.join(out, "hicolor", "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, ICON_NAME + ".svg"), "w", encoding="utf-8") as f:
        f.write(svg())
    pngs = {size: render(size) for size in SIZES}
    for size, image in pngs.items():
        folder = os.path.join(out, "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, ICON_NAME + ".png"), "wb") as f:
            f.write(image)
    folder = os.path.join(out, "windows")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "evolution-editor.ico"), "wb") as f:
        f.write(ico([(size, pngs[size]) for size in ICO_SIZES]))


if __name__ == "__main__":
    main()
