#!/usr/bin/python3
"""Draws Torvex's glyph pictures (rain signs, message letters, glyph sets) from free fonts.

Writes resources/glyphs_rain.raw, resources/glyphs_letters.raw, the three further glyph
sets resources/glyphs_set_*.raw (128 x 128 RGB, no header) and the contact sheet
docs/glyphs.png. Needs Pillow and the Debian packages
fonts-vlgothic and fonts-dejavu-core; same fonts and Pillow give the same bytes.
"""

import argparse
import math
import os
import sys

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:
    sys.exit("make_glyphs.py needs Pillow: apt-get install python3-pil (and run /usr/bin/python3)")

CELL = 16            # cell side in pixels
GRID = 8             # cells per picture row and column
SIDE = CELL * GRID   # picture side, 128
SS = 4               # supersampling: every glyph is drawn 4x and box-reduced
MARGIN = 1           # pixels kept black around every glyph inside its cell

KANA_FONT = "/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf"
LETTER_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
LABEL_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_PACKAGES = {KANA_FONT: "fonts-vlgothic", LETTER_FONT: "fonts-dejavu-core",
                 LABEL_FONT: "fonts-dejavu-core"}

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
    ("glyphs_set_letters_digits.raw", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"),
    ("glyphs_set_binary.raw", "01"),
    ("glyphs_set_hex.raw", "0123456789ABCDEF"),
]

# Rain font size in pixels (the signs come out 10 to 13 pixels tall) and the
# sideways stretch of the narrow half-width forms.
RAIN_EM = 15
RAIN_STRETCH = 1.3
RAIN_MAX_WIDTH = 11.0
RAIN_VARIANT_WIDTH = 0.94   # cells 24-30: width of their shapes against cells 16-22
LIGHT_STROKE = 1    # extra outline in supersampled pixels (0.25 px a side)
HEAVY_STROKE = 2    # 0.5 px a side: the heavier drawings of cells 32-55

LETTER_CAP = 12.0   # capital height in pixels
LETTER_MAX_WIDTH = 13.0


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


def place(ink, cx, top):
    """Puts supersampled ink centred on column cx with its top at row top (cell pixels,
    fractions allowed); returns the 16x16 coverage."""
    big = Image.new("L", (CELL * SS, CELL * SS), 0)
    x = int(round(cx * SS - ink.width / 2.0))
    y = int(round(top * SS))
    big.paste(ink, (x, y))
    # Box reduction turns the 4x drawing into exact area coverage per pixel.
    return big.reduce(SS)


def sharpness(cov):
    """Sum of squared coverage: larger when the strokes sit on whole pixels."""
    return sum(v * v for v in cov.getdata())


