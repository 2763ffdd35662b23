#!/usr/bin/env bash
# The committed gl/gl_list.h and gl/gl_types.h must be exactly what tools/gen_gl_list.py makes
# from the Khronos registry, so nobody edits them by hand. Without python3 or the registry it
# skips, or fails under CI (tests/support/dependency.sh).
set -eu
root="$(cd "$(dirname "$0")/../.." && pwd)"
registry="${1:-/usr/share/khronos-api}"
. "$root/tests/support/dependency.sh"
command -v python3 >/dev/null || missing_dependency python3
[ -f "$registry/gl.xml" ] || missing_dependency "Khronos gl.xml in $registry"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
python3 "$root/tools/gen_gl_list.py" "$registry" "$out" >/dev/null
status=0
for file in gl_list.h gl_types.h; do
  cmp -s "$out/$file" "$root/gl/$file" || { echo "gl/$file differs from the generator's output" >&2; status=1; }
done
exit $status
