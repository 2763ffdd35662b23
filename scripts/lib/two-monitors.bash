# Sourced by tests/e2e/monitors.sh and scripts/bench-monitors: two monitors under Wine. A virtual
# X server (Xvfb) hosts a nested one with two screens side by side (Xephyr with Xinerama); Wine,
# told not to use XRandR, reports them as 1024x768 at (0,0) and 800x600 at (1024,0).
#   start_two_monitors ART PREFIX   starts both servers (logs in ART), exports DISPLAY and the
#                                   Wine variables for PREFIX, boots it with the settings above
#   restart_wine PREFIX             Wine reads display settings at server start: after a change
#   stop_two_monitors               ends the prefix's server and both X servers
# Needs `fail` from the caller. Wine's binary is in $wine afterwards.
. "$(dirname "${BASH_SOURCE[0]}")/wine.bash"
two_monitor_pids=()

restart_wine() {
  wineserver -k >/dev/null 2>&1 </dev/null
  sleep 0.5
  scripts/wine-run --prefix "$1" --boot
}

start_two_monitors() {
  local art=$1 prefix=$2 host nested
  host=$(free_display 150)
  Xvfb ":$host" -screen 0 2048x1024x24 -nolisten tcp >"$art/xvfb.log" 2>&1 &
  two_monitor_pids+=($!)
  wait_display "$host" || fail "Xvfb did not start"
  nested=$(free_display $((host + 1)))
  DISPLAY=":$host" Xephyr ":$nested" -screen 1024x768 -screen 800x600 +xinerama -nolisten tcp \
    >"$art/xephyr.log" 2>&1 &
  two_monitor_pids+=($!)
  wait_display "$nested" || fail "Xephyr did not start"
  export DISPLAY=":$nested" WINEPREFIX="$(pwd)/$prefix" WINEARCH=win64 WINEDEBUG=-all
  unset TORVEX_OWN_DISPLAY
  wine=$(wine_binary)
  scripts/wine-run --prefix "$prefix" --boot || fail "the Wine prefix did not boot"
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f </dev/null >/dev/null 2>&1
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f \
    </dev/null >/dev/null 2>&1
  restart_wine "$prefix" || fail "the Wine prefix did not restart"
}

stop_two_monitors() {
  wineserver -k >/dev/null 2>&1 </dev/null
  local pid
  for pid in "${two_monitor_pids[@]}"; do kill "$pid" 2>/dev/null; done
}