def centroid(cov):
    total = x_sum = y_sum = 0
    for i, v in enumerate(cov.getdata()):
        total += v
        x_sum += v * (i % CELL)
        y_sum += v * (i // CELL)
    return (x_sum / float(total), y_sum / float(total)) if total else (0.0, 0.0)


def accept_all(cov):
    return True


def place_crisp(ink, cx, top, move_y=True, accept=accept_all):
    """Like place, but tries quarter-pixel nudges and keeps the sharpest result, so
    strokes fall on whole pixels instead of smearing across two. Candidates that touch
    the margin are never taken; if accept refuses all others, it is dropped. Returns
    the coverage and the (cx, top) used."""
    steps = (0.0, 0.25, -0.25, 0.5)
    best = None
    for oy in steps if move_y else (0.0,):
        for ox in steps:
            cov = place(ink, cx + ox, top + oy)
            if touches_border(cov) or not accept(cov):
                continue
            score = sharpness(cov)
            # Strictly better only, so the earlier (smaller) nudge wins ties.
            if best is None or score > best[0]:
                best = (score, cov, (cx + ox, top + oy))
    if best is None:
        if accept is not accept_all:
            return place_crisp(ink, cx, top, move_y)
        return place(ink, cx, top), (cx, top)
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


def touches_border(cov):
    """True if any pixel within MARGIN of the cell's edge has ink. The margin matters
    on screen: linear filtering with repeat wrapping blends opposite tile edges."""
    box = cov.getbbox()
    return box is not None and (min(box[0], box[1]) < MARGIN
                                or max(box[2], box[3]) > CELL - MARGIN)


def check_margin(cov, what):
    """Fails loudly if a glyph would touch the border of its cell (it would look clipped)."""
    if touches_border(cov):
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


def heavy_offset(index, ink):
    """Offset of the heavier drawing of cell index: a pixel or two, within the margin."""
    want_dx = (1, -1, 2, -2)[index % 4]
    want_dy = (1, 0, -1)[index % 3]
    room_x = (CELL - 2 * MARGIN - ink.width / float(SS)) / 2.0
    room_y = (CELL - 2 * MARGIN - ink.height / float(SS)) / 2.0
    dx = max(-int(room_x), min(int(room_x), want_dx))
    dy = max(-int(room_y), min(int(room_y), want_dy))
    return dx, dy


def make_rain():
    """Cells of the rain picture as 16x16 coverage images, indexed 0..63 (None = black)."""
    font = ImageFont.truetype(KANA_FONT, RAIN_EM * SS)
    inner = CELL - 2 * MARGIN
    cells = [None] * (GRID * GRID)
    spots = {}
    centre = CELL / 2.0

    def light(sign, stretch=RAIN_STRETCH):
        return rain_ink(sign, font, LIGHT_STROKE, stretch, RAIN_MAX_WIDTH, inner)

    for k, sign in enumerate(RAIN_SIGNS + [None] * 7 + [RAIN_CELL_31]):
        if sign is not None:
            ink = light(sign)
            cells[k], spots[k] = place_crisp(ink, centre, centre - ink.height / (2.0 * SS))
    # Cells 24-30 repeat 16-22 slightly narrower on the same spot, so the edges
    # differ by a grey level or a pixel here and there while the shape stays.
    for k in range(24, 31):
        cells[k] = place(light(RAIN_SIGNS[k - 8], RAIN_STRETCH * RAIN_VARIANT_WIDTH),
                         *spots[k - 8])
    # The heavier drawings are kept two pixels narrower and one shorter than the
    # room, so that their shift always fits inside the margin.
    for k, sign in enumerate(RAIN_SIGNS):
        ink = rain_ink(sign, font, HEAVY_STROKE, RAIN_STRETCH, inner - 2, inner - 1)
        dx, dy = heavy_offset(k, ink)
        base = centroid(cells[k])

        def shifted_enough(cov, base=base):
            x, y = centroid(cov)
            return 0.9 <= math.hypot(x - base[0], y - base[1]) <= 2.5

        top = spots[k][1] + (ink.height - light(sign).height) / (-2.0 * SS)
        cells[32 + k], _ = place_crisp(ink, centre + dx, top + dy, accept=shifted_enough)
    for k in range(56):
        check_margin(cells[k], "rain cell %d" % k)
    return cells


def make_set(signs):
    """Cells of a glyph set's picture in the rain picture's layout: cells 0-23 and 31 light
    drawings, 24-30 narrower ones, 32-55 heavier ones shifted a pixel or two, grid row 7
    black. Cell k shows sign k mod len(signs), so a set with fewer signs than cells repeats
    them in every variation and the rain's pick (r mod 47) finds each about equally often;
    with 2 or 16 signs a heavy cell 32+k draws the sign of cell k, as in the rain picture."""
    font = ImageFont.truetype(KANA_FONT, RAIN_EM * SS)
    inner = CELL - 2 * MARGIN
    centre = CELL / 2.0
    cells = [None] * (GRID * GRID)

    def light(char, stretch=RAIN_STRETCH):
        return rain_ink((char, False), font, LIGHT_STROKE, stretch, RAIN_MAX_WIDTH, inner)

    # Every sign's light drawing and the spot it was placed on: the variations start there.
    spots = {}
    for char in signs:
        ink = light(char)
        spots[char] = place_crisp(ink, centre, centre - ink.height / (2.0 * SS))
    for k in range(56):
        char = signs[k % len(signs)]
        cov, spot = spots[char]
        if k < 24 or k == 31:
            cells[k] = cov
        elif k < 31:
            cells[k] = place(light(char, RAIN_STRETCH * RAIN_VARIANT_WIDTH), *spot)
        else:
            ink = rain_ink((char, False), font, HEAVY_STROKE, RAIN_STRETCH, inner - 2, inner - 1)
            dx, dy = heavy_offset(k - 32, ink)
            base = centroid(cov)

            def shifted_enough(c, base=base):
                x, y = centroid(c)
                return 0.9 <= math.hypot(x - base[0], y - base[1]) <= 2.5

            top = spot[1] + (ink.height - light(char).height) / (-2.0 * SS)
            cells[k], _ = place_crisp(ink, centre + dx, top + dy, accept=shifted_enough)
        check_margin(cells[k], "set %r cell %d" % (signs, k))
    return cells


def make_letters():
    """Cells of the letter picture as 16x16 coverage images (None = black)."""
    font = ImageFont.truetype(LETTER_FONT, 64)
    cap = render_ink("H", font)
    # One font size for every sign, chosen so the capitals are LETTER_CAP tall.
    size = int(round(64 * LETTER_CAP * SS / cap.height))
    font = ImageFont.truetype(LETTER_FONT, size)
    cap_top = font.getbbox("H")[1]
    cap_row = (CELL - LETTER_CAP) / 2.0
    cells = [None] * (GRID * GRID)
    for k, char in enumerate(LETTERS):
        ink = render_ink(char, font)
        if char.isalpha():
            # Capitals share one cap line so a message reads as one line; J and Q,
            # which reach below the baseline, shrink a little to stay in the cell.
            top = cap_row + (font.getbbox(char)[1] - cap_top) / float(SS)
            ink = fit(ink, LETTER_MAX_WIDTH, CELL - MARGIN - max(top, MARGIN))
            top = max(top, MARGIN)
        else:
            ink = fit(ink, LETTER_MAX_WIDTH, CELL - 2 * MARGIN)
            top = cap_row + (font.getbbox(char)[1] - cap_top) / float(SS)
            top = max(MARGIN, min(top, CELL - MARGIN - ink.height / float(SS)))
        cells[k], _ = place_crisp(ink, CELL / 2.0, top, move_y=False)
        check_margin(cells[k], "letter %r" % char)
    return cells


def compose(cells, colour):
    """Builds the 128x128 RGB picture: each cell's coverage scales colour."""
    pic = Image.new("RGB", (SIDE, SIDE), (0, 0, 0))
    for k, cov in enumerate(cells):
        if cov is None:
            continue
        bands = [cov.point(lambda v, c=c: (v * c + 127) // 255) for c in colour]
        pic.paste(Image.merge("RGB", bands), ((k % GRID) * CELL, (k // GRID) * CELL))
    return pic


def contact_sheet(rain, letters):
    """Both pictures enlarged 4x with cell numbers, and a view at screen size."""
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
    draw.text((20, y0), "rain tinted (0, 0.8, 0): 16 px, 32 px linear; message at 16 px and 40 px linear",
              font=title_font, fill=(230, 230, 230))
    y0 += 28
    strip = Image.new("RGB", (47 * CELL, CELL), (0, 0, 0))
    for g in range(47):
        cell = rain.crop(((g % GRID) * CELL, (g // GRID) * CELL,
                          (g % GRID) * CELL + CELL, (g // GRID) * CELL + CELL))
        r, gr, b = cell.split()
        tinted = Image.merge("RGB", (r.point(lambda v: 0), gr.point(lambda v: v * 204 // 255),
                                     b.point(lambda v: 0)))
        strip.paste(tinted, (g * CELL, 0))
    black = Image.new("RGB", (width - 40, 300), (0, 0, 0))
    sheet.paste(black, (20, y0))
    sheet.paste(strip, (30, y0 + 10))
    half = 24
    big = strip.crop((0, 0, half * CELL, CELL)).resize((half * 32, 32), Image.BILINEAR)
    sheet.paste(big, (30, y0 + 36))
    big = strip.crop((half * CELL, 0, 47 * CELL, CELL)).resize(((47 - half) * 32, 32),
                                                               Image.BILINEAR)
    sheet.paste(big, (30, y0 + 72))
    message = "THE TORVEX"
    line = Image.new("RGB", (len(message) * CELL, CELL), (0, 0, 0))
    for i, ch in enumerate(message):
        if ch == " ":
            continue
        k = LETTERS.index(ch)
        line.paste(letters.crop(((k % GRID) * CELL, (k // GRID) * CELL,
                                 (k % GRID) * CELL + CELL, (k // GRID) * CELL + CELL)),
                   (i * CELL, 0))
    sheet.paste(line, (30, y0 + 116))
    sheet.paste(line.resize((len(message) * 40, 40), Image.BILINEAR), (30, y0 + 140))
    alphabet = Image.new("RGB", (len(LETTERS) * CELL, CELL), (0, 0, 0))
    for k in range(len(LETTERS)):
        alphabet.paste(letters.crop(((k % GRID) * CELL, (k // GRID) * CELL,
                                     (k % GRID) * CELL + CELL, (k // GRID) * CELL + CELL)),
                       (k * CELL, 0))
    sheet.paste(alphabet.resize((len(LETTERS) * 28, 28), Image.BILINEAR), (30, y0 + 196))
    sheet.paste(alphabet, (30, y0 + 236))
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

    rain = compose(make_rain(), (255, 255, 255))
    letters = compose(make_letters(), LETTER_GREEN)
    pictures = [(rain, "glyphs_rain.raw"), (letters, "glyphs_letters.raw")]
    for name, signs in GLYPH_SETS:
        pictures.append((compose(make_set(signs), (255, 255, 255)), name))
    for pic, name in pictures:
        data = pic.tobytes()
        assert len(data) == SIDE * SIDE * 3
        with open(os.path.join(args.out, "resources", name), "wb") as out:
            out.write(data)
    contact_sheet(rain, letters).save(os.path.join(args.out, "docs", "glyphs.png"),
                                      optimize=True)


if __name__ == "__main__":
    main()
