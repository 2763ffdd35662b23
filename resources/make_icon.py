#!/usr/bin/env python3
"""Draws Torvex.scr's icon, and the installer's side picture, from the project's own glyph pictures.

Large sizes show three falling streams of rain glyphs (green trails, white heads); small sizes,
where a glyph would be a few pixels, show the letter T. Sizes below 256 are 32-bit DIBs (read by
every Windows version), 256 is PNG. Only the standard library: the output is the same bytes on
every run, which the reproducible release relies on.

The side picture (164 x 314, the size the installer's first and last pages show) is falling
rain on black, as a 24-bit BMP.

    make_icon.py RAIN.raw LETTERS.raw OUT.ico [SIDE.bmp]
"""
import struct
import sys
import zlib

PICTURE = 128  # each glyph picture: 128 x 128 RGB, 16 x 16 tiles in rows of 8
TILE = 16
MASTER = 256
SIZES = (16, 24, 32, 48, 64, 128, 256)


def read_picture(path):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) != PICTURE * PICTURE * 3:
        sys.exit(f"make_icon.py: {path}: expected {PICTURE * PICTURE * 3} bytes, got {len(data)}")
    return data


def tile_coverage(picture, index, x, y):
    """Brightness 0..1 of pixel (x, y) of tile `index` (the pictures are drawn light on black)."""
    tx, ty = (index % 8) * TILE + x, (index // 8) * TILE + y
    o = (ty * PICTURE + tx) * 3
    return max(picture[o], picture[o + 1], picture[o + 2]) / 255.0


def blank(width=MASTER, height=MASTER, alpha=0.0):
    return [[(0.0, 0.0, 0.0, alpha)] * width for _ in range(height)]


def rounded_background(img, radius=40):
    for y in range(MASTER):
        for x in range(MASTER):
            cx = min(max(x + 0.5, radius), MASTER - radius)
            cy = min(max(y + 0.5, radius), MASTER - radius)
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius:
                img[y][x] = (0.0, 0.0, 0.0, 1.0)


def stamp(img, picture, index, left, top, scale, colour):
    """Draws one tile at (left, top), each tile pixel a scale x scale block, tinted by colour."""
    for y in range(TILE):
        for x in range(TILE):
            c = tile_coverage(picture, index, x, y)
            if c == 0.0:
                continue
            for dy in range(scale):
                for dx in range(scale):
                    px, py = left + x * scale + dx, top + y * scale + dy
                    if 0 <= py < len(img) and 0 <= px < len(img[0]):
                        r, g, b, a = img[py][px]
                        img[py][px] = (r + (colour[0] - r) * c, g + (colour[1] - g) * c,
                                       b + (colour[2] - b) * c, a)


def rain_master(rain):
    img = blank()
    rounded_background(img)
    # Three streams, 4 cells of 64 px high window; each (glyph codes top to bottom, first row).
    streams = ((8, (0, 17, 3, 20)), (88, (12, 6, 25, 9)), (168, (2, 14, 21, 4)))
    for left, codes in streams:
        for row, code in enumerate(codes):
            head = row == len(codes) - 1
            fade = 0.35 + 0.65 * row / (len(codes) - 1)
            colour = (1.0, 1.0, 1.0) if head else (0.1 * fade, fade, 0.2 * fade)
            stamp(img, rain, code, left, 4 + row * 62, 5, colour)
    return img


def letter_master(letters):
    img = blank()
    rounded_background(img, radius=48)
    stamp(img, letters, ord("T") - ord("A"), 0, 0, MASTER // TILE, (0.15, 1.0, 0.35))
    return img


def weights(src, dst):
    """Area weights of the source pixels that make up each destination pixel."""
    scale = src / dst
    rows = []
    for d in range(dst):
        lo, hi = d * scale, (d + 1) * scale
        row = []
        for s in range(int(lo), min(src, int(hi) + 1)):
            w = min(hi, s + 1) - max(lo, s)
            if w > 0:
                row.append((s, w / scale))
        rows.append(row)
    return rows


def downscale(img, size):
    """Box filter on premultiplied colour: exact for the integer factors, smooth for the rest."""
    wts = weights(MASTER, size)
    out = []
    for ys in wts:
        line = []
        for xs in wts:
            r = g = b = a = 0.0
            for sy, wy in ys:
                src = img[sy]
                for sx, wx in xs:
                    w = wy * wx
                    pr, pg, pb, pa = src[sx]
                    r += pr * pa * w
                    g += pg * pa * w
                    b += pb * pa * w
                    a += pa * w
            line.append((r / a, g / a, b / a, a) if a > 0 else (0.0, 0.0, 0.0, 0.0))
        out.append(line)
    return out


def byte(v):
    return max(0, min(255, int(round(v * 255))))


def png(img):
    size = len(img)
    raw = b"".join(b"\0" + bytes(byte(c) for px in line for c in px) for line in img)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(img):
    size = len(img)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((byte(b), byte(g), byte(r), byte(a))) for line in reversed(img)
                      for r, g, b, a in line)
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for line in reversed(img):
        bits = bytearray(mask_stride)
        for x, px in enumerate(line):
            if byte(px[3]) == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


SIDE_WIDTH, SIDE_HEIGHT = 164, 314


def side_picture(rain):
    """Seven streams of 2x glyphs, each its own length, faded towards the top, white heads."""
    img = blank(SIDE_WIDTH, SIDE_HEIGHT, 1.0)
    cell = TILE * 2 + 2
    for column in range(SIDE_WIDTH // cell + 1):
        length = 3 + (column * 5) % 6
        head = (column * 3) % 4 + length
        for row in range(head - length, head + 1):
            fade = 0.2 + 0.8 * (row - head + length) / length
            colour = (1.0, 1.0, 1.0) if row == head else (0.1 * fade, fade, 0.2 * fade)
            code = (column * 13 + row * 7) % 47
            stamp(img, rain, code, column * cell - 4, row * cell - 10, 2, colour)
    return img


def bmp24(img):
    width, height = len(img[0]), len(img)
    stride = (width * 3 + 3) // 4 * 4
    rows = b"".join(bytes(c for r, g, b, _ in line for c in (byte(b), byte(g), byte(r)))
                    .ljust(stride, b"\0") for line in reversed(img))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info)) + info + rows


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit("usage: make_icon.py RAIN.raw LETTERS.raw OUT.ico [SIDE.bmp]")
    rain, letters = read_picture(sys.argv[1]), read_picture(sys.argv[2])
    masters = {"rain": rain_master(rain), "letter": letter_master(letters)}
    images = []
    for size in SIZES:
        img = downscale(masters["rain" if size >= 48 else "letter"], size)
        images.append((size, png(img) if size == 256 else dib(img)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(sys.argv[3], "wb") as f:
        f.write(out)
    if len(sys.argv) == 5:
        with open(sys.argv[4], "wb") as f:
            f.write(bmp24(side_picture(rain)))


if __name__ == "__main__":
    main()
