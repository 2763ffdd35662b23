#!/usr/bin/env bash
# The frames torvex-tool shot draws now against the reference frames in pictures/, drawn before
# the drawing moved to vertex arrays: each scene must match by picture_match's rule.
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

while read -r name arguments; do
    "$tool" shot --out "$dir/$name.png" $arguments || { echo "FAIL: $name: shot exited with $?"; failures=$((failures + 1)); continue; }
    if ! result=$("$match" "$pictures/$name.png" "$dir/$name.png"); then
        echo "FAIL: $name: $result"
        failures=$((failures + 1))
    fi
done <<TABLE
default     --steps 150 --tick 7
message     --steps 450 --tick 7 --width 640 --height 480
continuous  --steps 500 --tick 7 --continuous --width 640 --height 480
fast        --steps 345 --tick 7 --fast --width 640 --height 480
fast_rain   --steps 150 --tick 9 --fast --width 640 --height 480
monitors    --steps 340 --tick 7 --monitor 640x480+0+0 --monitor 320x240+640+0
color       --steps 150 --tick 7 --color 4 --width 640 --height 480
glyphs      --steps 150 --tick 7 --glyphs 3 --width 640 --height 480
TABLE

[ $failures -eq 0 ] && echo "reference pictures: all match"
[ $failures -eq 0 ]
