#!/usr/bin/env bash
# torvex-tool shot from the outside: a PNG of the asked size, the same scene as sim for the same
# command line (only the tick's low 8 bits count), the message mid-screen, and bad input refused.
# Usage: render_shot_test.sh PATH/TO/torvex-tool   (needs ImageMagick's identify and convert)
# Without Mesa's off-screen library it skips, or fails under CI (tests/support/dependency.sh).
set -u
. "$(dirname "$0")/../support/dependency.sh"
tool=$1
failures=0
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! "$tool" shot --width 8 --height 8 --out "$dir/probe.png" 2>"$dir/err"; then
    grep -q 'cannot load libOSMesa' "$dir/err" && missing_dependency libOSMesa.so.8
fi

"$tool" shot --out "$dir/a.png" --steps 30 --tick 3 || fail "default shot exited with $?"
[ "$(identify -format '%w %h %z %[channels]' "$dir/a.png")" = "1024 768 8 srgb" ] \
    || fail "picture: $(identify -format '%w %h %z %[channels]' "$dir/a.png")"
# Rain on a black screen: mostly dark, some green light.
mean=$(convert "$dir/a.png" -format '%[fx:int(1000*mean.g)] %[fx:int(1000*mean.r)]' info:)
read -r green red <<<"$mean"
[ "$green" -gt 20 ] && [ "$green" -lt 400 ] && [ "$red" -lt "$green" ] || fail "colours: $mean"

# Reproducible; ticks with the same low 8 bits give the same frame, another tick another one.
"$tool" shot --out "$dir/b.png" --steps 30 --tick 259 --interval 31 || fail "second shot"
cmp -s "$dir/a.png" "$dir/b.png" || fail "tick 3 and tick 259 differ"
"$tool" shot --out "$dir/c.png" --steps 30 --tick 4 || fail "third shot"
cmp -s "$dir/a.png" "$dir/c.png" && fail "tick ignored"

# The look options: colour 0 and glyph set 0 are the picture without them, byte for byte; blue
# rain is blue; another glyph set changes the picture.
"$tool" shot --out "$dir/a0.png" --steps 30 --tick 3 --color 0 --glyphs 0 || fail "look 0 shot"
cmp -s "$dir/a.png" "$dir/a0.png" || fail "--color 0 --glyphs 0 changed the picture"
"$tool" shot --out "$dir/blue.png" --steps 30 --tick 3 --color 1 || fail "blue shot"
read -r red green blue <<<"$(convert "$dir/blue.png" \
    -format '%[fx:int(1000*mean.r)] %[fx:int(1000*mean.g)] %[fx:int(1000*mean.b)]' info:)"
[ "$blue" -gt 20 ] && [ "$blue" -gt "$green" ] && [ "$green" -gt "$red" ] \
    || fail "blue rain: mean r $red g $green b $blue"
"$tool" shot --out "$dir/hex.png" --steps 30 --tick 3 --glyphs 3 || fail "hex shot"
cmp -s "$dir/a.png" "$dir/hex.png" && fail "--glyphs 3 ignored"

# Step 450: the rain has drained and the message stands in the middle rows, nowhere else.
"$tool" shot --out "$dir/m.png" --steps 450 --width 640 --height 480 || fail "message shot"
middle=$(convert "$dir/m.png" -crop 640x40+0+220 -format '%[fx:int(1000*maxima)]' info:)
top=$(convert "$dir/m.png" -crop 640x180+0+0 -format '%[fx:int(1000*maxima)]' info:)
[ "$middle" -gt 500 ] && [ "$top" -eq 0 ] || fail "message: middle $middle top $top"

# Monitors: the picture spans them all; each shows its own message in its middle rows, and what
# lies outside every monitor (below the shorter second one) stays black.
"$tool" shot --out "$dir/two.png" --steps 450 --monitor 640x480+0+0 --monitor 320x240+640+0 \
    || fail "monitors shot"
[ "$(identify -format '%w %h' "$dir/two.png")" = "960 480" ] || fail "monitors picture size"
first=$(convert "$dir/two.png" -crop 640x40+0+220 -format '%[fx:int(1000*maxima)]' info:)
second=$(convert "$dir/two.png" -crop 320x30+640+105 -format '%[fx:int(1000*maxima)]' info:)
outside=$(convert "$dir/two.png" -crop 320x240+640+240 -format '%[fx:int(1000*maxima)]' info:)
[ "$first" -gt 500 ] && [ "$second" -gt 500 ] && [ "$outside" -eq 0 ] \
    || fail "monitors: first $first second $second outside $outside"

# Bad input: status 2 and a usage line; a file that cannot be written: status 1, no file left.
while IFS= read -r arguments; do
    "$tool" shot $arguments >/dev/null 2>"$dir/err"; status=$?
    [ $status -eq 2 ] || fail "'shot $arguments' exited with $status"
    grep -q '^usage: torvex-tool shot' "$dir/err" || fail "'shot $arguments': $(cat "$dir/err")"
done <<TABLE
--width 100
--out $dir/x.png --bogus
--out $dir/x.png --width 0
--out $dir/x.png --width 8193
--out $dir/x.png --steps -1
--out $dir/x.png --monitor 9000x100+0+0
--out $dir/x.png --color 6
--out $dir/x.png --color -1
--out $dir/x.png --color blue
--out $dir/x.png --glyphs 4
--out $dir/x.png --glyphs
--out $dir/x.png --art 48
--out $dir/x.png --art
--out
TABLE
[ ! -e "$dir/x.png" ] || fail "a refused command line wrote a picture"
"$tool" shot --out "$dir/no/such/dir.png" 2>"$dir/err"; status=$?
[ $status -eq 1 ] && grep -q 'cannot write' "$dir/err" || fail "unwritable: $status $(cat "$dir/err")"

[ $failures -eq 0 ] && echo "torvex-tool shot: all checks passed"
