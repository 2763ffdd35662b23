#!/usr/bin/env python3
"""Draws Torvex.scr's icon from the project's own glyph pictures and writes it as an .ico.

Large sizes show three falling streams of rain glyphs (green trails, white heads); small sizes,
where a glyph would be a few pixels, show the letter T. Sizes below 256 are 32-bit DIBs (read by
every Windows version), 256 is PNG. Only the standard library: the output is the same bytes on
every run, which the reproducible release relies on.

    make_icon.py RAIN.raw LETTERS.raw OUT.ico
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


def blank():
    return [[(0.0, 0.0, 0.0, 0.0)] * MASTER for _ in range(MASTER)]


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
                    if 0 <= px < MASTER and 0 <= py < MASTER:
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


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: make_icon.py RAIN.raw LETTERS.raw OUT.ico")
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


if __name__ == "__main__":
    main()
