#!/usr/bin/env bash
# Makes bitmap 164, the settings dialog's picture: a frame of the rain drawn by the project's own
# renderer (torvex-tool shot, off-screen through Mesa), shrunk to 150 x 113, under the saver's
# title, saved as a 24-bit BMP. Needs a native build and ImageMagick's convert.
#   resources/make_bitmap.sh [path/to/torvex-tool]
set -eu
cd "$(dirname "$0")/.."
tool="${1:-build/native/tools/torvex-tool}"
[ -x "$tool" ] || { echo "make_bitmap.sh: $tool not found; build the native preset first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Four times the final size, so the glyphs keep their shape when shrunk.
"$tool" shot --out "$work/rain.png" --width 600 --height 452 --size 24 --steps 240 --tick 7
convert "$work/rain.png" -resize '150x113!' \
  \( -size 150x24 xc:'rgba(0,0,0,0.75)' \) -gravity north -composite \
  -font DejaVu-Sans-Bold -pointsize 13 -fill white -gravity north -annotate +0+4 'THE TORVEX' \
  -type TrueColor -depth 8 BMP3:resources/bitmap164.bmp
identify resources/bitmap164.bmp
