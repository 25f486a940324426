#!/usr/bin/env python3
"""Draws the language modules' pictures (toolbar 128, icons 128/129/131,
cursor 132, bitmap 137) into resources/<Language>/. Run from the project root
after changing a picture; the results are committed."""
import math
import os
import struct
import zlib

LANGS = ["English", "Chinese"]


def png(path, w, h, pixels):
    """pixels: list of rows of (r, g, b, a)."""
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def bmp24(path, w, h, pixels):
    stride = (w * 3 + 3) & ~3
    body = b""
    for row in reversed(pixels):  # bottom-up
        line = b"".join(bytes((b, g, r)) for (r, g, b, _a) in row)
        body += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


def canvas(w, h, fill=(0, 0, 0, 0)):
    return [[fill for _ in range(w)] for _ in range(h)]


def rect(c, x0, y0, x1, y1, col):  # inclusive-exclusive
    for y in range(max(0, y0), min(len(c), y1)):
        for x in range(max(0, x0), min(len(c[0]), x1)):
            c[y][x] = col


def outline(c, x0, y0, x1, y1, col):
    rect(c, x0, y0, x1, y0 + 1, col)
    rect(c, x0, y1 - 1, x1, y1, col)
    rect(c, x0, y0, x0 + 1, y1, col)
    rect(c, x1 - 1, y0, x1, y1, col)


def line(c, x0, y0, x1, y1, col):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        x = round(x0 + (x1 - x0) * i / n)
        y = round(y0 + (y1 - y0) * i / n)
        if 0 <= y < len(c) and 0 <= x < len(c[0]):
            c[y][x] = col


BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
GREY = (128, 128, 128, 255)
SILVER = (192, 192, 192, 255)
NAVY = (0, 0, 128, 255)
BLUE = (0, 0, 255, 255)
RED = (128, 0, 0, 255)
GREEN = (0, 128, 0, 255)
YELLOW = (255, 255, 0, 255)
OLIVE = (128, 128, 0, 255)
TEAL = (0, 128, 128, 255)
FACE = (192, 192, 192, 255)  # the 16-colour button face, used as background


def radio(c, ox, oy, body=NAVY):
    """A small hand-held radio: antenna, body, display, keypad."""
    rect(c, ox + 3, oy, ox + 4, oy + 5, BLACK)
    rect(c, ox + 1, oy + 4, ox + 9, oy + 17, body)
    outline(c, ox + 1, oy + 4, ox + 9, oy + 17, BLACK)
    rect(c, ox + 3, oy + 6, ox + 7, oy + 9, (0, 255, 0, 255))
    for ky in (11, 13, 15):
        for kx in (3, 5, 7):
            c[oy + ky][ox + kx] = SILVER


def toolbar():
    w, h = 126, 19
    c = canvas(w, h, FACE)
    # New: a page with a folded corner.
    x = 0
    rect(c, x + 4, 2, x + 14, 17, WHITE)
    outline(c, x + 4, 2, x + 14, 17, BLACK)
    line(c, x + 10, 2, x + 13, 5, BLACK)
    # Open: a folder.
    x = 18
    rect(c, x + 2, 6, x + 15, 16, YELLOW)
    outline(c, x + 2, 6, x + 15, 16, OLIVE)
    rect(c, x + 3, 4, x + 8, 6, OLIVE)
    # Save: a diskette.
    x = 36
    rect(c, x + 2, 2, x + 16, 17, NAVY)
    rect(c, x + 5, 3, x + 13, 9, WHITE)
    rect(c, x + 6, 12, x + 12, 17, SILVER)
    rect(c, x + 10, 13, x + 11, 16, NAVY)
    # Read: radio with an arrow pointing left (into the computer).
    x = 54
    radio(c, x + 8, 1, NAVY)
    line(c, x + 1, 10, x + 7, 10, RED)
    line(c, x + 1, 10, x + 4, 7, RED)
    line(c, x + 1, 10, x + 4, 13, RED)
    # Write: radio with an arrow pointing right (into the radio).
    x = 72
    radio(c, x + 8, 1, TEAL)
    line(c, x + 1, 10, x + 7, 10, GREEN)
    line(c, x + 7, 10, x + 4, 7, GREEN)
    line(c, x + 7, 10, x + 4, 13, GREEN)
    # Print: a printer.
    x = 90
    rect(c, x + 5, 2, x + 13, 8, WHITE)
    outline(c, x + 5, 2, x + 13, 8, BLACK)
    rect(c, x + 2, 8, x + 16, 14, SILVER)
    outline(c, x + 2, 8, x + 16, 14, BLACK)
    rect(c, x + 5, 13, x + 13, 17, WHITE)
    outline(c, x + 5, 13, x + 13, 17, BLACK)
    c[10][x + 14] = GREEN
    # About: a question mark in a balloon.
    x = 108
    rect(c, x + 3, 2, x + 15, 13, WHITE)
    outline(c, x + 3, 2, x + 15, 13, BLACK)
    line(c, x + 6, 13, x + 4, 16, BLACK)
    for px, py in [(8, 4), (9, 4), (10, 4), (11, 5), (11, 6), (10, 7), (9, 8), (9, 9), (9, 11)]:
        c[py][x + px] = BLUE
    return w, h, c


