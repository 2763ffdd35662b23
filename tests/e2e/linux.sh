#!/usr/bin/env bash
# End-to-end runs of the Linux program (build/linux/torvex) on a virtual display (Xvfb, GLX through
# Mesa), in a window made as a daemon makes one (tests/x11/host_window): rain inside the window
# and nothing outside it for --window-id and $XSCREENSAVER_WINDOW (hex and decimal), a resize, a
# 32-bit ARGB window, nothing drawn while unmapped, the window destroyed under it, SIGTERM, a key
# in its own window, the message standing in the middle with --speed 0, one field per monitor
# on the root window, bad options, a display without GLX; it writes nothing and links only Xlib,
# XRandR, zlib and the C and C++ runtimes. Screenshots: artifacts/linux/.
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
for tool in Xvfb xdotool import convert readelf python3; do
  command -v "$tool" >/dev/null || missing_dependency "$tool"
done
# colour_fractions, at_least, at_most
. tests/e2e/lib/screen.bash

dir=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
# A home of its own: the program must leave it empty.
mkdir "$dir/home"
export HOME="$dir/home"
unset XDG_CACHE_HOME XSCREENSAVER_WINDOW

xvfb() {  # name options... -> the display number in $dir/NAME.display
  Xvfb -displayfd 3 -nolisten tcp "${@:2}" 3>"$dir/$1.display" 2>"$art/$1.log" &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$dir/$1.display" ] && return 0; sleep 0.1; done
  fail "Xvfb ($1) did not start (see $art/$1.log)"
}
xvfb screen -screen 0 640x480x24 -br
export DISPLAY=":$(cat "$dir/screen.display")"

# The host window: its id in $window; host_do sends it a command and waits for its "ok".
start_host() {  # WxH+X+Y [--argb]
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

# torvex in the background: its pid in $tpid, its output in $art/NAME.out and .err.
start() {  # name [VAR=value...] -- arguments...
  local name=$1 vars=()
  shift
  while [ "$1" != -- ]; do vars+=("$1"); shift; done
  shift
  env "${vars[@]}" "$torvex" "$@" >"$art/$name.out" 2>"$art/$name.err" &
  tpid=$!
  tname=$name
}
# Waits up to SECONDS for torvex to end; its exit code in $rc ("running" if it did not end).
finish() {  # seconds
  rc=running
  for _ in $(seq $(($1 * 100))); do kill -0 "$tpid" 2>/dev/null || break; sleep 0.01; done
  kill -0 "$tpid" 2>/dev/null && { kill -KILL "$tpid"; wait "$tpid"; return; }
  wait "$tpid"
  rc=$?
}
quiet() {  # nothing on stdout, nothing on stderr
  [ ! -s "$art/$tname.out" ] || fail "$tname wrote to stdout: $(head -3 "$art/$tname.out")"
  [ ! -s "$art/$tname.err" ] || fail "$tname wrote to stderr: $(head -3 "$art/$tname.err")"
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

shot() { import -window root "$art/$1.png" || fail "no screenshot"; }
# The rain inside geometry WxH+X+Y of the screenshot, and not a lit pixel outside it. Green
# rain is counted by colour_fractions; amber (red well above blue) by its mean light.
rain_in() {  # name geometry [amber]
  local w h x y dark green white lit ratio
  IFS='x+' read -r w h x y <<<"$2"
  convert "$art/$1.png" -crop "$2" +repage "$dir/inside.png"
  read -r dark green white < <(colour_fractions "$dir/inside.png")
  echo "   $1: inside dark $dark, green $green, white $white"
  at_least "$dark" 0.4 || fail "$1: the window is not mostly black ($art/$1.png)"
  if [ "${3:-}" = amber ]; then
    ratio=$(convert "$dir/inside.png" -format '%[fx:mean.r / (mean.b + 0.0001)]' info:)
    at_least "$(convert "$dir/inside.png" -format '%[fx:mean.r]' info:)" 0.02 &&
      at_least "$ratio" 3 || fail "$1: no amber rain in the window ($art/$1.png)"
  else
    at_least "$green" 0.03 || fail "$1: too little rain in the window ($art/$1.png)"
  fi
  at_most "$white" 0.05 || fail "$1: far too much white in the window ($art/$1.png)"
  lit=$(convert "$art/$1.png" -fill black -draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))" \
    -colorspace gray -format '%[max]' info:)
  [ "${lit%.*}" = 0 ] || fail "$1: something was drawn outside the window ($art/$1.png)"
}

step "the binary links only Xlib, XRandR, zlib and the C and C++ runtimes"
needed=$(readelf -d "$torvex" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | tr '\n' ' ')
for lib in $needed; do
  case $lib in
    libX11.so.*|libXrandr.so.*|libz.so.*|libc.so.*|libm.so.*|libstdc++.so.*|libgcc_s.so.*) ;;
    *) fail "torvex needs $lib (needs: $needed)" ;;
  esac
