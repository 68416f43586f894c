#!/usr/bin/env python3
"""Grabs the whole X screen ($DISPLAY) with xwd, saves it as a PNG and says whether the
program's logo is on it: succeeds when enough pixels have the logo's teal (#44BACD) and
the rest of the screen is not blank. Used by scripts/ci-package.sh.

    screen_shows_logo.py OUT.png
"""
import struct
import subprocess
import sys
import zlib

TEAL = (0x44, 0xBA, 0xCD)
MIN_TEAL_PIXELS = 500


def grab():
    """The root window as (width, height, rows of (r, g, b))."""
    data = subprocess.run(["xwd", "-root", "-silent"], check=True, capture_output=True).stdout
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    bits_per_pixel, bytes_per_line, ncolors = fields[11], fields[12], fields[19]
    byte_order = fields[7]
    if bits_per_pixel not in (24, 32):
        raise SystemExit("screen_shows_logo: %d bits per pixel is not handled" % bits_per_pixel)
    step = bits_per_pixel // 8
    pixels = data[header_size + ncolors * 12:]
    rows = []
    for y in range(height):
        line = pixels[y * bytes_per_line:y * bytes_per_line + width * step]
        row = []
        for x in range(width):
            # LSBFirst: blue, green, red (, pad); MSBFirst: (pad,) red, green, blue.
            px = line[step * x:step * x + step]
            row.append((px[2], px[1], px[0]) if byte_order == 0 else tuple(px[-3:]))
        rows.append(row)
    return width, height, rows


def save_png(path, width, height, rows):
    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in rows)
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        out.write(chunk(b"IEND", b""))


def main():
    width, height, rows = grab()
    save_png(sys.argv[1], width, height, rows)
    teal = sum(1 for row in rows for p in row
               if all(abs(p[i] - TEAL[i]) <= 12 for i in range(3)))
    colours = len({p for row in rows[::4] for p in row[::4]})
    print("screen_shows_logo: %d teal pixels, %d colours" % (teal, colours))
    return 0 if teal >= MIN_TEAL_PIXELS and colours >= 16 else 1


if __name__ == "__main__":
    sys.exit(main())
