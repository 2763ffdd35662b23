#!/usr/bin/python3
"""Draws Torvex's glyph pictures (rain signs, message letters, glyph sets) from free fonts.

Writes resources/glyphs_rain.raw, resources/glyphs_letters.raw, the three further glyph
sets resources/glyphs_set_*.raw (128 x 128 RGB, no header), the same pictures with cells of
32, 64 and 128 px (resources/glyphs_*_<cell>.cov.z: stroke colour and zlib-packed coverage)
and the contact sheet docs/glyphs.png. Needs Pillow and the Debian packages
fonts-vlgothic and fonts-dejavu-core; same fonts, Pillow and zlib give the same bytes.
"""

import argparse
import math
import os
import sys
import zlib

try:
    from PIL import Image, ImageChops, ImageDraw, ImageFont
except ImportError:
    sys.exit("make_glyphs.py needs Pillow: apt-get install python3-pil (and run /usr/bin/python3)")

CELL = 16            # cell side of the layout, in pixels: the one every size is scaled from
GRID = 8             # cells per picture row and column
SIDE = CELL * GRID   # picture side at 16-px cells, 128
SS = 4               # supersampling: every glyph is drawn 4x and box-reduced
BIG_CELLS = (32, 64, 128)  # the further cell sides the pictures are drawn with

KANA_FONT = "/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf"
LETTER_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
LABEL_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_PACKAGES = {KANA_FONT: "fonts-vlgothic", LETTER_FONT: "fonts-dejavu-core",
                 LABEL_FONT: "fonts-dejavu-core"}

WHITE = (255, 255, 255)
LETTER_GREEN = (4, 235, 75)

# Rain signs for cells 0-23 and 31: (character, mirrored left-right).
# Half-width katakana mostly, a few digits and symbols among them.
RAIN_SIGNS = [
    ("\uff71", False), ("\uff76", True), ("\uff7b", False), ("\uff7c", True),   # a ka sa shi
    ("\uff82", False), ("\uff83", True), ("\uff85", False), ("\uff86", False),  # tsu te na ni
    ("\uff87", True), ("\uff88", False), ("\uff8a", False), ("\uff8b", True),   # nu ne ha hi
    ("\uff8e", False), ("\uff90", False), ("\uff91", True), ("\uff93", False),  # ho mi mu mo
    ("\uff94", True), ("\uff95", False), ("2", False), ("\uff92", False),       # ya yu 2 me
    ("5", False), ("=", False), ("\uff80", True), ("7", False),                 # 5 = ta 7
]
RAIN_CELL_31 = ("*", False)

LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ?!@$&"

