#!/usr/bin/env bash
# Builds the parser fuzz targets natively with clang (libFuzzer, AddressSanitizer, UBSan) into
# build/fuzz and runs each for a few seconds from its committed corpus. Non-zero on any finding.
set -eu
cd "$(dirname "$0")/../.."
seconds="${TORVEX_FUZZ_SECONDS:-5}"
out=build/fuzz
mkdir -p "$out"
# Warnings fail this build too, as they fail the presets'.
flags=(-std=c++17 -g -O1 -I. -Wall -Wextra -Werror -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=all)

build() {  # name sources...
  local name=$1; shift
  clang++ "${flags[@]}" "$@" -o "$out/$name"
}
build command_line_fuzz tests/fuzz/command_line_fuzz.cpp host/win32/command_line.cpp base/text.cpp
build mode_text_fuzz tests/fuzz/mode_text_fuzz.cpp settings/mode_text.cpp base/text.cpp

for target in command_line mode_text; do
  # New inputs go to a scratch corpus; the committed one stays as it is.
  work="$out/corpus-$target"
  mkdir -p "$work"
  echo "fuzzing $target for ${seconds}s"
  if ! "$out/${target}_fuzz" -max_total_time="$seconds" -max_len=512 -artifact_prefix="$out/$target-" \
       "$work" "tests/fuzz/corpus/$target" >"$out/$target.log" 2>&1; then
    tail -40 "$out/$target.log" >&2
    echo "fuzz: $target found a failing input (see $out)" >&2
    exit 1
  fi
  grep -E '^#[0-9]+.*DONE' "$out/$target.log" || tail -2 "$out/$target.log"
done
echo "fuzz: no findings"
