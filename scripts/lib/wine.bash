# Sourced by scripts/wine-run, scripts/lib/two-monitors.bash and the end-to-end scripts: where
# Wine is, and the two X display steps every run on a display of its own takes.
#   wine_binary        prints the Wine loader to run (Debian's 64-bit one when it is there)
#   free_display N     prints the first display number from N that has neither socket nor lock
#   wait_display N     waits up to 5 s for display N's socket; fails when it does not come

wine_binary() {
  if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64; return 0; fi
  command -v wine64 || command -v wine || echo /usr/lib/wine/wine64
}

free_display() {
  local n=$1
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo "$n"
}

wait_display() {
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$1" ] && return 0; sleep 0.1; done
  return 1
}
