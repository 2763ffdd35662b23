#!/usr/bin/env bash
# End-to-end runs of Torvex.scr's modes under Wine on Xvfb: the settings dialog driven with
# xdotool and its stored values read back with `wine reg query`, the saver started with stored
# settings, preview and unknown switches, exact command lines through tests' launcher, and one OK
# repairing a display mode the screen cannot take.
# Screenshots and registry dumps go to artifacts/settings/. Exits non-zero on the first failure.
set -u
cd "$(dirname "$0")/../.."
root=$(pwd)
build="${TORVEX_BUILD_DIR:-build/win64}"
prefix="$build/wineprefix"
art=artifacts/settings
mkdir -p "$art"
scr="$build/Torvex.scr"
launcher="$build/tests/windows/launcher.exe"
for f in "$scr" "$launcher"; do
  [ -f "$f" ] || { echo "settings.sh: $f is missing: build the win64 preset first" >&2; exit 1; }
done

# On failure, end what this script started in its prefix (a dialog left open, a saver).
fail() {
  echo "settings.sh: FAIL: $*" >&2
  WINEPREFIX="$root/$prefix" wineserver -k >/dev/null 2>&1 </dev/null
  exit 1
}
step() { echo "-- $*"; }

scripts/wine-run --prefix "$prefix" --boot || fail "wine prefix did not boot"
export WINEPREFIX="$root/$prefix" WINEARCH=win64 WINEDEBUG=-all
export DISPLAY=$(cat "$prefix.state/display")
. scripts/lib/wine.bash
wine=$(wine_binary)
winpath() { echo "Z:$(cd "$(dirname "$1")" && pwd | sed 's|/|\\|g')\\$(basename "$1")"; }
scr_win=$(winpath "$scr")
key='HKCU\Software\Qor\Torvex Saver V2'

reg() { "$wine" reg "$@" </dev/null 2>/dev/null; }

# Starts PROGRAM ARGS in the background under Wine; its exit code lands in $art/NAME.rc.
start() {  # name program args...
  local name=$1; shift
  ( scripts/wine-run --prefix "$prefix" -- "$@" >"$art/$name.log" 2>&1; echo $? >"$art/$name.rc" ) &
}
# Waits up to SECONDS for the background program NAME to end; prints its exit code.
finish() {  # name seconds
  for _ in $(seq $(($2 * 10))); do
    [ -s "$art/$1.rc" ] && { cat "$art/$1.rc"; return 0; }
    sleep 0.1
  done
  echo timeout
}
window() {  # title: the id of the visible window with that title, waiting up to 30 s
  timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1
}
# The first visible window that was not there before the saver started, waiting up to 30 s.
new_window() {
  local id
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name '.*' 2>/dev/null | sort |
         comm -13 "$art/windows-before-saver.txt" - | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
}
# Opens the settings dialog with COMMAND..., answers it with KEY and expects exit code 0.
answer_dialog() {  # name key command...
  local dialog
  start "$1" "${@:3}"
  dialog=$(window "The Torvex Screen Saver Settings")
  [ -n "$dialog" ] || fail "${*:4} showed no settings dialog (see $art/$1.log)"
  xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
  sleep 0.3
  xdotool key --clearmodifiers "$2"
  [ "$(finish "$1" 20)" = 0 ] || fail "${*:4} ($1) did not end with code 0 after $2"
}
visible_windows() { xdotool search --onlyvisible --name '.*' 2>/dev/null | wc -l; }