def big_icon(body):
    c = canvas(32, 32)
    rect(c, 12, 1, 14, 9, BLACK)
    rect(c, 7, 8, 25, 31, body)
    outline(c, 7, 8, 25, 31, BLACK)
    rect(c, 10, 11, 22, 17, (0, 255, 0, 255))
    outline(c, 10, 11, 22, 17, BLACK)
    for ky in (20, 23, 26):
        for kx in (10, 15, 20):
            rect(c, kx, ky, kx + 3, ky + 2, SILVER)
    return c


def close_icon():
    c = canvas(16, 16)
    for i in range(4, 12):
        for d in (0, 1):
            c[i][i + d - 0 if i + d < 16 else i] = BLACK
            c[i][15 - i - d] = BLACK
    return c


def sizing_cursor():
    c = canvas(32, 32)
    # A vertical double bar with arrows left and right (hot spot in the middle).
    rect(c, 15, 6, 16, 26, BLACK)
    rect(c, 17, 6, 18, 26, BLACK)
    for x0, x1, d in ((4, 14, -1), (19, 29, 1)):
        rect(c, x0, 15, x1, 17, BLACK)
    for i in range(5):
        rect(c, 4 + i, 15 - i, 5 + i, 17 + i, BLACK)
        rect(c, 28 - i, 15 - i, 29 - i, 17 + i, BLACK)
    # White halo so the cursor shows on dark ground.
    out = [row[:] for row in c]
    for y in range(32):
        for x in range(32):
            if c[y][x] == BLACK:
                continue
            if any(0 <= y + dy < 32 and 0 <= x + dx < 32 and c[y + dy][x + dx] == BLACK
                   for dy in (-1, 0, 1) for dx in (-1, 0, 1)):
                out[y][x] = WHITE
    return out


def background():
    w, h = 238, 157
    c = canvas(w, h)
    for y in range(h):
        for x in range(w):
            # A soft blue-grey ground with faint concentric "radio waves".
            r = math.hypot(x - 40, y - 120)
            wave = 10 if int(r) % 24 < 2 else 0
            c[y][x] = (150 + wave, 170 + wave, 195 + wave, 255)
    return w, h, c


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    for lang in LANGS:
        base = os.path.join(root, "resources", lang)
        for sub in ("toolbar", "icons", "cursors", "bitmaps"):
            os.makedirs(os.path.join(base, sub), exist_ok=True)
        w, h, c = toolbar()
        png(os.path.join(base, "toolbar", "128.png"), w, h, c)
        png(os.path.join(base, "icons", "128.png"), 32, 32, big_icon(NAVY))
        png(os.path.join(base, "icons", "129.png"), 32, 32, big_icon(TEAL))
        png(os.path.join(base, "icons", "131.png"), 16, 16, close_icon())
        png(os.path.join(base, "cursors", "132.png"), 32, 32, sizing_cursor())
        w, h, c = background()
        bmp24(os.path.join(base, "bitmaps", "137.bmp"), w, h, c)


if __name__ == "__main__":
    main()
