#!/usr/bin/env bash
# End-to-end runs of `Torvex.scr /s` on two monitors under Wine: a virtual X server (Xvfb) hosts
# a nested one with two screens side by side (Xephyr with Xinerama), which Wine reports as two
# monitors, 1024x768 at (0,0) and 800x600 at (1024,0), once it is told not to use XRandR.
# Checks, from screenshots: nothing stored rains on both, "Monitors" 0 on the first only, 1 on
# both with a message
# centred on each after the drain, 2 on the first with the second black, 1 with a stored display
# mode that cannot be set still rains; and at 144 logical pixels per inch the rain still reaches
# every edge of both monitors. A key ends every run with code 0. Screenshots: artifacts/monitors/.
set -u
cd "$(dirname "$0")/../.."
build="${TORVEX_BUILD_DIR:-build/win64}"
scr="$build/Torvex.scr"
probe="$build/tests/windows/monitor_probe.exe"
prefix="$build/wineprefix-monitors"
art=artifacts/monitors
mkdir -p "$art"
rm -f "$art"/*.rc
for f in "$scr" "$probe"; do
  [ -f "$f" ] || { echo "monitors.sh: $f is missing: build the win64 preset first" >&2; exit 1; }
done
. tests/support/dependency.sh
command -v Xephyr >/dev/null || missing_dependency "Xephyr (package xserver-xephyr)"

fail() { echo "monitors.sh: FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }
. scripts/lib/two-monitors.bash
trap stop_two_monitors EXIT
start_two_monitors "$art" "$prefix"
reg() { "$wine" reg "$@" </dev/null >/dev/null 2>&1; }
key='HKCU\Software\Qor\Torvex Saver V2'

step "Wine reports two monitors side by side"
scripts/wine-run --prefix "$prefix" -- "$probe" | tr -d '\r' >"$art/probe.txt"
grep -qx 'monitor 0 0 1024 768 primary' "$art/probe.txt" &&
  grep -qx 'monitor 1024 0 800 600 other' "$art/probe.txt" ||
  fail "the two monitors are not there (see $art/probe.txt)"

# The two monitors' rectangles in the screenshot, and the mean green light of a rectangle.
FIRST=1024x768+0+0
SECOND=800x600+1024+0
green() {  # file geometry
  convert "$1" -crop "$2" +repage -format '%[fx:mean.g]' info:
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Starts the saver, waits for its window, runs CHECK (a shell function taking the screenshot
# file) until it passes or SECONDS run out, ends the saver with a key and wants code 0.
run() {  # name seconds check
  local name=$1 seconds=$2 check=$3 ok=1
  ( scripts/wine-run --prefix "$prefix" -- "$scr" /s >"$art/$name.log" 2>&1; echo $? >"$art/$name.rc" ) &
  timeout 60 xdotool search --sync --onlyvisible --name '^Torvex$' >/dev/null 2>&1 ||
    fail "$name: no saver window (see $art/$name.log)"
  sleep 2
  for _ in $(seq "$seconds"); do
    import -window root "$art/$name.png"
    if "$check" "$art/$name.png"; then ok=0; break; fi
    sleep 1
  done
  xdotool key space
  for _ in $(seq 100); do [ -s "$art/$name.rc" ] && break; sleep 0.1; done
  [ "$ok" = 0 ] || fail "$name: see $art/$name.png"
  [ "$(cat "$art/$name.rc" 2>/dev/null)" = 0 ] || fail "$name: exit code $(cat "$art/$name.rc" 2>/dev/null)"
}

rain_first_only() { above "$(green "$1" $FIRST)" 0.05 && ! above "$(green "$1" $SECOND)" 0.002; }
rain_on_both() { above "$(green "$1" $FIRST)" 0.05 && above "$(green "$1" $SECOND)" 0.05; }
# After the drain: each monitor dark in its top quarter, with the letters in its middle rows
# whose centre is the monitor's centre (within 8% of its width).
message_centred() {  # file x y width height
  local file=$1 x=$2 y=$3 w=$4 h=$5 top profile
  top=$(convert "$file" -crop "${w}x$((h / 4))+$x+$y" +repage -format '%[fx:maxima]' info:)
  above "$top" 0.02 && return 1
  # The landed letters are the only blue light in the middle rows (the trails are green): the
  # bright blue pixels as one row, how many per column.
  profile=$(convert "$file" -crop "${w}x80+$x+$((y + h / 2 - 40))" +repage -channel B -separate \
    -threshold 70% -scale "${w}x1!" -depth 16 txt:- |
    sed -nE 's/^([0-9]+),0: \(([0-9]+).*/\1 \2/p')
  awk -v w="$w" '{ sum += $2; moment += $1 * $2 }
    END { exit !(sum > 0 && moment / sum - w / 2 < 0.08 * w && w / 2 - moment / sum < 0.08 * w) }' \
    <<<"$profile"
}
message_on_both() { message_centred "$1" 0 0 1024 768 && message_centred "$1" 1024 0 800 600; }
# Rain reaches the last pixels of both monitors: their right and bottom strips hold green.
rain_to_every_edge() {
  local strip
  for strip in 48x768+976+0 1024x48+0+720 48x600+1776+0 800x48+1024+552; do
    above "$(green "$1" "$strip")" 0.02 || return 1
  done
}

reg delete "$key" /f
step "nothing stored (the default, every monitor): rain on both monitors"
run every 5 rain_on_both

step "Monitors 0: rain on the first monitor only"
reg add "$key" /v Monitors /t REG_DWORD /d 0 /f
run primary 10 rain_first_only

step "Monitors 1: after the drain a message centred on each monitor"
reg add "$key" /v Monitors /t REG_DWORD /d 1 /f
# Fewer columns and a step every frame bring the message round sooner.
reg add "$key" /v Size /t REG_DWORD /d 20 /f
reg add "$key" /v Speed /t REG_DWORD /d 0 /f
run message 120 message_on_both
reg delete "$key" /v Size /f
reg delete "$key" /v Speed /f

step "Monitors 2: rain on the first monitor, the second black"
reg add "$key" /v Monitors /t REG_DWORD /d 2 /f
run others_black 10 rain_first_only

step "Monitors 1 with a stored display mode that cannot be set: rain anyway"
reg add "$key" /v Monitors /t REG_DWORD /d 1 /f
reg add "$key" /v ScrWidth /t REG_DWORD /d 640 /f
reg add "$key" /v ScrHeight /t REG_DWORD /d 480 /f
reg add "$key" /v ColorBits /t REG_DWORD /d 8 /f
run impossible_mode 10 rain_on_both

step "144 logical pixels per inch: the rain still covers every pixel of both monitors"
reg delete "$key" /f
reg add "$key" /v Monitors /t REG_DWORD /d 1 /f
reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f
restart_wine "$prefix" || fail "the Wine prefix did not restart"
scripts/wine-run --prefix "$prefix" -- "$probe" | tr -d '\r' >"$art/probe-144.txt"
grep -qx 'dpi 144' "$art/probe-144.txt" || fail "the display is not at 144 dpi (see $art/probe-144.txt)"
run high_dpi 10 rain_to_every_edge

echo "monitors.sh: all end-to-end checks passed"
