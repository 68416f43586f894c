#!/usr/bin/env python3
"""Draws the program's artwork: the logo layers, the icons and the beta badge.

Everything is computed here from simple shapes (signed distances with a one-pixel soft
edge), so the images can be regenerated at any time with nothing but Python's standard
library:

    python3 resources/tools/make_artwork.py resources/icons
"""
import math
import os
import struct
import sys
import zlib

TEAL = (0x44, 0xBA, 0xCD)
DEEP = (0x0E, 0x2A, 0x33)
WHITE = (0xFF, 0xFF, 0xFF)


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def coverage(distance, soft=1.0):
    """Fraction of a pixel inside a shape, given the signed distance (negative inside)."""
    return clamp01(0.5 - distance / soft)


def blend(dst, colour, alpha):
    """Paints colour with the given alpha over an RGBA float pixel."""
    if alpha <= 0.0:
        return dst
    r, g, b, a = dst
    out_a = alpha + a * (1.0 - alpha)
    if out_a <= 0.0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = lambda c, d: (c * alpha + d * a * (1.0 - alpha)) / out_a
    return (mix(colour[0], r), mix(colour[1], g), mix(colour[2], b), out_a)


def sd_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def sd_ring(x, y, cx, cy, r, half_width):
    return abs(math.hypot(x - cx, y - cy) - r) - half_width


def sd_box(x, y, cx, cy, hw, hh, radius=0.0):
    qx = abs(x - cx) - hw + radius
    qy = abs(y - cy) - hh + radius
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def render(width, height, painter):
    rows = []
    for j in range(height):
        row = bytearray()
        for i in range(width):
            r, g, b, a = painter(i + 0.5, j + 0.5)
            row += bytes((int(r + 0.5), int(g + 0.5), int(b + 0.5), int(a * 255 + 0.5)))
        rows.append(bytes(row))
    return width, height, rows


def png_bytes(image):
    width, height, rows = image
    raw = b"".join(b"\x00" + row for row in rows)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_bytes(images):
    """An .ico file whose entries are 32-bit PNG images (allowed for every size)."""
    blobs = [png_bytes(img) for img in images]
    header = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    entries = b""
    for img, blob in zip(images, blobs):
        w, h = img[0], img[1]
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return header + entries + b"".join(blobs)


# --- the drawings, all in a unit square scaled to the image size -------------------------

def logo_middle_painter(size):
    c = size / 2.0
    def paint(x, y):
        # A dark disc with a soft teal glow towards its centre, on black.
        d = math.hypot(x - c, y - c) / c
        glow = clamp01(1.0 - d) ** 1.6
        base = tuple(DEEP[k] * (1.0 - glow) + TEAL[k] * glow * 0.55 for k in range(3))
        px = (0.0, 0.0, 0.0, 1.0)
        return blend(px, base, coverage(sd_circle(x, y, c, c, 0.46 * size)))
    return paint


def mark_alpha(x, y, size):
    """The instrument's mark: an outer ring, a tilted inner arc and a bar through the middle."""
    c = size / 2.0
    s = size / 1024.0
    ring = coverage(sd_ring(x, y, c, c, 0.43 * size, 14 * s))
    angle = math.atan2(y - c, x - c)
    arc_d = sd_ring(x, y, c, c, 0.31 * size, 22 * s)
    arc = coverage(arc_d) if math.sin(angle - 0.6) > -0.35 else 0.0
    stem = coverage(sd_box(x, y, c, c + 40 * s, 26 * s, 190 * s, 12 * s))
    cap = coverage(sd_box(x, y, c, c - 150 * s, 150 * s, 26 * s, 12 * s))
    return ring, max(arc, 0.0), max(stem, cap)


def logo_circle_painter(size):
    def paint(x, y):
        ring, arc, letter = mark_alpha(x, y, size)
        px = (0.0, 0.0, 0.0, 0.0)
        px = blend(px, TEAL, ring)
        px = blend(px, TEAL, arc * 0.8)
        px = blend(px, WHITE, letter)
        return px
    return paint


def icon_painter(size, tile=True):
    c = size / 2.0
    def paint(x, y):
        px = (0.0, 0.0, 0.0, 0.0)
        if tile:
            tile_d = sd_box(x, y, c, c, 0.47 * size, 0.47 * size, 0.2 * size)
            px = blend(px, DEEP, coverage(tile_d, max(1.0, size / 512.0)))
        ring, arc, letter = mark_alpha(x, y, size)
        soft = 1.0 if size >= 64 else 0.0
        px = blend(px, TEAL, ring if soft else (1.0 if ring > 0.5 else 0.0))
        px = blend(px, TEAL, arc * 0.8)
        px = blend(px, WHITE, letter)
        return px
    return paint


def logo_full_painter(size):
    inner = logo_circle_painter(size)
    middle = logo_middle_painter(size)
    def paint(x, y):
        r, g, b, a = middle(x, y)
        if a == 1.0 and (r, g, b) == (0.0, 0.0, 0.0):
            a = 0.0  # transparent outside the disc
        px = (r, g, b, a)
        fr, fg, fb, fa = inner(x, y)
        return blend(px, (fr, fg, fb), fa)
    return paint


# Block letters for the badge, five rows of three columns each.
GLYPHS = {
    "B": ["110", "101", "110", "101", "110"],
    "E": ["111", "100", "110", "100", "111"],
    "T": ["111", "010", "010", "010", "010"],
    "A": ["010", "101", "111", "101", "101"],
}


def beta_painter(width, height):
    def paint(x, y):
        px = (0.0, 0.0, 0.0, 0.0)
        badge = sd_box(x, y, width / 2, height / 2, width / 2 - 8, height / 2 - 8, 60)
        px = blend(px, TEAL, coverage(badge))
        cell = 30.0
        text_w = 4 * 3 * cell + 3 * cell
        left = (width - text_w) / 2
        top = (height - 5 * cell) / 2
        for n, ch in enumerate("BETA"):
            gx = left + n * 4 * cell
            for row, bits in enumerate(GLYPHS[ch]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        d = sd_box(x, y, gx + (col + 0.5) * cell, top + (row + 0.5) * cell,
                                   cell / 2, cell / 2, 3)
                        if d < 1.0:
                            px = blend(px, WHITE, coverage(d))
        return px
    return paint


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "icons")
    os.makedirs(out, exist_ok=True)
    big = 1024
    jobs = {
        "logo_middle.png": lambda: render(big, big, logo_middle_painter(big)),
        "logo_circle.png": lambda: render(big, big, logo_circle_painter(big)),
        "iosicon.png": lambda: render(big, big, icon_painter(big)),
        "logo_full.png": lambda: render(big, big, logo_full_painter(big)),
        "beta.png": lambda: render(592, 294, beta_painter(592, 294)),
    }
    for name, job in jobs.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(png_bytes(job()))
        print("wrote", name)
    sizes = [16, 24, 32, 48, 256]
    with open(os.path.join(out, "tavlo_windows_icon.ico"), "wb") as f:
        f.write(ico_bytes([render(s, s, icon_painter(s)) for s in sizes]))
    print("wrote tavlo_windows_icon.ico")


if __name__ == "__main__":
    main()
