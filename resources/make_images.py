#!/usr/bin/env python3
"""Draws the player's icons and cursor and writes them as .ico and .cur files.

play.ico (icon 1004) and stop.ico (icon 1005) are a black triangle pointing
right and a black square on a transparent ground, each at 32 x 32 and at
16 x 16: the 16-pixel image is the one the 20 x 20 buttons show, its glyph kept
inside the 12 x 12 middle that the button's frames leave free. They are stored
as 32-bit colour images: Wine draws a monochrome icon off-centre in a button.
hand.cur (cursor 1003) is a 32 x 32 monochrome pointing hand, white with a black
outline, whose hot spot (6, 0) is the tip of the index finger.

devinette.ico (icon group 1, the program's icon in Explorer) is a white
question mark on a violet tile, antialiased, at 16, 24, 32 and 48 pixels as
32-bit images and at 256 pixels as a PNG; atelier.ico, the Atelier's, is the
same mark on an orange tile.

Run it from anywhere; it rewrites the five files beside itself.
"""

import math
import os
import struct
import zlib

SIZE = 32
SMALL = 16
TRANSPARENT, BLACK, WHITE = " ", "#", "."


def blank(size=SIZE):
    return [[TRANSPARENT] * size for _ in range(size)]


def play_image(size):
    image = blank(size)
    # left, right, top, bottom of the triangle
    left, right, top, bottom = (8, 25, 4, 27) if size == SIZE else (5, 11, 3, 12)
    middle = (top + bottom) / 2
    half_height = (bottom - top) / 2
    for y in range(size):
        for x in range(left, right + 1):
            if abs(y - middle) <= half_height * (right - x) / (right - left):
                image[y][x] = BLACK
    return image


def stop_image(size):
    image = blank(size)
    first, last = (8, 23) if size == SIZE else (4, 11)
    for y in range(first, last + 1):
        for x in range(first, last + 1):
            image[y][x] = BLACK
    return image


HOT_SPOT = (6, 0)


