#!/usr/bin/env bash
# The Debian package: `scripts/deb` run twice, in two folders at two times, gives the same bytes;
# it holds exactly its files and lintian finds no error or warning; `apt-get install` puts it in
# place; Debian's XScreenSaver daemon, run by an ordinary user with the line README.Debian
# documents (plain and with "GL:"), runs torvex in its window, the screen shows rain and
# -deactivate ends it within 2 s; `apt-get remove` takes every file away again.
# Needs root (apt-get, a test user). Work files in build/debian-test/, screenshots in artifacts/debian/.
set -u
cd "$(dirname "$0")/../.."
root=$(pwd)
work=$root/build/debian-test
art=$root/artifacts/debian
fail() { echo "debian.sh: FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }
[ "$(id -u)" -eq 0 ] ||
  fail "needs root: it installs the package with apt-get and makes a test user (run it as root, as make test does)"
for tool in dpkg-deb lintian apt-get xscreensaver xscreensaver-command Xvfb import xdotool readelf useradd runuser; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/bootstrap installs it)"
done
source scripts/lib/wine.bash     # free_display, wait_display
source tests/e2e/lib/screen.bash # colour_fractions, at_least
source tests/e2e/lib/build_twice.bash
mkdir -p "$art"

user=torvex-e2e-$$
xvfb=""
daemon=""
cleanup() {
  [ -n "$daemon" ] && kill -TERM -- "-$daemon" 2>/dev/null
  if id "$user" >/dev/null 2>&1; then
    pids=$(pgrep -u "$user")
    [ -n "$pids" ] && kill -KILL $pids 2>/dev/null
    userdel --remove --force "$user" >/dev/null 2>&1
  fi
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  installed && apt-get remove -y -qq torvex >/dev/null 2>&1
}
installed() { dpkg-query -W -f='${Status}' torvex 2>/dev/null | grep -q 'install ok installed'; }
trap cleanup EXIT

