#!/usr/bin/env python3
"""Draws the main window's glyphs and logo (our own drawings) and writes them
as BMP and PNG files into the folder given as the only argument.

  folder.bmp  32x16, 16 colours: an open yellow folder, normal and greyed;
              purple background (the bottom-left pixel is the transparent colour)
  coins.bmp   48x24, true colour: gold coins with a green curved arrow, two images
  door.bmp    32x16, true colour: an open blue door, two images
  logo.png    186x83 with alpha: red lettering on a transparent background
"""
import math
import struct
import sys
import zlib

MAGENTA = (255, 0, 255)
PURPLE = (128, 0, 128)


def blank(w, h, colour):
    return [[colour for _ in range(w)] for _ in range(h)]


def grey(img, bg):
    """The disabled image: every drawn pixel in one of two greys."""
    out = []
    for row in img:
        r2 = []
        for p in row:
            if p == bg:
                r2.append(bg)
            else:
                lum = (p[0] * 30 + p[1] * 59 + p[2] * 11) // 100
                r2.append((128, 128, 128) if lum < 170 else (192, 192, 192))
        out.append(r2)
    return out


def side_by_side(a, b):
    return [ra + rb for ra, rb in zip(a, b)]


def fill_rect(img, x0, y0, x1, y1, c):
    for y in range(max(0, y0), min(len(img), y1)):
        for x in range(max(0, x0), min(len(img[0]), x1)):
            img[y][x] = c


def folder():
    img = blank(16, 16, PURPLE)
    dark = (128, 128, 0)
    yellow = (255, 255, 0)
    black = (0, 0, 0)
    # back of the folder with its tab
    fill_rect(img, 1, 3, 6, 5, dark)
    fill_rect(img, 1, 4, 13, 14, dark)
    fill_rect(img, 2, 5, 12, 13, yellow)
    # the open front flap, slanted
    for i, y in enumerate(range(8, 14)):
        fill_rect(img, 3 - i // 3 + 1, y, 16 - i // 2, y + 1, yellow)
        img[y][16 - i // 2 - 1] = black
    fill_rect(img, 2, 13, 14, 14, black)
    for x in range(4, 16):
        img[7][x] = black
    return side_by_side(img, grey(img, PURPLE))


def coins():
    img = blank(24, 24, MAGENTA)
    gold = (230, 180, 30)
    light = (255, 230, 110)
    edge = (140, 90, 0)
    for k in range(4):  # a stack of four coins
        y = 18 - k * 3
        for x in range(3, 17):
            for dy in range(0, 4):
                dx = (x - 10) / 7.0
                if dx * dx <= 1:
                    img[y + dy][x] = edge if dy == 3 or x in (3, 16) else gold
        fill_rect(img, 5, y, 15, y + 1, light)
    green = (0, 160, 0)
    dark = (0, 90, 0)
    for t in range(0, 40):  # a curved arrow over the stack
        a = math.pi * (0.95 - t / 60.0)
        x = int(round(14 + 8 * math.cos(a)))
        y = int(round(10 - 8 * math.sin(a)))
        fill_rect(img, x, y, x + 2, y + 2, green)
    for i in range(5):  # arrow head pointing down at the right
        fill_rect(img, 18 - i, 10 + i, 24 - (4 - i) + i - i, 11 + i, dark)
    return side_by_side(img, grey(img, MAGENTA))


def door():
    img = blank(16, 16, MAGENTA)
    frame = (90, 60, 30)
    blue = (0, 64, 200)
    light = (100, 160, 255)
    fill_rect(img, 2, 1, 12, 15, frame)
    fill_rect(img, 3, 2, 11, 15, (20, 20, 20))  # the dark opening
    for i, x in enumerate(range(6, 12)):  # the door leaf swung open
        fill_rect(img, x, 2 + i // 2, x + 1, 15 - i // 2 + 1, blue)
    fill_rect(img, 7, 8, 8, 9, light)  # knob
    fill_rect(img, 0, 15, 16, 16, MAGENTA)
    return side_by_side(img, grey(img, MAGENTA))


def write_bmp(path, img, bits):
    h, w = len(img), len(img[0])
    if bits == 24:
        stride = (w * 3 + 3) & ~3
        data = b""
        for row in reversed(img):
            line = b"".join(bytes((p[2], p[1], p[0])) for p in row)
            data += line + b"\0" * (stride - len(line))
        palette = b""
    else:  # 4 bits: the 16 colours of the standard palette
        std = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
               (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
               (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

        def index(p):
            return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(std[i], p)))
        stride = ((w + 1) // 2 + 3) & ~3
        data = b""
        for row in reversed(img):
            idx = [index(p) for p in row]
            line = bytes((idx[i] << 4) | (idx[i + 1] if i + 1 < w else 0) for i in range(0, w, 2))
            data += line + b"\0" * (stride - len(line))
        palette = b"".join(bytes((c[2], c[1], c[0], 0)) for c in std)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(data), 2835, 2835,
                         16 if bits == 4 else 0, 0)
    offset = 14 + len(header) + len(palette)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset))
        f.write(header + palette + data)


# A 5x7 pixel alphabet for the letters of the logo.
FONT = {
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
}


def logo():
    w, h = 186, 83
    px = [[(0, 0, 0, 0)] * w for _ in range(h)]

    def text(word, x0, y0, scale):
        for n, ch in enumerate(word):
            for r, line in enumerate(FONT[ch]):
                for c, bit in enumerate(line):
                    if bit == "1":
                        for yy in range(scale):
                            for xx in range(scale):
                                x = x0 + n * 6 * scale + c * scale + xx
                                y = y0 + r * scale + yy
                                if 0 <= x < w and 0 <= y < h:
                                    px[y][x] = (200, 16, 32, 255)

    text("LUMEIRA", 9, 6, 4)  # 7 letters x 24 px
    text("QUENNOR", 51, 50, 2)
    # a soft half-transparent edge under the letters
    for y in range(h):
        for x in range(w):
            if px[y][x][3] == 0 and y > 0 and x > 0 and px[y - 1][x - 1][3] == 255:
                px[y][x] = (120, 0, 16, 96)
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in px)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    out = sys.argv[1]
    write_bmp(out + "/folder.bmp", folder(), 4)
    write_bmp(out + "/coins.bmp", coins(), 24)
    write_bmp(out + "/door.bmp", door(), 24)
    with open(out + "/logo.png", "wb") as f:
        f.write(logo())


if __name__ == "__main__":
    main()
