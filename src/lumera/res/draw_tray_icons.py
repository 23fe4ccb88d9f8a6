#!/usr/bin/env python3
"""Draws the tray program's two icons (screen saver on: a sun on a blue screen; off: a
grey disc struck through in red) at the sizes the notification area asks for beyond the
16, 32 and 48 pixel images they were made with: 20, 24, 40 and 64 pixels, for 125 % to
200 %. The shapes are those of the 48 pixel image, in its coordinates; each pixel is the
mean of 8 x 8 samples. Images already in a file are kept as they are.

    python3 draw_tray_icons.py lumera_on.ico lumera_off.ico
"""
import struct
import sys

SIZES = (20, 24, 40, 64)
SAMPLES = 8

DESIGNS = {
    "lumera_on.ico": {"frame": (11, 46, 102), "screen": (29, 95, 191), "disc": (255, 210, 63), "slash": None},
    "lumera_off.ico": {"frame": (74, 74, 74), "screen": (138, 138, 138), "disc": (208, 208, 208),
                       "slash": (208, 32, 32)},
}
STAND = (90, 90, 90)


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def sample(design, x, y):
    """The colour (r, g, b, a) at a point of the 48 unit design, the topmost shape first."""
    if (18 <= x < 31 and 33 <= y < 39) or (12 <= x < 37 and 39 <= y < 43):
        return STAND + (1.0,)
    on_screen = in_rounded_rect(x, y, 5.3, 8.3, 42.7, 31.7, 2)
    # The slash: a bar at 45 degrees through the disc, with square ends.
    if design["slash"] and on_screen and abs(x + y - 44.5) <= 3.3 and abs(y - x + 4.5) <= 22.4:
        return design["slash"] + (1.0,)
    if on_screen and (x - 24.5) ** 2 + (y - 19.5) ** 2 <= 7.5 ** 2:
        return design["disc"] + (1.0,)
    if on_screen:
        return design["screen"] + (1.0,)
    if in_rounded_rect(x, y, 1, 5, 47, 35, 4):
        return design["frame"] + (1.0,)
    if 6.3 <= x < 41.7 and 35 <= y < 36:  # the shadow under the monitor
        return design["frame"] + (0.25,)
    return (0, 0, 0, 0.0)


def draw(design, size):
    """Rows from the top of (b, g, r, a) bytes."""
    scale = 48 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    cr, cg, cb, ca = sample(design, (px + (sx + 0.5) / SAMPLES) * scale,
                                            (py + (sy + 0.5) / SAMPLES) * scale)
                    r += cr * ca
                    g += cg * ca
                    b += cb * ca
                    a += ca
            n = SAMPLES * SAMPLES
            alpha = a / n
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:  # straight (not premultiplied) colour, as icons keep it
                row.append((round(b / a), round(g / a), round(r / a), round(alpha * 255)))
        rows.append(row)
    return rows


def icon_image(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(v for p in row for v in p) for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def read_icon(path):
    data = open(path, "rb").read()
    count = struct.unpack("<HHH", data[:6])[2]
    images = {}
    for i in range(count):
        entry = data[6 + 16 * i:22 + 16 * i]
        width = entry[0] or 256
        length, offset = struct.unpack("<II", entry[8:16])
        images[width] = data[offset:offset + length]
    return images


def write_icon(path, images):
    sizes = sorted(images)
    offset = 6 + 16 * len(sizes)
    directory = struct.pack("<HHH", 0, 1, len(sizes))
    body = b""
    for size in sizes:
        image = images[size]
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset + len(body))
        body += image
    open(path, "wb").write(directory + body)


def main(paths):
    for path in paths:
        design = DESIGNS[path.replace("\\", "/").split("/")[-1]]
        images = read_icon(path)
        for size in SIZES:
            if size not in images:
                images[size] = icon_image(draw(design, size))
        write_icon(path, images)


if __name__ == "__main__":
    main(sys.argv[1:])