# ---- Reproducibility: two copies of the source, two clean builds ------------------------------
step "make deb twice, in two folders at two times, gives the same bytes"
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) || fail "not a git checkout"
build_twice "$work" scripts/deb "make deb" deb
version=$(sed -n 's/^project(Torvex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$a/dist/torvex_${version}_amd64.deb
[ -f "$deb" ] || fail "no dist/torvex_${version}_amd64.deb (dist/ holds: $(ls "$a/dist"))"
cmp -s "$deb" "$b/dist/$(basename "$deb")" || fail "the two packages differ"
echo "   identical; $(stat -c %s "$deb") bytes, make deb ${seconds} s"

step "its files, its program and its control fields"
listing=$(dpkg-deb -c "$deb") || fail "dpkg-deb cannot read the package"
files=$(awk '$1 !~ /^d/ { print $2 " " $6 }' <<<"$listing")
expected="root/root ./usr/libexec/xscreensaver/torvex
root/root ./usr/share/applications/screensavers/torvex.desktop
root/root ./usr/share/doc/torvex/README.Debian
root/root ./usr/share/doc/torvex/changelog.gz
root/root ./usr/share/doc/torvex/copyright
root/root ./usr/share/man/man6/torvex.6x.gz
root/root ./usr/share/xscreensaver/config/torvex.xml"
[ "$files" = "$expected" ] || fail "the package holds other files:"$'\n'"$files"
grep -q '^-rwxr-xr-x .*/torvex$' <<<"$listing" || fail "the program is not mode 755"
# Position independence, RELRO and stripping are lintian's (below); an embedded build path
# would have made the two packages differ.
dpkg-deb -x "$deb" "$work/unpacked"
headers=$(readelf -d -W "$work/unpacked/usr/libexec/xscreensaver/torvex") ||
  fail "the program is no ELF file"
grep -qE 'FLAGS.*\bNOW\b' <<<"$headers" || fail "the program is not bound now"
grep -q 'NEEDED.*libGL' <<<"$headers" && fail "the program links libGL instead of loading it"
depends=$(dpkg-deb -f "$deb" Depends)
for pattern in 'libc6 \(>= [0-9.]+\)' 'libgl1' 'libx11-6'; do
  grep -qE "(^|, )$pattern(,|$)" <<<"$depends" || fail "Depends ($depends) lacks $pattern"
done
dpkg-deb -f "$deb" Enhances | grep -qw xscreensaver || fail "the package does not enhance xscreensaver"

step "lintian: no error, no warning"
timeout 600 lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
  { cat "$work/lintian.log"; fail "lintian reports errors or warnings"; }
grep -E '^[EW]: ' "$work/lintian.log" && fail "lintian reports errors or warnings"

# ---- Installed -----------------------------------------------------------------------------------
step "apt-get install, and the manual page names every option --help lists"
installed && { apt-get remove -y -qq torvex >/dev/null || fail "could not remove an earlier torvex"; }
timeout 600 apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$deb" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "apt-get install failed"; }
installed || fail "apt-get install did not install torvex"
mapfile -t owned < <(dpkg -L torvex | while read -r f; do [ -f "$f" ] && echo "$f"; done)
[ "${#owned[@]}" -eq 7 ] || fail "dpkg -L lists ${#owned[@]} files, not 7"
help=$(/usr/libexec/xscreensaver/torvex --help) || fail "torvex --help did not end with 0"
manual=$(zcat /usr/share/man/man6/torvex.6x.gz | groff -man -Tascii -P-cbou -rLL=300n 2>&1) ||
  fail "the manual page does not render"
options=$(grep -oE '(^|[][ ,|/])--?[a-z][a-z-]*' <<<"$help" | sed 's/^[][ ,|/]//' | sort -u)
[ "$(wc -l <<<"$options")" -ge 10 ] || fail "torvex --help lists only: $options"
for option in $options; do
  grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$manual" || fail "the manual page lacks $option"
done
# The documented line: README.Debian's, also in the manual page and the README.
line=$(sed -n 's/^ \{4\}\(torvex --root\)$/\1/p' /usr/share/doc/torvex/README.Debian)
[ -n "$line" ] || fail "README.Debian shows no 'torvex --root' line"
grep -qF "$line" <<<"$manual" && grep -qF "    $line" README.md || fail "the manual page or README lacks '$line'"

# ---- Run by the XScreenSaver daemon ----------------------------------------------------------
useradd --create-home --shell /bin/sh --user-group "$user" || fail "could not make the test user"
home=$(getent passwd "$user" | cut -d: -f6)
display=$(free_display 70)
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
wait_display "$display" || fail "Xvfb :$display did not start"
user_env=(runuser -u "$user" -- env -i HOME="$home" USER="$user" DISPLAY=":$display" PATH=/usr/bin:/bin)
as_user() { timeout 20 "${user_env[@]}" "$@"; }
ms() { echo $(($(date +%s%N) / 1000000)); }

for entry in "$line" "GL: $line"; do
  step "the daemon runs '$entry' as $user and -deactivate ends it"
  tag=$([ "${entry#GL:}" = "$entry" ] && echo plain || echo gl)
  printf 'timeout: 0:30:00\nlock: False\nfade: False\nunfade: False\nsplash: False\ndpmsEnabled: False\nmode: one\nselected: 0\nprograms: \\\n\t%s \\n\\\n\n' \
    "$entry" >"$home/.xscreensaver"
  chown "$user:" "$home/.xscreensaver"
  setsid "${user_env[@]}" xscreensaver --no-splash --verbose >"$work/daemon-$tag.log" 2>&1 &
  daemon=$!
  for _ in $(seq 100); do as_user xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.1; done
  as_user xscreensaver-command -activate >/dev/null 2>&1 || fail "-activate failed (log: $work/daemon-$tag.log)"
  begin=$(ms)
  pid=""
  # Living ones only: the last run's torvex may still be a zombie nobody has reaped.
  for _ in $(seq 200); do pid=$(pgrep -u "$user" -x torvex -r R,S,D) && break; sleep 0.05; done
  [ -n "$pid" ] || { cat "$work/daemon-$tag.log"; fail "torvex did not start after -activate"; }
  started=$(($(ms) - begin))
  window=$(tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p')
  [ -n "$window" ] || fail "torvex runs without XSCREENSAVER_WINDOW"
  DISPLAY=:$display xdotool getwindowgeometry "$((window))" | grep -q 'Geometry: 1024x768' ||
    fail "XSCREENSAVER_WINDOW ($window) is no full-screen window"
  sleep 2
  import -display ":$display" -window root "$art/daemon-$tag.png" || fail "no screenshot"
  read -r dark green white < <(colour_fractions "$art/daemon-$tag.png")
  echo "   dark $dark, green $green, white $white (fractions of the screen)"
  at_least "$dark" 0.5 && at_least "$green" 0.01 || fail "no rain on the screen ($art/daemon-$tag.png)"
  as_user xscreensaver-command -deactivate >/dev/null 2>&1 || fail "-deactivate failed"
  begin=$(ms)
  # Ended once it has exited: a zombie (ps "Z", "ZN" at nice 10) waits only for its reaper.
  while ps -o stat= -p "$pid" | grep -q '^[^Z]' && [ $(($(ms) - begin)) -lt 5000 ]; do sleep 0.02; done
  ended=$(($(ms) - begin))
  echo "   torvex ran ${started} ms after -activate, ended ${ended} ms after -deactivate"
  [ "$ended" -le 2000 ] || fail "torvex still ran ${ended} ms after -deactivate"
  as_user xscreensaver-command -exit >/dev/null 2>&1
  for _ in $(seq 50); do kill -0 "$daemon" 2>/dev/null || break; sleep 0.1; done
  kill -TERM -- "-$daemon" 2>/dev/null
  daemon=""
done

# ---- Removed -------------------------------------------------------------------------------------
step "apt-get remove takes every file away"
timeout 300 apt-get remove -y -qq -o DPkg::Lock::Timeout=300 torvex >"$work/remove.log" 2>&1 ||
  { cat "$work/remove.log"; fail "apt-get remove failed"; }
for f in "${owned[@]}"; do [ ! -e "$f" ] || fail "$f is still there after apt-get remove"; done
echo "debian.sh: all checks passed (work files in build/debian-test/)"