done

step "bad options: one line naming the option, exit code 2, before any display is opened"
while IFS='|' read -r args text; do
  # shellcheck disable=SC2086
  DISPLAY=nowhere:0 "$torvex" $args >"$dir/out" 2>"$dir/err"
  code=$?
  [ "$code" = 2 ] || fail "torvex $args: exit code $code, expected 2"
  [ "$(wc -l <"$dir/err")" = 1 ] && grep -qF -- "$text" "$dir/err" ||
    fail "torvex $args: stderr '$(cat "$dir/err")' should be one line naming $text"
  [ ! -s "$dir/out" ] || fail "torvex $args wrote to stdout"
done <<'EOF'
--bogus|'--bogus'
-size many|-size needs a whole number, not 'many'
--speed|--speed needs a value
--color pink|--color needs
--glyphs 2x|--glyphs needs
--window-id 0xZZ|--window-id needs a window id
--root --window-id|--window-id needs a value
EOF
"$torvex" --help >"$dir/help" 2>&1 || fail "--help did not end with 0"
for option in --message --size --speed --continuous --no-fast --color --glyphs --root --window-id; do
  grep -q -- "$option" "$dir/help" || fail "--help does not list $option"
done

step "--window-id (hex): rain inside the window only; SIGTERM ends it with 0"
start_host 320x240+100+80
start hex -- --window-id "$window" -visual default -fps
sleep 2
shot window-id
rain_in window-id 320x240+100+80
start_ms=$(date +%s%3N)
kill -TERM "$tpid"
finish 2
echo "   SIGTERM to exit: $(($(date +%s%3N) - start_ms)) ms"
[ "$rc" = 0 ] || fail "after SIGTERM: exit code $rc, expected 0"
[ $(($(date +%s%3N) - start_ms)) -le 1000 ] || fail "SIGTERM took over a second"
quiet

step "\$XSCREENSAVER_WINDOW (hex) with --root, then a resize: the field fills the new size"
start xs-hex XSCREENSAVER_WINDOW="$window" -- -root
sleep 2
shot xscreensaver-window
rain_in xscreensaver-window 320x240+100+80
host_do "resize 480 360"
sleep 1.5
shot resized
rain_in resized 480x360+100+80
# The new part of the window (right of and below the old size) has rain of its own.
convert "$art/resized.png" -crop 160x360+420+80 +repage "$dir/added.png"
read -r _ green _ < <(colour_fractions "$dir/added.png")
at_least "$green" 0.03 || fail "no rain in the part the resize added ($art/resized.png)"
kill -INT "$tpid"
finish 2
[ "$rc" = 0 ] || fail "after SIGINT: exit code $rc, expected 0"
quiet
stop_host

step "\$XSCREENSAVER_WINDOW (decimal), a 32-bit ARGB window: rain; unmapped: nothing, no CPU"
start_host 400x300+120+90 --argb
start xs-dec XSCREENSAVER_WINDOW="$((window))" -- --root --color amber --glyphs binary
sleep 2
shot argb
rain_in argb 400x300+120+90 amber
host_do unmap
sleep 0.5
before=$(cpu_ticks "$tpid")
sleep 2
used=$(($(cpu_ticks "$tpid") - before))
echo "   unmapped: $used CPU ticks in 2 s"
[ "$used" -le 4 ] || fail "it used $used CPU ticks in 2 s while unmapped"
host_do map
sleep 1.5
shot remapped
rain_in remapped 400x300+120+90 amber

