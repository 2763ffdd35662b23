#!/usr/bin/env bash
# End-to-end runs of `Torvex.scr /s` under Wine on a virtual display: the screen shows rain and a
# key ends the saver with exit code 0; four large mouse moves end it too; without an OpenGL
# library it reports that, opens no saver window and ends with exit code 0; on this one monitor a
# stored display mode the screen cannot take (or a 0, "not set") runs it at the desktop's
# resolution whatever "Monitors" holds.
# Screenshots go to artifacts/saver/. Exits non-zero on the first failure.
set -u
cd "$(dirname "$0")/../.."
build="${TORVEX_BUILD_DIR:-build/win64}"
prefix="$build/wineprefix"
scr="$build/Torvex.scr"
art=artifacts/saver
mkdir -p "$art"
rm -f "$art"/*.rc
[ -f "$scr" ] || { echo "saver.sh: $scr is missing: build the win64 preset first" >&2; exit 1; }

fail() { echo "saver.sh: FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }

# Never the user's own screen: the saver grabs it whole and the test types into it.
export TORVEX_OWN_DISPLAY=1
scripts/wine-run --prefix "$prefix" --boot || fail "the Wine prefix did not boot"
trap 'scripts/wine-run --prefix "$prefix" --stop' EXIT
export DISPLAY=":$(cat "$prefix.state/xvfb.display")"

# Starts the saver in the background; its exit code lands in $art/NAME.rc.
start() {  # name [extra DLL overrides]
  local name=$1 overrides="mscoree,mshtml=${2:+;$2}"
  ( WINEDLLOVERRIDES="$overrides" scripts/wine-run --prefix "$prefix" -- "$scr" /s \
      >"$art/$name.log" 2>&1; echo $? >"$art/$name.rc" ) &
}
# Waits up to SECONDS for NAME to end and prints its exit code, or "running".
finish() {  # name seconds
  for _ in $(seq $(($2 * 10))); do
    [ -s "$art/$1.rc" ] && { cat "$art/$1.rc"; return 0; }
    sleep 0.1
  done
  echo running
}
# window, colour_fractions, at_least, at_most
source tests/e2e/lib/screen.bash

# The default settings, whatever earlier runs stored.
key='HKCU\Software\Qor\Torvex Saver V2'
reg() { scripts/wine-run --prefix "$prefix" -- reg "$@" >/dev/null 2>&1; }
reg delete "$key" /f

step "a key ends the saver, which showed rain"
xdotool mousemove 200 200
start key
id=$(window Torvex 60)
[ -n "$id" ] || fail "no saver window appeared (log: $art/key.log)"
sleep 1.5
import -window root "$art/rain.png" || fail "no screenshot"
read -r dark green white < <(colour_fractions "$art/rain.png")
echo "   dark $dark, green $green, white $white (fractions of the screen)"
at_least "$dark" 0.5 || fail "the screen is not mostly black ($art/rain.png)"
at_least "$green" 0.01 || fail "too little green rain on the screen ($art/rain.png)"
at_least "$white" 0.00002 || fail "no white heads on the screen ($art/rain.png)"
at_most "$white" 0.05 || fail "far too much white on the screen ($art/rain.png)"
xdotool key space
rc=$(finish key 2)
[ "$rc" = 0 ] || fail "after a key the saver gave '$rc', expected exit code 0 within 2 s"

step "four large mouse moves end the saver, three do not"
xdotool mousemove 200 200
start mouse
[ -n "$(window Torvex 60)" ] || fail "no saver window appeared (log: $art/mouse.log)"
sleep 1
for target in "800 600" "200 200" "800 600"; do
  xdotool mousemove $target
  sleep 0.5
done
sleep 0.5
[ "$(finish mouse 0)" = running ] || fail "the saver ended after three large moves"
xdotool mousemove 200 200
rc=$(finish mouse 2)
[ "$rc" = 0 ] || fail "after the fourth large move the saver gave '$rc', expected 0 within 2 s"

step "without an OpenGL library: a message, no saver window, exit code 0"
start noopengl "opengl32="
box=$(window Error 60)
[ -n "$box" ] || fail "no message box about the missing library (log: $art/noopengl.log)"
import -window root "$art/no-opengl.png" || true
[ -z "$(xdotool search --onlyvisible --name '^Torvex$' 2>/dev/null)" ] ||
  fail "a saver window appeared although OpenGL is missing"
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
xdotool key Return
rc=$(finish noopengl 10)
[ "$rc" = 0 ] || fail "without OpenGL the saver gave '$rc', expected exit code 0"

# A stored mode this screen cannot take, or a 0 ("not set"): rain at the desktop's resolution and
# a key ends the saver with 0. On one monitor every "Monitors" choice, none stored too, runs as the
# single-display saver, so the rows take turns at them.
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
while IFS='|' read -r name values; do
  step "$name: rain at ${screen_w}x$screen_h, a key ends it with 0"
  reg delete "$key" /f
  for value in $values; do
    IFS=: read -r vname vtype vdata <<<"$value"
    reg add "$key" /v "$vname" /t "$vtype" /d "$vdata" /f || fail "could not store $value"
  done
  rm -f "$art/mode.rc"
  start mode
  id=$(window Torvex 60)
  [ -n "$id" ] || fail "$name: no saver window (log $art/mode.log)"
  eval "$(xdotool getwindowgeometry --shell "$id")"
  sleep 1.5
  shot="$art/mode-${name//[^A-Za-z0-9]/-}.png"
  import -window root "$shot" || fail "no screenshot"
  read -r dark green _ < <(colour_fractions "$shot")
  [ "${WIDTH}x$HEIGHT" = "${screen_w}x$screen_h" ] && at_least "$dark" 0.5 && at_least "$green" 0.01 ||
    fail "$name: no rain over the whole screen (window ${WIDTH}x$HEIGHT, $shot)"
  xdotool key space
  rc=$(finish mode 5)
  [ "$rc" = 0 ] || fail "$name: after a key the saver gave '$rc', expected exit code 0"
done <<'TABLE'
1920x1080|ScrWidth:REG_DWORD:1920 ScrHeight:REG_DWORD:1080
every value 0x7fffffff, Monitors 0|ScrWidth:REG_DWORD:0x7fffffff ScrHeight:REG_DWORD:0x7fffffff ColorBits:REG_DWORD:0x7fffffff Hertz:REG_DWORD:0x7fffffff Monitors:REG_DWORD:0
ColorBits 1, Monitors 1|ColorBits:REG_DWORD:1 Monitors:REG_DWORD:1
ScrWidth a REG_SZ, Monitors 2|ScrWidth:REG_SZ:abc Monitors:REG_DWORD:2
ScrHeight a 4-byte REG_BINARY|ScrHeight:REG_BINARY:00040000
ScrWidth 0|ScrWidth:REG_DWORD:0
ScrHeight 0|ScrHeight:REG_DWORD:0
ColorBits 0|ColorBits:REG_DWORD:0
Hertz 0|Hertz:REG_DWORD:0
TABLE
reg delete "$key" /f

echo "saver.sh: all runs passed (screenshots in $art/)"
