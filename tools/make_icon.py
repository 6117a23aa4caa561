#!/usr/bin/env python3
"""Draws the program icon, a 3 x 3 mosaic of tiles, and writes it as a Windows .ico file holding
16, 32 and 48 pixel images at 4, 8 and 32 bits per pixel.

Usage: tools/make_icon.py [output]   (default: src/app/res/tessel.ico)
"""
import os
import struct
import sys

# The 16 colours of the standard 4-bit palette; the 8-bit palette starts with them too, so every
# colour of the drawing is exact at each depth.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
       (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

NAVY, BLUE, YELLOW, BLACK = (0, 0, 128), (0, 0, 255), (255, 255, 0), (0, 0, 0)
TILES = [[NAVY, BLUE, NAVY],
         [BLUE, YELLOW, BLUE],
         [NAVY, BLUE, NAVY]]


def palette8():
    colours = list(VGA)
    # A 6 x 6 x 6 colour cube fills most of the rest; unused entries stay black.
    for r in range(6):
        for g in range(6):
            for b in range(6):
                colours.append((r * 51, g * 51, b * 51))
    colours += [(0, 0, 0)] * (256 - len(colours))
    return colours


def draw(size):
    """Rows of (r, g, b, a), top row first."""
    margin = gap = size // 16
    tile = (size - 2 * margin - 2 * gap) // 3
    shade = max(1, size // 24)  # a darker lower-right edge gives each tile some depth
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for row in range(3):
        for col in range(3):
            left = margin + col * (tile + gap)
            top = margin + row * (tile + gap)
            colour = TILES[row][col]
            for y in range(top, top + tile):
                for x in range(left, left + tile):
                    edge = size >= 32 and (x >= left + tile - shade or y >= top + tile - shade)
                    pixels[y][x] = (BLACK if edge else colour) + (255,)
    return pixels


def dib(pixels, bpp):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0, 0, 0, 0, 0, 0)
    colours = VGA if bpp == 4 else palette8() if bpp == 8 else []
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in colours)
    rows = []
    for row in reversed(pixels):  # bottom-up
        if bpp == 32:
            data = b''.join(struct.pack('<BBBB', b, g, r, a) for (r, g, b, a) in row)
        else:
            indices = [colours.index((r, g, b)) if a else 0 for (r, g, b, a) in row]
            if bpp == 8:
                data = bytes(indices)
            else:
                data = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        rows.append(data + b'\0' * (-len(data) % 4))
    mask = []
    for row in reversed(pixels):
        bits = 0
        data = bytearray()
        for x, (_, _, _, a) in enumerate(row):
            bits = (bits << 1) | (0 if a else 1)
            if x % 8 == 7:
                data.append(bits)
                bits = 0
        mask.append(bytes(data) + b'\0' * (-len(data) % 4))
    return header + table + b''.join(rows) + b''.join(mask)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'src', 'app', 'res', 'tessel.ico')
    images = []
    for bpp in (4, 8, 32):
        for size in (16, 32, 48):
            images.append((size, bpp, dib(draw(size), bpp)))
    offset = 6 + 16 * len(images)
    directory = b''
    for size, bpp, data in images:
        colours = 16 if bpp == 4 else 0
        directory += struct.pack('<BBBBHHII', size, size, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
    with open(out, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)) + directory)
        for _, _, data in images:
            f.write(data)


if __name__ == '__main__':
    main()