step "the window destroyed under it: it ends quietly, no crash"
host_do destroy
finish 3
[ "$rc" != running ] || fail "it went on running after its window was destroyed"
[ "$rc" -lt 128 ] || fail "it died of signal $((rc - 128)) after its window was destroyed"
echo "   exit code $rc"
quiet
stop_host

# Cheap enough to sample a few times a second: the fraction of near-white pixels, and the mean
# green light, of a rectangle of the screen.
bright() { convert "$1" -crop "$2" +repage -colorspace gray -threshold 75% -format '%[fx:mean]' info:; }
greenlight() { convert "$1" -crop "$2" +repage -format '%[fx:mean.g]' info:; }
# Samples the screen until CHECK (a function of the screenshot file) passes, for up to 30 s.
watch_for() {  # name check
  for _ in $(seq 100); do
    import -window root "$dir/$1.png" 2>/dev/null || continue
    "$2" "$dir/$1.png" && { cp "$dir/$1.png" "$art/$1.png"; return 0; }
    [ "$(($(date +%s) - watch_start))" -lt 30 ] || break
    sleep 0.2
  done
  cp "$dir/$1.png" "$art/$1.png"
  return 1
}

step "--speed 0: the message falls into the middle of the window and stands there"
start_host 480x320+80+80
start message -- --window-id "$((window))" --speed 0
# Letters standing across the middle, the rain above them drained away.
standing() {
  at_least "$(bright "$1" 480x40+80+220)" 0.004 && at_most "$(greenlight "$1" 480x120+80+80)" 0.004
}
watch_start=$(date +%s)
watch_for message standing || fail "no message stood in the middle within 30 s ($art/message.png)"
echo "   standing after $(($(date +%s) - watch_start)) s"
kill -TERM "$tpid"
finish 2
[ "$rc" = 0 ] || fail "message run: exit code $rc, expected 0"
quiet
stop_host

step "--root on two monitors: one field each, the message in each monitor's middle"
start_host --monitors 384x480+0+0 256x480+384+0
start root -- --root --speed 0
# Each monitor's middle row holds standing letters while the tops have drained.
both_standing() {
  at_least "$(bright "$1" 384x40+0+220)" 0.004 && at_least "$(bright "$1" 256x40+384+220)" 0.004 &&
    at_most "$(greenlight "$1" 640x160+0+0)" 0.004
}
watch_start=$(date +%s)
watch_for root-monitors both_standing ||
  fail "no message in the middle of both monitors within 30 s ($art/root-monitors.png)"
kill -HUP "$tpid"
finish 2
[ "$rc" = 0 ] || fail "after SIGHUP: exit code $rc, expected 0"
quiet
stop_host

step "its own window: titled Torvex, a key ends it with 0"
start own -- --size 42
own=$(timeout 10 xdotool search --sync --name '^Torvex$' | head -1)
[ -n "$own" ] || fail "no window titled Torvex"
sleep 1.5
xdotool key --window "$own" space 2>/dev/null
finish 2
[ "$rc" = 0 ] || fail "after a key: exit code $rc, expected 0"
quiet

step "a display without GLX: one line saying so, exit code 1"
xvfb noglx -screen 0 320x240x24 -extension GLX
DISPLAY=":$(cat "$dir/noglx.display")" "$torvex" --root >"$dir/out" 2>"$dir/err"
code=$?
[ "$code" = 1 ] || fail "without GLX: exit code $code, expected 1"
grep -q "GLX" "$dir/err" || fail "without GLX: stderr '$(cat "$dir/err")' does not name GLX"

step "nothing written to disk"
[ -z "$(ls -A "$HOME")" ] || fail "it wrote into its home: $(cd "$HOME" && find . | head -5)"

echo "linux.sh: all runs passed (screenshots in $art/)"
