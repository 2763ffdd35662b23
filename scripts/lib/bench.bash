# The start every scripts/bench-* script shares, sourced after `cd` to the repository: the build
# it times and the Wine prefix it runs in.
#   bench_build TARGET...  sets $build and $prefix: $TORVEX_BUILD_DIR as it is, or build/win64
#                          configured with TARGETs built
#   bench_boot SCREEN      boots $prefix on a display of its own of SCREEN (WxHxDEPTH) and stops
#                          it when the script exits

bench_build() {
  build="${TORVEX_BUILD_DIR:-build/win64}"
  prefix="$build/wineprefix"
  [ -z "${TORVEX_BUILD_DIR:-}" ] || return 0
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 -j "$(nproc)" --target "$@" >/dev/null
}

bench_boot() {
  export TORVEX_OWN_DISPLAY=1 TORVEX_SCREEN="$1"
  scripts/wine-run --prefix "$prefix" --boot
  trap 'scripts/wine-run --prefix "$prefix" --stop' EXIT
}
