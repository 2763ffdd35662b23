#!/usr/bin/env bash
# A missing dependency skips a test on a developer's machine and fails it, naming what is missing,
# under CI=true and in `make test`. Checked through the GL list test with a registry folder that
# does not exist.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
failures=0
check() {  # label, expected exit code, expected text on stderr (or ""), environment...
    local label=$1 code=$2 text=$3; shift 3
    local err rc
    err=$(env -u CI -u TORVEX_REQUIRE_DEPENDENCIES "$@" "$here/gl_list_regen_test.sh" /nonexistent 2>&1 >/dev/null)
    rc=$?
    [ "$rc" = "$code" ] || { echo "FAIL $label: exit $rc, expected $code" >&2; failures=$((failures + 1)); }
    [ -z "$text" ] || [[ "$err" == *"$text"* ]] ||
        { echo "FAIL $label: stderr '$err' lacks '$text'" >&2; failures=$((failures + 1)); }
}
check "developer machine" 77 ""
check "CI=true" 1 "missing dependency: Khronos gl.xml in /nonexistent" CI=true
check "make test" 1 "missing dependency: Khronos gl.xml" TORVEX_REQUIRE_DEPENDENCIES=1
check "CI=false" 77 "" CI=false
[ "$failures" = 0 ] && echo "dependency rule: 4 cases pass"
exit "$failures"