# The further glyph sets the user can pick instead of the rain signs: file name and signs.
# Drawn from the rain font in the rain picture's layout (see make_set).
GLYPH_SETS = [
    ("glyphs_set_letters_digits", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"),
    ("glyphs_set_binary", "01"),
    ("glyphs_set_hex", "0123456789ABCDEF"),
]

# Every length below is in pixels of a 16-px cell; a bigger cell scales it.
# Rain font size (the signs come out 10 to 13 pixels tall) and the
# sideways stretch of the narrow half-width forms.
RAIN_EM = 15
RAIN_STRETCH = 1.3
RAIN_MAX_WIDTH = 11.0
RAIN_VARIANT_WIDTH = 0.94   # cells 24-30: width of their shapes against cells 16-22
LIGHT_STROKE = 1    # extra outline in supersampled pixels (0.25 px a side)
HEAVY_STROKE = 2    # 0.5 px a side: the heavier drawings of cells 32-55

LETTER_CAP = 12.0   # capital height in pixels
LETTER_MAX_WIDTH = 13.0


class Cells:
    """The cell side a picture is drawn with and where its glyphs go. The 16-px drawing
    chooses every glyph's spot (the sharpest nudge, a heavy shift that is enough); a bigger
    drawing is given that drawing and puts each glyph near its spot scaled, where reduced to
    16 px it comes closest to the 16-px glyph, so tile k shows the same glyph in the same
    place at every size. The 16-px strokes sit on whole pixels, so the big ones do too."""

    def __init__(self, side, base=None):
        self.side = side
        self.scale = side // CELL
        # The black ring kept around every glyph: one pixel at 16, scaled with the cell.
        self.margin = self.scale
        self.base = base
        self.drawn = {}  # key -> (coverage, spot), kept by the 16-px drawing for the others

    def put(self, key, ink, cx, top, move_y=True, accept=None):
        """Places ink centred on column cx with its top at row top (this cell's pixels);
        returns the coverage and the spot used."""
        if self.base is None:
            cov, spot = place_crisp(ink, cx, top, self, move_y, accept)
            self.drawn[key] = (cov, spot)
            return cov, spot
        base_cov, (base_cx, base_top) = self.base.drawn[key]
        return place_like(ink, base_cx * self.scale, base_top * self.scale, self, base_cov,
                          move_y)

    def put_on(self, key, ink, spot):
        """Places ink on spot (this cell's pixels) exactly, as the 16-px drawing does; a
        bigger drawing moves it to where it comes closest to the 16-px glyph."""
        if self.base is None:
            cov = place(ink, spot[0], spot[1], self.side)
            self.drawn[key] = (cov, spot)
            return cov
        return place_like(ink, spot[0], spot[1], self, self.base.drawn[key][0])[0]


def render_ink(char, font, stroke=0):
    """Returns the supersampled coverage of one character, cropped to its ink."""
    left, top, right, bottom = font.getbbox(char, stroke_width=stroke)
    pad = 8
    img = Image.new("L", (right - left + 2 * pad, bottom - top + 2 * pad), 0)
    ImageDraw.Draw(img).text((pad - left, pad - top), char, font=font, fill=255,
                             stroke_width=stroke, stroke_fill=255)
    box = img.getbbox()
    if box is None:
        sys.exit("glyph %r has no ink in %s" % (char, font.path))
    return img.crop(box)


def place(ink, cx, top, side):
    """Puts supersampled ink centred on column cx with its top at row top (cell pixels,
    fractions allowed); returns the side x side coverage."""
    big = Image.new("L", (side * SS, side * SS), 0)
    x = int(round(cx * SS - ink.width / 2.0))
    y = int(round(top * SS))
    big.paste(ink, (x, y))
    # Box reduction turns the 4x drawing into exact area coverage per pixel.
    return big.reduce(SS)


def sharpness(cov):
    """Sum of squared coverage: larger when the strokes sit on whole pixels."""
    return sum(n * v * v for v, n in enumerate(cov.histogram()))


def centroid(cov):
    total = x_sum = y_sum = 0
    for i, v in enumerate(cov.getdata()):
        total += v
        x_sum += v * (i % cov.width)
        y_sum += v * (i // cov.width)
    return (x_sum / float(total), y_sum / float(total)) if total else (0.0, 0.0)


def place_crisp(ink, cx, top, cells, move_y=True, accept=None):
    """Like place, but tries quarter-pixel nudges and keeps the sharpest result, so
    strokes fall on whole pixels instead of smearing across two. Candidates that touch
    the margin are never taken; if accept refuses all others, it is dropped. Returns
    the coverage and the (cx, top) used."""
    steps = (0.0, 0.25, -0.25, 0.5)
    best = None
    for oy in steps if move_y else (0.0,):
        for ox in steps:
            cov = place(ink, cx + ox, top + oy, cells.side)
            if touches_border(cov, cells.margin) or (accept is not None and not accept(cov)):
                continue
            score = sharpness(cov)
            # Strictly better only, so the earlier (smaller) nudge wins ties.
            if best is None or score > best[0]:
                best = (score, cov, (cx + ox, top + oy))
    if best is None:
        if accept is not None:
            return place_crisp(ink, cx, top, cells, move_y)
        return place(ink, cx, top, cells.side), (cx, top)
    return best[1], best[2]


def place_like(ink, cx, top, cells, model, move_y=True):
    """Places ink near (cx, top), within half a 16-px pixel, where reduced to 16 px it
    differs least from the 16-px coverage model. Returns the coverage and the spot used."""
    step = max(0.25, cells.scale / 8.0)
    steps = [i * step for i in range(-4, 5)]
    best = None
    for oy in steps if move_y else (0.0,):
        for ox in steps:
            cov = place(ink, cx + ox, top + oy, cells.side)
            if touches_border(cov, cells.margin):
                continue
            diff = ImageChops.difference(cov.reduce(cells.scale), model).histogram()
            score = sum(v * n for v, n in enumerate(diff))
            if best is None or score < best[0]:
                best = (score, cov, (cx + ox, top + oy))
    if best is None:
        return place(ink, cx, top, cells.side), (cx, top)
    return best[1], best[2]


def fit(ink, max_w, max_h):
    """Squeezes ink (supersampled) so it fits max_w x max_h pixels, never enlarging."""
    w, h = ink.width, ink.height
    sx = min(1.0, max_w * SS / w)
    sy = min(1.0, max_h * SS / h)
    if sx == 1.0 and sy == 1.0:
        return ink
    return ink.resize((max(1, int(round(w * sx))), max(1, int(round(h * sy)))),
                      Image.LANCZOS)


def touches_border(cov, margin):
    """True if any pixel within margin of the cell's edge has ink. The margin matters
    on screen: linear filtering with repeat wrapping blends opposite tile edges."""
    box = cov.getbbox()
    return box is not None and (min(box[0], box[1]) < margin
                                or max(box[2], box[3]) > cov.width - margin)


def check_margin(cov, margin, what):
    """Fails loudly if a glyph would touch the border of its cell (it would look clipped)."""
    if touches_border(cov, margin):
        sys.exit("%s touches the cell border: ink box %s" % (what, cov.getbbox()))


def rain_ink(sign, font, stroke, stretch, max_w, max_h):
    char, mirrored = sign
    ink = render_ink(char, font, stroke)
    # One font size for all signs keeps their strokes alike; only the width is
    # stretched, since the half-width forms are too narrow for a square cell.
    ink = ink.resize((int(round(ink.width * stretch)), ink.height), Image.LANCZOS)
    ink = fit(ink, max_w, max_h)
    if mirrored:
        ink = ink.transpose(Image.FLIP_LEFT_RIGHT)
    return ink


def heavy_offset(index, ink, cells):
    """Offset of the heavier drawing of cell index: a pixel or two, within the margin."""
    want_dx = (1, -1, 2, -2)[index % 4] * cells.scale
    want_dy = (1, 0, -1)[index % 3] * cells.scale
    room_x = (cells.side - 2 * cells.margin - ink.width / float(SS)) / 2.0
    room_y = (cells.side - 2 * cells.margin - ink.height / float(SS)) / 2.0
    dx = max(-int(room_x), min(int(room_x), want_dx))
    dy = max(-int(room_y), min(int(room_y), want_dy))
    return dx, dy


def shifted_from(light_cov, scale):
    """Accepts a heavier drawing whose centre of ink is a pixel or two from the light one's."""
    base = centroid(light_cov)

    def enough(cov):
        x, y = centroid(cov)
        return 0.9 * scale <= math.hypot(x - base[0], y - base[1]) <= 2.5 * scale
    return enough


def make_rain(cells):
    """Cells of the rain picture as coverage images, indexed 0..63 (None = black)."""
    s = cells.scale
    font = ImageFont.truetype(KANA_FONT, RAIN_EM * SS * s)
    inner = cells.side - 2 * cells.margin
    pics = [None] * (GRID * GRID)
    spots = {}
    centre = cells.side / 2.0

    def light(sign, stretch=RAIN_STRETCH):
        return rain_ink(sign, font, LIGHT_STROKE * s, stretch, RAIN_MAX_WIDTH * s, inner)

    for k, sign in enumerate(RAIN_SIGNS + [None] * 7 + [RAIN_CELL_31]):
        if sign is not None:
            ink = light(sign)
            pics[k], spots[k] = cells.put(k, ink, centre, centre - ink.height / (2.0 * SS))
    # Cells 24-30 repeat 16-22 slightly narrower on the same spot, so the edges
    # differ by a grey level or a pixel here and there while the shape stays.
    for k in range(24, 31):
        pics[k] = cells.put_on(k, light(RAIN_SIGNS[k - 8], RAIN_STRETCH * RAIN_VARIANT_WIDTH),
                               spots[k - 8])
    # The heavier drawings are kept two pixels narrower and one shorter than the
    # room, so that their shift always fits inside the margin.
    for k, sign in enumerate(RAIN_SIGNS):
        ink = rain_ink(sign, font, HEAVY_STROKE * s, RAIN_STRETCH, inner - 2 * s, inner - s)
        dx, dy = heavy_offset(k, ink, cells)
        top = spots[k][1] + (ink.height - light(sign).height) / (-2.0 * SS)
        pics[32 + k], _ = cells.put(32 + k, ink, centre + dx, top + dy,
                                    accept=shifted_from(pics[k], s))
    for k in range(56):
        check_margin(pics[k], cells.margin, "rain cell %d" % k)
    return pics


def make_set(cells, signs):
    """Cells of a glyph set's picture in the rain picture's layout: cells 0-23 and 31 light
    drawings, 24-30 narrower ones, 32-55 heavier ones shifted a pixel or two, grid row 7
    black. Cell k shows sign k mod len(signs), so a set with fewer signs than cells repeats
    them in every variation and the rain's pick (r mod 47) finds each about equally often;
    with 2 or 16 signs a heavy cell 32+k draws the sign of cell k, as in the rain picture."""
    s = cells.scale
    font = ImageFont.truetype(KANA_FONT, RAIN_EM * SS * s)
    inner = cells.side - 2 * cells.margin
    centre = cells.side / 2.0
    pics = [None] * (GRID * GRID)

    def light(char, stretch=RAIN_STRETCH):
        return rain_ink((char, False), font, LIGHT_STROKE * s, stretch, RAIN_MAX_WIDTH * s,
                        inner)

    # Every sign's light drawing and the spot it was placed on: the variations start there.
    spots = {}
    for char in signs:
        ink = light(char)
        spots[char] = cells.put(char, ink, centre, centre - ink.height / (2.0 * SS))
    for k in range(56):
        char = signs[k % len(signs)]
        cov, spot = spots[char]
        if k < 24 or k == 31:
            pics[k] = cov
        elif k < 31:
            pics[k] = cells.put_on(k, light(char, RAIN_STRETCH * RAIN_VARIANT_WIDTH), spot)
        else:
            ink = rain_ink((char, False), font, HEAVY_STROKE * s, RAIN_STRETCH, inner - 2 * s,
                           inner - s)
            dx, dy = heavy_offset(k - 32, ink, cells)
            top = spot[1] + (ink.height - light(char).height) / (-2.0 * SS)
            pics[k], _ = cells.put(k, ink, centre + dx, top + dy, accept=shifted_from(cov, s))
        check_margin(pics[k], cells.margin, "set %r cell %d" % (signs, k))
    return pics


def make_letters(cells):
    """Cells of the letter picture as coverage images (None = black)."""
    s, side, margin = cells.scale, cells.side, cells.margin
    font = ImageFont.truetype(LETTER_FONT, 64)
    cap = render_ink("H", font)
    # One font size for every sign, chosen so the capitals are LETTER_CAP tall.
    size = int(round(64 * LETTER_CAP * s * SS / cap.height))
    font = ImageFont.truetype(LETTER_FONT, size)
    cap_top = font.getbbox("H")[1]
    cap_row = (side - LETTER_CAP * s) / 2.0
    pics = [None] * (GRID * GRID)
    for k, char in enumerate(LETTERS):
        ink = render_ink(char, font)
        if char.isalpha():
            # Capitals share one cap line so a message reads as one line; J and Q,
            # which reach below the baseline, shrink a little to stay in the cell.
            top = cap_row + (font.getbbox(char)[1] - cap_top) / float(SS)
            ink = fit(ink, LETTER_MAX_WIDTH * s, side - margin - max(top, margin))
            top = max(top, margin)
        else:
            ink = fit(ink, LETTER_MAX_WIDTH * s, side - 2 * margin)
            top = cap_row + (font.getbbox(char)[1] - cap_top) / float(SS)
            top = max(margin, min(top, side - margin - ink.height / float(SS)))
        pics[k], _ = cells.put(k, ink, side / 2.0, top, move_y=False)
        check_margin(pics[k], margin, "letter %r" % char)
    return pics


def coverage_picture(pics, side):
    """Joins the cells' coverage into one picture of 8 x 8 cells of side pixels."""
    pic = Image.new("L", (side * GRID, side * GRID), 0)
    for k, cov in enumerate(pics):
        if cov is not None:
            pic.paste(cov, ((k % GRID) * side, (k // GRID) * side))
    return pic


def compose(coverage, colour):
    """The RGB picture: each pixel is colour scaled by its coverage, rounded."""
    return Image.merge("RGB", [coverage.point(lambda v, c=c: (v * c + 127) // 255)
                               for c in colour])


def pack(coverage, colour):
    """The stored form of a big picture: the stroke colour (3 bytes), then the coverage
    (one byte a pixel, rows top first) as one zlib stream. The loader rebuilds every RGB
    byte from these exactly as compose does."""
    # Level 9 with a 7 memory level: fixed, so the same pictures always pack to the same bytes.
    packer = zlib.compressobj(9, zlib.DEFLATED, 15, 7)
    return bytes(colour) + packer.compress(coverage.tobytes()) + packer.flush()


def cell_of(pic, k, side=CELL):
    return pic.crop(((k % GRID) * side, (k // GRID) * side,
                     (k % GRID) * side + side, (k // GRID) * side + side))


def contact_sheet(rain, letters, rain32, letters32):
    """Both pictures enlarged 4x with cell numbers, and views at screen size: 16-px cells from
    the 16-px artwork, bigger cells from the 32-px artwork, as the saver chooses them."""
    zoom = 4
    slot = CELL * zoom + 6
    label_font = ImageFont.truetype(LABEL_FONT, 11)
    title_font = ImageFont.truetype(LABEL_FONT, 16)
    width = 2 * (GRID * slot + 20) + 20
    height = 40 + GRID * (slot + 14) + 330
    sheet = Image.new("RGB", (width, height), (40, 40, 48))
    draw = ImageDraw.Draw(sheet)
    for p, (pic, title) in enumerate(((rain, "glyphs_rain.raw (161)"),
                                      (letters, "glyphs_letters.raw (162)"))):
        ox = 20 + p * (GRID * slot + 20)
        draw.text((ox, 10), title, font=title_font, fill=(230, 230, 230))
        for k in range(GRID * GRID):
            cell = pic.crop(((k % GRID) * CELL, (k // GRID) * CELL,
                             (k % GRID) * CELL + CELL, (k // GRID) * CELL + CELL))
            x = ox + (k % GRID) * slot
            y = 40 + (k // GRID) * (slot + 14)
            sheet.paste(cell.resize((CELL * zoom, CELL * zoom), Image.NEAREST), (x, y))
            draw.text((x, y + CELL * zoom + 1), str(k), font=label_font, fill=(150, 150, 160))

    # Screen-size views: the rain signs tinted green at 16 px and enlarged with
    # linear filtering, and the letters as the message shows them.
    y0 = 40 + GRID * (slot + 14) + 10
    draw.text((20, y0), "rain tinted (0, 0.8, 0) at 16 px and 32 px; message at 16 px, 40 px and "
              "28 px (32-px artwork above 24 px)", font=title_font, fill=(230, 230, 230))
    y0 += 28

    def tinted_strip(pic, side):
        strip = Image.new("RGB", (47 * side, side), (0, 0, 0))
        for g in range(47):
            r, gr, b = cell_of(pic, g, side).split()
            strip.paste(Image.merge("RGB", (r.point(lambda v: 0),
                                            gr.point(lambda v: v * 204 // 255),
                                            b.point(lambda v: 0))), (g * side, 0))
        return strip

    def letter_line(pic, side, text):
        line = Image.new("RGB", (len(text) * side, side), (0, 0, 0))
        for i, ch in enumerate(text):
            if ch != " ":
                line.paste(cell_of(pic, LETTERS.index(ch), side), (i * side, 0))
        return line

    black = Image.new("RGB", (width - 40, 300), (0, 0, 0))
    sheet.paste(black, (20, y0))
    sheet.paste(tinted_strip(rain, CELL), (30, y0 + 10))
    half = 24
    big = tinted_strip(rain32, 32)
    sheet.paste(big.crop((0, 0, half * 32, 32)), (30, y0 + 36))
    sheet.paste(big.crop((half * 32, 0, 47 * 32, 32)), (30, y0 + 72))
    message = "THE TORVEX"
    sheet.paste(letter_line(letters, CELL, message), (30, y0 + 116))
    sheet.paste(letter_line(letters32, 32, message).resize((len(message) * 40, 40), Image.BILINEAR),
                (30, y0 + 140))
    sheet.paste(letter_line(letters32, 32, LETTERS).resize((len(LETTERS) * 28, 28), Image.BILINEAR),
                (30, y0 + 196))
    sheet.paste(letter_line(letters, CELL, LETTERS), (30, y0 + 236))
    return sheet


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=root, help="project root to write into")
    args = parser.parse_args()
    for font, package in sorted(FONT_PACKAGES.items()):
        if not os.path.isfile(font):
            sys.exit("font %s is missing: apt-get install %s" % (font, package))
    for folder in ("resources", "docs"):
        if not os.path.isdir(os.path.join(args.out, folder)):
            sys.exit("%s has no %s/ folder to write into" % (args.out, folder))

    pictures = [("glyphs_rain", make_rain, WHITE), ("glyphs_letters", make_letters, LETTER_GREEN)]
    for name, signs in GLYPH_SETS:
        pictures.append((name, lambda cells, signs=signs: make_set(cells, signs), WHITE))
    sheet, sheet32 = [], []
    for name, make, colour in pictures:
        base = Cells(CELL)
        pic = compose(coverage_picture(make(base), CELL), colour)
        data = pic.tobytes()
        assert len(data) == SIDE * SIDE * 3
        with open(os.path.join(args.out, "resources", name + ".raw"), "wb") as out:
            out.write(data)
        sheet.append(pic)
        # The bigger drawings follow the 16-px one's spots.
        for side in BIG_CELLS:
            coverage = coverage_picture(make(Cells(side, base)), side)
            if side == 32:
                sheet32.append(compose(coverage, colour))
            with open(os.path.join(args.out, "resources", "%s_%d.cov.z" % (name, side)),
                      "wb") as out:
                out.write(pack(coverage, colour))
    contact_sheet(sheet[0], sheet[1], sheet32[0], sheet32[1]).save(os.path.join(args.out, "docs", "glyphs.png"),
                                           optimize=True)


if __name__ == "__main__":
    main()
