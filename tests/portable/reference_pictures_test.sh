#!/usr/bin/env bash
# The frames torvex-tool shot draws now, through the run API, against the reference frames in
# pictures/ drawn by the earlier paths: each scene must match its reference by picture_match's
# rule. A run resized before its first step must match a run started at its final size.
# Usage: reference_pictures_test.sh PATH/TO/torvex-tool PATH/TO/picture_match
# Without Mesa's off-screen library it skips, or fails under CI (tests/support/dependency.sh).
set -u
. "$(dirname "$0")/../support/dependency.sh"
tool=$1
match=$2
pictures="$(dirname "$0")/pictures"
failures=0
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

if ! "$tool" shot --width 8 --height 8 --out "$dir/probe.png" 2>"$dir/err"; then
    grep -q 'cannot load libOSMesa' "$dir/err" && missing_dependency libOSMesa.so.8
fi

while read -r name reference arguments; do
    "$tool" shot --out "$dir/$name.png" $arguments || { echo "FAIL: $name: shot exited with $?"; failures=$((failures + 1)); continue; }
    if ! result=$("$match" "$pictures/$reference.png" "$dir/$name.png"); then
        echo "FAIL: $name: $result"
        failures=$((failures + 1))
    fi
done <<TABLE
default           default     --steps 150 --tick 7
message           message     --steps 450 --tick 7 --width 640 --height 480
continuous        continuous  --steps 500 --tick 7 --continuous --width 640 --height 480
fast              fast        --steps 345 --tick 7 --fast --width 640 --height 480
fast_rain         fast_rain   --steps 150 --tick 9 --fast --width 640 --height 480
monitors          monitors    --steps 340 --tick 7 --monitor 640x480+0+0 --monitor 320x240+640+0
color             color       --steps 150 --tick 7 --color 4 --width 640 --height 480
glyphs            glyphs      --steps 150 --tick 7 --glyphs 3 --width 640 --height 480
preview           preview     --steps 150 --tick 7 --width 152 --height 112 --size 7
resized           default     --steps 150 --tick 7 --resized-from 640x480
resized_from_4k   default     --steps 150 --tick 7 --resized-from 3840x2160
monitors_resized  monitors    --steps 340 --tick 7 --monitor 640x480+0+0 --monitor 320x240+640+0 --resized-from 800x600
TABLE

[ $failures -eq 0 ] && echo "reference pictures: all match"
[ $failures -eq 0 ]