rm -f "$art"/*.rc
reg delete "$key" /f >/dev/null

step "/c shows the settings dialog; a typed message is stored on OK"
start dialog "$scr" /c
dialog=$(window "The Torvex Screen Saver Settings")
[ -n "$dialog" ] || fail "/c showed no settings dialog"
sleep 1
import -window root "$art/settings-dialog.png"
xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
sleep 0.3
xdotool key --clearmodifiers Tab            # from the mode list to the message, selected whole
xdotool type --delay 30 "end to end 9"
sleep 0.3
import -window root "$art/settings-dialog-typed.png"
xdotool key --clearmodifiers Return         # OK
[ "$(finish dialog 20)" = 0 ] || fail "/c did not end with code 0 after OK"
reg query "$key" | tr -d '\r' >"$art/registry-after-ok.txt"
grep -Eq 'MSTRING +REG_SZ +END TO END  *$' "$art/registry-after-ok.txt" ||
  fail "the typed message is not stored filtered (see $art/registry-after-ok.txt)"
for value in Continuous ScrWidth ScrHeight ColorBits Hertz Software Size Speed 3dfx RainColor GlyphSet; do
  grep -Eq "^ +$value +REG_DWORD" "$art/registry-after-ok.txt" || fail "OK did not store $value"
done
# Nothing was stored before, so the selected mode is the one current at start.
read -r width height < <(xdotool getdisplaygeometry)
grep -Eq "^ +ScrWidth +REG_DWORD +$(printf '0x%x' "$width")\$" "$art/registry-after-ok.txt" &&
  grep -Eq "^ +ScrHeight +REG_DWORD +$(printf '0x%x' "$height")\$" "$art/registry-after-ok.txt" ||
  fail "OK did not store the current display mode ${width}x$height"

step "/c:12345, a number that names no window, still opens the dialog; Cancel ends it with 0"
answer_dialog orphan Escape "$scr" /c:12345  # Cancel

step "/s runs with the stored settings and ends on a key"
reg add "$key" /v Continuous /t REG_DWORD /d 1 /f >/dev/null
reg add "$key" /v Size /t REG_DWORD /d 42 /f >/dev/null
reg query "$key" | tr -d '\r' >"$art/registry-before-saver.txt"
xdotool search --onlyvisible --name '.*' 2>/dev/null | sort >"$art/windows-before-saver.txt"
start saver "$scr" /s
saver=$(new_window)
[ -n "$saver" ] || fail "/s showed no window (see $art/saver.log)"
sleep 2
import -window root "$art/saver.png"
green=$(convert "$art/saver.png" -format '%[fx:mean.g>mean.r && mean.g>mean.b ? 1 : 0]' info:)
[ "$green" = 1 ] || fail "the saver's screen is not green rain (see $art/saver.png)"
# The stored Size 42 must show as 42 columns across the screen: of 30 to 69 columns, 42 is the
# strongest frequency in the picture's green column profile (52, the default, would be).
convert "$art/saver.png" -colorspace RGB -channel G -separate \
  -scale "$(identify -format %w "$art/saver.png")x1!" -depth 8 txt:- |
  sed -nE 's/^([0-9]+),0: \(([0-9.]+).*/\2/p' >"$art/saver-columns.txt"
python3 - "$art/saver-columns.txt" 42 <<'PY' || fail "the saver did not draw the stored Size 42"
import math, sys
values = [float(line) for line in open(sys.argv[1])]
n = len(values)
mean = sum(values) / n
def amplitude(columns):
    f = 2 * math.pi * columns / n
    re = sum((v - mean) * math.cos(f * x) for x, v in enumerate(values))
    im = sum((v - mean) * math.sin(f * x) for x, v in enumerate(values))
    return math.hypot(re, im)
strongest = max(range(30, 70), key=amplitude)
print(f"strongest column count {strongest}")
sys.exit(0 if strongest == int(sys.argv[2]) else 1)
PY
[ -s "$art/saver.rc" ] && fail "/s ended before any key"
xdotool windowfocus "$saver" 2>/dev/null
sleep 0.3
xdotool key --clearmodifiers space
[ "$(finish saver 20)" = 0 ] || fail "/s did not end with code 0 on a key"

step "/s with RainColor 1 stored shows blue rain"
reg add "$key" /v RainColor /t REG_DWORD /d 1 /f >/dev/null
xdotool search --onlyvisible --name '.*' 2>/dev/null | sort >"$art/windows-before-saver.txt"
rm -f "$art/saver-blue.rc"
start saver-blue "$scr" /s
saver=$(new_window)
[ -n "$saver" ] || fail "/s with RainColor 1 showed no window (see $art/saver-blue.log)"
sleep 2
import -window root "$art/saver-blue.png"
read -r red green blue <<<"$(convert "$art/saver-blue.png" \
  -format '%[fx:int(1000*mean.r)] %[fx:int(1000*mean.g)] %[fx:int(1000*mean.b)]' info:)"
[ "$blue" -gt 10 ] && [ "$blue" -gt "$green" ] && [ "$green" -gt "$red" ] ||
  fail "RainColor 1 did not show blue rain: mean r $red g $green b $blue (see $art/saver-blue.png)"
xdotool windowfocus "$saver" 2>/dev/null
sleep 0.3
xdotool key --clearmodifiers space
[ "$(finish saver-blue 20)" = 0 ] || fail "/s with RainColor 1 did not end with code 0 on a key"
reg delete "$key" /v RainColor /f >/dev/null