def hand_image():
    inside = set()

    def fill(x0, x1, y0, y1):
        inside.update((x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1))

    # Fingers as columns, each with its two top corners cut off to round it; the
    # index finger stands alone from row 0.
    for x0, x1, top in ((4, 8, 0), (8, 12, 6), (12, 16, 8), (16, 20, 10)):
        inside.update((x, y) for x in range(x0, x1 + 1) for y in range(top, 17)
                      if (x, y) not in ((x0, top), (x1, top)))
    fill(4, 20, 14, 25)  # palm
    fill(5, 19, 26, 26)  # its rounded lower edge
    thumb_rows = [(0, 2), (0, 3), (1, 4), (1, 4), (2, 4), (2, 4), (3, 4), (3, 4)]
    for y, (x0, x1) in enumerate(thumb_rows, 12):
        fill(x0, x1, y, y)  # slanting into the palm
    fill(6, 20, 27, 31)  # cuff

    image = blank()
    for x, y in inside:
        edge = any((x + dx, y + dy) not in inside for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        image[y][x] = BLACK if edge else WHITE
    # The clefts between the fingers and the seam of the cuff.
    for x, top in ((8, 6), (12, 8), (16, 10)):
        for y in range(top, 14):
            image[y][x] = BLACK
    for x in range(6, 21):
        image[27][x] = BLACK
    assert image[HOT_SPOT[1]][HOT_SPOT[0]] == BLACK, "the hot spot must be on the fingertip"
    return image


def mask_rows(image, bit_of):
    """Bottom-up rows of 1-bit pixels, each row padded to 32 bits."""
    data = b""
    for row in reversed(image):
        bits = 0
        for pixel in row:
            bits = (bits << 1) | bit_of(pixel)
        padded = -(-len(row) // 32) * 32
        data += (bits << (padded - len(row))).to_bytes(padded // 8, "big")
    return data


def image_entry(image):
    """A 1-bit DIB with its AND mask, as icon and cursor files hold it."""
    colour = mask_rows(image, lambda p: 1 if p == WHITE else 0)  # palette: 0 black, 1 white
    transparency = mask_rows(image, lambda p: 1 if p == TRANSPARENT else 0)
    # BITMAPINFOHEADER: twice the height, for the two masks; 1 bit; 2 colours.
    size = len(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 1, 0,
                         len(colour) + len(transparency), 0, 0, 2, 0)
    palette = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    return header + palette + colour + transparency


def colour_entry(image):
    """A 32-bit DIB (black or transparent pixels) with its AND mask."""
    size = len(image)
    colour = b"".join(struct.pack("<4B", 0, 0, 0, 0 if p == TRANSPARENT else 255)
                      for row in reversed(image) for p in row)
    transparency = mask_rows(image, lambda p: 1 if p == TRANSPARENT else 0)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0,
                         len(colour) + len(transparency), 0, 0, 0, 0)
    return header + colour + transparency


def write_file(path, kind, images, planes_or_x, bits_or_y, entry=image_entry):
    bodies = [entry(image) for image in images]
    directory = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for image, body in zip(images, bodies):
        colours = 2 if entry is image_entry else 0
        directory += struct.pack("<BBBBHHII", len(image), len(image), colours, 0, planes_or_x, bits_or_y,
                                 len(body), offset)
        offset += len(body)
    with open(path, "wb") as out:
        out.write(directory + b"".join(bodies))


TILE = (0x5A, 0x5F, 0x96)
ATELIER_TILE = (0xC8, 0x5A, 0x1E)  # the Atelier's: the same mark on an orange tile
OVERSAMPLING = 4


def distance_to_segment(x, y, ax, ay, bx, by):
    t = max(0.0, min(1.0, ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
    return math.hypot(x - (ax + t * (bx - ax)), y - (ay + t * (by - ay)))


def logo_colour(x, y, tile=TILE):
    """Red, green, blue, alpha of the logo at (x, y), in a square of side 1."""
    inset, radius = 0.04, 0.18
    cx = min(max(x, inset + radius), 1 - inset - radius)
    cy = min(max(y, inset + radius), 1 - inset - radius)
    if math.hypot(x - cx, y - cy) > radius:
        return (0, 0, 0, 0)
    ring = math.hypot(x - 0.5, y - 0.37)
    angle = math.degrees(math.atan2(0.37 - y, x - 0.5))
    hook = 0.12 <= ring <= 0.22 and angle >= -60
    stem = distance_to_segment(x, y, 0.585, 0.52, 0.5, 0.64) <= 0.05
    dot = math.hypot(x - 0.5, y - 0.79) <= 0.065
    return (255, 255, 255, 255) if hook or stem or dot else tile + (255,)


def logo_pixels(size, tile):
    """Rows top down of (red, green, blue, alpha), each pixel the mean of its samples."""
    rows = []
    for row in range(size):
        pixels = []
        for column in range(size):
            samples = [logo_colour((column + (i + 0.5) / OVERSAMPLING) / size, (row + (j + 0.5) / OVERSAMPLING) / size, tile)
                       for i in range(OVERSAMPLING) for j in range(OVERSAMPLING)]
            alpha = sum(s[3] for s in samples)
            colour = [round(sum(s[k] * s[3] for s in samples) / alpha) if alpha else 0 for k in range(3)]
            pixels.append(tuple(colour) + (round(alpha / len(samples)),))
        rows.append(pixels)
    return rows


def logo_dib(size, tile):
    rows = logo_pixels(size, tile)
    colour = b"".join(struct.pack("<4B", b, g, r, a) for row in reversed(rows) for r, g, b, a in row)
    mask = mask_rows(rows, lambda p: 1 if p[3] == 0 else 0)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def logo_png(size, tile):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in logo_pixels(size, tile))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit red, green, blue, alpha
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def write_logo(path, tile):
    bodies = [(size, logo_dib(size, tile)) for size in (16, 24, 32, 48)] + [(256, logo_png(256, tile))]
    directory = struct.pack("<HHH", 0, 1, len(bodies))
    offset = 6 + 16 * len(bodies)
    for size, body in bodies:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    with open(path, "wb") as out:
        out.write(directory + b"".join(body for _, body in bodies))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_file(os.path.join(here, "play.ico"), 1, [play_image(SIZE), play_image(SMALL)], 1, 32, colour_entry)
    write_file(os.path.join(here, "stop.ico"), 1, [stop_image(SIZE), stop_image(SMALL)], 1, 32, colour_entry)
    write_file(os.path.join(here, "hand.cur"), 2, [hand_image()], *HOT_SPOT)
    write_logo(os.path.join(here, "devinette.ico"), TILE)
    write_logo(os.path.join(here, "atelier.ico"), ATELIER_TILE)


if __name__ == "__main__":
    main()
