#!/usr/bin/env python3
"""Draws the installer's icon: a blue arrow going down into an open orange box.

    make-icon.py OUTPUT.ico

The icon holds 16, 32 and 48 pixel images as 16-colour bitmaps with a transparency
mask, and a 256 pixel image as a PNG. It is drawn from the shapes below with the
Python standard library only, so the same script always writes the same bytes; the
result is committed as src/app/orvel_update.ico.
"""
import struct
import sys
import zlib

# Colours (red, green, blue).
ARROW = (0x2B, 0x7C, 0xE0)
ARROW_EDGE = (0x0E, 0x3B, 0x7A)
BOX = (0xF0, 0x9A, 0x2E)
BOX_EDGE = (0x84, 0x4A, 0x0C)
BOX_INSIDE = (0x5C, 0x33, 0x08)

# Shapes in a square of side 1 (x to the right, y downwards), drawn in this order,
# each a union of convex polygons with a fill colour and an edge colour (None: no
# edge). The arrow's tip passes behind the box's front, so it goes into the box.
SHAPES = [
    ([[(0.18, 0.47), (0.82, 0.47), (0.93, 0.60), (0.07, 0.60)]], BOX_INSIDE, BOX_EDGE),
    ([[(0.40, 0.03), (0.60, 0.03), (0.60, 0.40), (0.40, 0.40)],
      [(0.23, 0.36), (0.77, 0.36), (0.50, 0.66)]], ARROW, ARROW_EDGE),
    ([[(0.07, 0.60), (0.93, 0.60), (0.93, 0.95), (0.07, 0.95)]], BOX, BOX_EDGE),
]


def inside_by(polygon, x, y):
    """How far (x, y) lies inside a convex polygon given clockwise on screen:
    the distance to its nearest edge, negative outside."""
    nearest = None
    for i, (x0, y0) in enumerate(polygon):
        x1, y1 = polygon[(i + 1) % len(polygon)]
        dx, dy = x1 - x0, y1 - y0
        length = (dx * dx + dy * dy) ** 0.5
        distance = ((x - x0) * dy - (y - y0) * dx) / length * -1
        nearest = distance if nearest is None else min(nearest, distance)
    return nearest


def colour_at(x, y, edge):
    """The colour of the drawing at (x, y), or None where it is transparent; `edge`
    is the width of the edges in the square's units. Also how far (x, y) is from
    the nearest place where the colour changes, at least."""
    colour = None
    margin = float('inf')
    for polygons, fill, edge_colour in SHAPES:
        depth = max(inside_by(p, x, y) for p in polygons)
        margin = min(margin, abs(depth), abs(depth - edge))
        if depth < 0:
            continue
        colour = edge_colour if edge_colour is not None and depth < edge else fill
    return colour, margin


def edge_width(size):
    return max(1, round(size / 24)) / size


# At 16 pixels the shapes are drawn pixel by pixel: sampled, the arrow's head and
# the box's rim would run into each other.
SMALL_KEY = {'.': None, 'a': ARROW, 'A': ARROW_EDGE, 'b': BOX, 'B': BOX_EDGE, 'i': BOX_INSIDE}
SMALL = [
    '......AAAA......',
    '......AaaA......',
    '......AaaA......',
    '......AaaA......',
    '......AaaA......',
    '...AAAAaaAAAA...',
    '...AaaaaaaaaA...',
    '....AaaaaaaA....',
    '..BBBAaaaaABBB..',
    '.BiiiiAaaAiiiiB.',
    'BBBBBBBBBBBBBBBB',
    'BbbbbbbbbbbbbbbB',
    'BbbbbbbbbbbbbbbB',
    'BbbbbbbbbbbbbbbB',
    'BbbbbbbbbbbbbbbB',
    'BBBBBBBBBBBBBBBB',
]


def draw_flat(size):
    """One colour (or None) per pixel, sampled at the pixel's centre, rows from the top."""
    if size == len(SMALL):
        return [[SMALL_KEY[key] for key in line] for line in SMALL]
    edge = edge_width(size)
    return [[colour_at((col + 0.5) / size, (row + 0.5) / size, edge)[0] for col in range(size)]
            for row in range(size)]


def draw_smooth(size, samples=3):
    """Red, green, blue, alpha per pixel, from samples x samples points per pixel
    where the pixel holds more than one colour."""
    edge = edge_width(size)
    half_diagonal = 0.71 / size
    rows = []
    for row in range(size):
        line = []
        for col in range(size):
            colour, margin = colour_at((col + 0.5) / size, (row + 0.5) / size, edge)
            if margin > half_diagonal:
                line.append((0, 0, 0, 0) if colour is None else colour + (255,))
                continue
            total = [0, 0, 0]
            covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    colour = colour_at((col + (sx + 0.5) / samples) / size,
                                       (row + (sy + 0.5) / samples) / size, edge)[0]
                    if colour is not None:
                        covered += 1
                        for k in range(3):
                            total[k] += colour[k]
            if covered:
                line.append(tuple(round(t / covered) for t in total) + (round(255 * covered / samples ** 2),))
            else:
                line.append((0, 0, 0, 0))
        rows.append(line)
    return rows


PALETTE = [(0, 0, 0), ARROW, ARROW_EDGE, BOX, BOX_EDGE, BOX_INSIDE]


def bitmap_image(size):
    """A 16-colour icon image: header, palette, colour rows and mask rows, bottom up."""
    pixels = draw_flat(size)
    palette = PALETTE + [(0, 0, 0)] * (16 - len(PALETTE))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    colours = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    colour_stride = (size * 4 + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    colour_rows = b''
    mask_rows = b''
    for line in reversed(pixels):
        indices = [0 if c is None else PALETTE.index(c) for c in line]
        packed = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        colour_rows += packed.ljust(colour_stride, b'\0')
        bits = 0
        mask = bytearray()
        for i, c in enumerate(line):
            bits = (bits << 1) | (c is None)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        mask_rows += bytes(mask).ljust(mask_stride, b'\0')
    return header + colours + colour_rows + mask_rows


def png_image(size):
    """A 256 pixel image as a PNG: a palette of the colours the smoothing gives, with
    their transparency, which keeps the file small."""
    rows = draw_smooth(size)
    # Opaque colours last: the transparency chunk may then stop before them.
    palette = sorted({pixel for line in rows for pixel in line}, key=lambda pixel: (pixel[3] == 255, pixel))
    if len(palette) > 256:
        sys.exit('make-icon.py: the smoothed image has more than 256 colours')
    index = {pixel: i for i, pixel in enumerate(palette)}
    alphas = bytes(pixel[3] for pixel in palette if pixel[3] < 255)
    raw = b''.join(b'\0' + bytes(index[pixel] for pixel in line) for line in rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 3, 0, 0, 0)) +
            chunk(b'PLTE', bytes(v for pixel in palette for v in pixel[:3])) +
            chunk(b'tRNS', alphas) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def icon_file(images):
    """An .ico file of (size, bytes, bits per pixel, colours) images."""
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b''
    for size, image, bits, colours in images:
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bits, len(image), offset)
        offset += len(image)
        data += image
    return directory + data


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make-icon.py OUTPUT.ico')
    images = [(size, bitmap_image(size), 4, 16) for size in (16, 32, 48)]
    images.append((256, png_image(256), 32, 0))
    with open(sys.argv[1], 'wb') as out:
        out.write(icon_file(images))


if __name__ == '__main__':
    main()