step "/p 42, /x and /a (no password service here) end at once with code 0 and no window"
for args in "/p 42" "/x" "/a"; do
  name=quick-$(echo "$args" | tr -cd 'a-z0-9')
  before=$(visible_windows)
  # shellcheck disable=SC2086
  start "$name" "$scr" $args
  shown=0
  for _ in $(seq 100); do
    [ -s "$art/$name.rc" ] && break
    [ "$(visible_windows)" -gt "$before" ] && shown=1
    sleep 0.1
  done
  [ "$(finish "$name" 1)" = 0 ] || fail "$args did not end at once with code 0"
  [ "$shown" = 0 ] || fail "$args showed a window"
done

step "/a calls the password library's PwdChangePasswordA, after FX_GLIDE_NO_SPLASH=1 is set"
pw="$art/password"
rm -rf "$pw" && mkdir -p "$pw"
cp "$scr" "$build/tests/windows/mpr/MPR.DLL" "$pw/"
for args in "/a 42:password-owned.txt:parent=42" "/a:password-plain.txt:parent=0"; do
  IFS=: read -r switch keep expect <<<"$args"
  rm -f "$pw/password.log"
  # shellcheck disable=SC2086
  WINEDLLOVERRIDES="mpr=n;mscoree,mshtml=" scripts/wine-run --prefix "$prefix" -- "$pw/Torvex.scr" $switch \
    >"$art/password.out" 2>&1 || fail "$switch did not end with code 0"
  [ -f "$pw/password.log" ] || fail "$switch did not call PwdChangePasswordA"
  tr -d '\r' <"$pw/password.log" >"$art/$keep"
  grep -q "^key=SCRSAVE $expect reserved=0,0 splash=1\$" "$art/$keep" ||
    fail "$switch called the password change wrongly: $(cat "$art/$keep")"
done

step "a switch glued to the quoted name is found"
start glued "$launcher" "$scr_win" "\"$scr_win\"/p 42"
[ "$(finish glued 20)" = 0 ] || fail "'\"...\"/p 42' did not end at once with code 0"

step "no switch, and an unquoted name with a switch glued on, open the settings dialog"
reg query "$key" | tr -d '\r' >"$art/registry-before-cancel.txt"
for line in "$scr_win" "$scr_win/s"; do
  start launched "$launcher" "$scr_win" "$line"
  dialog=$(window "The Torvex Screen Saver Settings")
  [ -n "$dialog" ] || fail "command line '$line' opened no settings dialog"
  sleep 0.5
  xdotool windowfocus "$dialog" 2>/dev/null
  if [ "$line" = "$scr_win" ]; then
    # Seven tab stops from the mode list to "ReadMe...": the Read Me box, kept as a picture.
    for _ in 1 2 3 4 5 6 7; do xdotool key --clearmodifiers Tab; done
    xdotool key --clearmodifiers space
    [ -n "$(window "Read Me")" ] || fail "ReadMe... opened no Read Me box"
    sleep 0.5
    import -window root "$art/readme.png"
    xdotool key --clearmodifiers Escape     # closes the Read Me box only
    sleep 0.5
    [ -n "$(window "The Torvex Screen Saver Settings")" ] || fail "the settings dialog closed with the Read Me box"
  fi
  xdotool key --clearmodifiers Escape       # Cancel
  [ "$(finish launched 20)" = 0 ] || fail "command line '$line' did not end with code 0"
  rm -f "$art/launched.rc"
done
reg query "$key" | tr -d '\r' >"$art/registry-after-cancel.txt"
cmp -s "$art/registry-before-cancel.txt" "$art/registry-after-cancel.txt" ||
  fail "Cancel changed the stored settings"

step "over a display mode stored as 0x7fffffff, one OK stores the current mode"
for value in ScrWidth ScrHeight ColorBits Hertz; do
  reg add "$key" /v $value /t REG_DWORD /d 0x7fffffff /f >/dev/null
done
answer_dialog repair Return "$scr" /c  # OK
# The first OK above, with nothing stored, stored the current mode.
mode_of() { tr -d '\r' | grep -E '^ +(ScrWidth|ScrHeight|ColorBits|Hertz) '; }
[ "$(reg query "$key" | mode_of)" = "$(mode_of <"$art/registry-after-ok.txt")" ] ||
  fail "OK over 0x7fffffff did not store the current mode: $(reg query "$key" | mode_of)"

reg delete "$key" /f >/dev/null
scripts/wine-run --prefix "$prefix" --stop
echo "settings.sh: all end-to-end checks passed"
