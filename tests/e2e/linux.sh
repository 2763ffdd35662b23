#!/usr/bin/env bash
# End-to-end runs of the Linux program (build/linux/torvex) on a virtual display (Xvfb, GLX through
# Mesa), in a window made as a daemon makes one (tests/x11/host_window): rain inside the window
# and nothing outside it for --window-id and $XSCREENSAVER_WINDOW (hex and decimal), a resize, a
# 32-bit ARGB window, nothing drawn while unmapped, the window destroyed under it, the three end
# signals and SIGSTOP/SIGCONT, a key and the window manager's close in its own window, the message
# standing in the middle with --speed 0, one field per monitor on the root window (XRandR, and
# Xinerama without XRandR), bad options, no GLX, no libGL.so.1, a window id naming no window; it
# writes nothing and links only Xlib, XRandR, zlib and the C and C++ runtimes.
# Screenshots: artifacts/linux/.
set -u
cd "$(dirname "$0")/../.."
torvex="${TORVEX_LINUX_BUILD_DIR:-build/linux}/torvex"
host="${TORVEX_BUILD_DIR:-build/native}/tests/x11/host_window"
art=artifacts/linux
mkdir -p "$art"
rm -f "$art"/*.png
fail() { echo "linux.sh: FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }
for f in "$torvex" "$host"; do
  [ -x "$f" ] || fail "$f is missing: build the linux and native presets first"
done
. tests/support/dependency.sh
for tool in Xvfb Xephyr xdotool import convert readelf; do
  command -v "$tool" >/dev/null || missing_dependency "$tool"
done
. tests/e2e/lib/screen.bash  # colour_fractions, at_least, at_most
dir=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"' EXIT
mkdir "$dir/home"  # a home of its own, which it must leave empty
export HOME="$dir/home"
unset XDG_CACHE_HOME XSCREENSAVER_WINDOW

xserver() {  # name program options... -> the display number in $dir/NAME.display
  "$2" -displayfd 3 -nolisten tcp "${@:3}" 3>"$dir/$1.display" 2>"$art/$1.log" &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$dir/$1.display" ] && return 0; sleep 0.1; done
  fail "$2 ($1) did not start (see $art/$1.log)"
}
xserver screen Xvfb -screen 0 640x480x24 -br
export DISPLAY=":$(cat "$dir/screen.display")"

# The host window: its id in $window; host_do sends it a command and waits for its "ok".
start_host() {  # WxH+X+Y [--argb] | --monitors WxH+X+Y...
  rm -f "$dir/host.in" "$dir/host.out"
  mkfifo "$dir/host.in"
  "$host" "$@" <"$dir/host.in" >"$dir/host.out" &
  pids+=($!)
  exec 4>"$dir/host.in"
  for _ in $(seq 50); do [ -s "$dir/host.out" ] && break; sleep 0.1; done
  window=$(head -1 "$dir/host.out")
  [ -n "$window" ] || fail "the host window did not appear"
}
host_do() {  # command
  local before
  before=$(grep -c '^ok$' "$dir/host.out")
  echo "$1" >&4
  for _ in $(seq 50); do
    [ "$(grep -c '^ok$' "$dir/host.out")" -gt "$before" ] && return 0
    sleep 0.1
  done
  fail "the host window did not $1"
}
stop_host() { echo quit >&4; exec 4>&-; }

# torvex in the background (pid in $tpid): start NAME [VAR=value...] ARGUMENTS...
start() {
  tname=$1
  shift
  local vars=()
  while [[ ${1:-} == *=* ]]; do vars+=("$1"); shift; done
  env "${vars[@]}" "$torvex" "$@" >"$art/$tname.out" 2>"$art/$tname.err" &
  tpid=$!
}
# Waits up to SECONDS for it to end; fails unless it ended with CODE (or, for "<128", any code
# below 128) and wrote nothing on stdout or stderr. Its time to end is in $took (ms).
ends_with() {  # code seconds what
  local from rc=running
  from=$(date +%s%3N)
  for _ in $(seq $(($2 * 100))); do kill -0 "$tpid" 2>/dev/null || break; sleep 0.01; done
  took=$(($(date +%s%3N) - from))
  if kill -0 "$tpid" 2>/dev/null; then kill -KILL "$tpid"; else wait "$tpid"; rc=$?; fi
  [ "$rc" = "$1" ] || { [ "$1" = "<128" ] && [ "$rc" != running ] && [ "$rc" -lt 128 ]; } ||
    fail "$3: exit code $rc, expected $1 within $2 s"
  [ ! -s "$art/$tname.out" ] || fail "$tname wrote to stdout: $(head -3 "$art/$tname.out")"
  [ ! -s "$art/$tname.err" ] || fail "$tname wrote to stderr: $(head -3 "$art/$tname.err")"
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Rain (green, or amber: red well above blue) inside geometry WxH+X+Y of a screenshot taken now,
# and not a lit pixel outside it.
rain_in() {  # name geometry [amber]
  local w h x y dark green white lit
  IFS='x+' read -r w h x y <<<"$2"
  import -window root "$art/$1.png" || fail "no screenshot"
  convert "$art/$1.png" -crop "$2" +repage "$dir/inside.png"
  read -r dark green white < <(colour_fractions "$dir/inside.png")
  [ "${3:-}" != amber ] ||
    green=$(convert "$dir/inside.png" -format '%[fx:mean.r > 3 * mean.b ? mean.r * 3 : 0]' info:)
  echo "   $1: inside dark $dark, ${3:-green} $green, white $white"
  at_least "$dark" 0.4 && at_least "$green" 0.03 && at_most "$white" 0.05 ||
    fail "$1: not rain in the window ($art/$1.png)"
  lit=$(convert "$art/$1.png" -fill black -draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))" \
    -colorspace gray -format '%[max]' info:)
  [ "${lit%.*}" = 0 ] || fail "$1: something was drawn outside the window ($art/$1.png)"
}
# Samples the screen until CHECK (a function of the screenshot) passes, for up to 30 s.
watch_for() {  # name check
  local until=$(($(date +%s) + 30))
  while [ "$(date +%s)" -lt "$until" ]; do
    import -window root "$art/$1.png" 2>/dev/null && "$2" "$art/$1.png" && return 0
    sleep 0.2
  done
  fail "$1: not seen within 30 s ($art/$1.png)"
}
# Cheap enough to sample a few times a second: the fraction of near-white pixels, and the mean
# green light, of a rectangle.
bright() { convert "$1" -crop "$2" +repage -colorspace gray -threshold 75% -format '%[fx:mean]' info:; }
greenlight() { convert "$1" -crop "$2" +repage -format '%[fx:mean.g]' info:; }

step "the binary links only Xlib, XRandR, zlib and the C and C++ runtimes"
for lib in $(readelf -d "$torvex" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  [[ $lib =~ ^lib(X11|Xrandr|z|c|m|stdc\+\+|gcc_s)\.so ]] || fail "torvex needs $lib"
done

step "bad options: one line naming the option, exit code 2, before any display is opened"
while IFS='|' read -r args text; do
  # shellcheck disable=SC2086
  DISPLAY=nowhere:0 "$torvex" $args >"$dir/out" 2>"$dir/err"
  code=$?
  [ "$code" = 2 ] && [ "$(wc -l <"$dir/err")" = 1 ] && grep -qF -- "$text" "$dir/err" &&
    [ ! -s "$dir/out" ] || fail "torvex $args: exit code $code, stderr '$(cat "$dir/err")'"
done <<'EOF'
--bogus|'--bogus'
-size many|-size needs a whole number, not 'many'
--speed|--speed needs a value
--color pink|--color needs
--glyphs 2x|--glyphs needs
--window-id 0xZZ|--window-id needs a window id
--root --window-id|--window-id needs a value
EOF
[ "$("$torvex" --help | grep -oE -- '--(message|size|speed|no-continuous|no-fast|color|glyphs|root|window-id)' |
  sort -u | wc -l)" = 9 ] || fail "--help does not list every option"

step "--window-id (hex): rain inside the window only; it survives SIGSTOP/SIGCONT; SIGTERM ends it"
start_host 320x240+100+80
start hex --window-id "$window" -visual default -fps
sleep 2
rain_in window-id 320x240+100+80
kill -STOP "$tpid" && sleep 1 && kill -CONT "$tpid" && sleep 0.5  # as a debugger or a shell does
import -window root "$dir/a.png" && sleep 0.5 && import -window root "$dir/b.png"
changed=$(compare -metric AE "$dir/a.png" "$dir/b.png" null: 2>&1)
[ "${changed%% *}" -gt 0 ] 2>/dev/null || fail "no rain falls after SIGSTOP and SIGCONT"
kill -TERM "$tpid"
ends_with 0 1 "SIGTERM"  # 16-80 ms idle (docs/PERFORMANCE.md); 1 s leaves room for a loaded machine
echo "   SIGTERM to exit: $took ms"

step "\$XSCREENSAVER_WINDOW (hex) with --root, then a resize: the field fills the new size"
start xs-hex XSCREENSAVER_WINDOW="$window" -root
sleep 2
rain_in xscreensaver-window 320x240+100+80
host_do "resize 480 360"
sleep 1.5
rain_in resized 480x360+100+80
# The part the resize added (right of the old width) has rain of its own.
convert "$art/resized.png" -crop 160x360+420+80 +repage "$dir/added.png"
read -r _ green _ < <(colour_fractions "$dir/added.png")
at_least "$green" 0.03 || fail "no rain in the part the resize added ($art/resized.png)"
kill -INT "$tpid"
ends_with 0 2 "SIGINT"
stop_host

step "\$XSCREENSAVER_WINDOW (decimal), a 32-bit ARGB window: rain; unmapped: nothing, no CPU"
start_host 400x300+120+90 --argb
start xs-dec XSCREENSAVER_WINDOW="$((window))" --root --color amber --glyphs binary
sleep 2
rain_in argb 400x300+120+90 amber
host_do unmap
sleep 0.5
used=$(cpu_ticks "$tpid")
sleep 2
used=$(($(cpu_ticks "$tpid") - used))
echo "   unmapped: $used CPU ticks in 2 s"
[ "$used" -le 4 ] || fail "it used $used CPU ticks in 2 s while unmapped"
host_do map
sleep 1.5
rain_in remapped 400x300+120+90 amber

step "the window destroyed under it: it ends quietly, no crash"
host_do destroy
ends_with "<128" 3 "its window destroyed"
stop_host

step "--speed 0: the message falls into the middle of the window and stands there"
start_host 480x320+80+80
start message --window-id "$((window))" --speed 0
# Letters standing across the middle, the rain above them drained away.
standing() {
  at_least "$(bright "$1" 480x40+80+220)" 0.004 && at_most "$(greenlight "$1" 480x120+80+80)" 0.004
}
watch_for message standing
kill -TERM "$tpid"
ends_with 0 2 "the message run"
stop_host

step "--root on two monitors: one field each, the message in each monitor's middle"
start_host --monitors 384x480+0+0 256x480+384+0
start root --root --speed 0
both_standing() {
  at_least "$(bright "$1" 384x40+0+220)" 0.004 && at_least "$(bright "$1" 256x40+384+220)" 0.004 &&
    at_most "$(greenlight "$1" 640x160+0+0)" 0.004
}
watch_for root-monitors both_standing
kill -HUP "$tpid"
ends_with 0 2 "SIGHUP"
stop_host

step "--root on a server joining two screens with Xinerama, no XRandR: the message in each"
xserver outer Xvfb -screen 0 1100x520x24
DISPLAY=":$(cat "$dir/outer.display")" \
  xserver nested Xephyr -screen 640x480 -screen 400x300 +xinerama -extension RANDR
nested=":$(cat "$dir/nested.display")"
start nested DISPLAY="$nested" --root --speed 0
both_screens() {
  at_least "$(bright "$1" 640x40+0+220)" 0.004 && at_least "$(bright "$1" 400x40+640+130)" 0.004 &&
    at_most "$(greenlight "$1" 640x160+0+0)" 0.004
}
DISPLAY="$nested" watch_for root-xinerama both_screens
kill -TERM "$tpid"
ends_with 0 2 "SIGTERM on the nested server"  # and nothing on stderr

step "its own window: titled Torvex; a key, or the window manager's close request, ends it with 0"
for how in key close; do
  start "own-$how" --size 42
  own=$(timeout 10 xdotool search --sync --name '^Torvex$' | head -1)
  [ -n "$own" ] || fail "no window titled Torvex"
  sleep 1.5
  [ "$how" = key ] && xdotool key --window "$own" space 2>/dev/null
  [ "$how" = close ] && "$host" --close "$own"
  ends_with 0 2 "$how"
done

step "no GLX, no libGL.so.1, a window id naming no window: one line each, exit code 1"
xserver noglx Xvfb -screen 0 320x240x24 -extension GLX
mkdir "$dir/nogl"
: >"$dir/nogl/libGL.so.1"  # found first, and no library
while IFS='|' read -r vars args text; do
  # shellcheck disable=SC2086
  env $vars "$torvex" $args >"$dir/out" 2>"$dir/err"
  code=$?
  [ "$code" = 1 ] && grep -q "$text" "$dir/err" ||
    fail "$vars torvex $args: exit code $code, stderr '$(cat "$dir/err")'"
done <<EOF
DISPLAY=:$(cat "$dir/noglx.display")|--root|the display has no GLX
LD_LIBRARY_PATH=$dir/nogl|--root|cannot load libGL.so.1
HOME=$HOME|--window-id 0x7ffffff|there is no window 0x7ffffff
EOF

step "nothing written to disk"
[ -z "$(ls -A "$HOME")" ] || fail "it wrote into its home: $(cd "$HOME" && find . | head -5)"

echo "linux.sh: all runs passed (screenshots in $art/)"
