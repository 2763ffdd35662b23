# Sourced by test scripts. missing_dependency WHAT: skip (exit 77) on a developer's machine, but
# fail (exit 1) with a line naming WHAT under CI=true and in `make test`
# (TORVEX_REQUIRE_DEPENDENCIES=1), so that no run passes because a dependency is missing.
missing_dependency() {
    if [ "${CI:-}" = true ] || [ "${TORVEX_REQUIRE_DEPENDENCIES:-}" = 1 ]; then
        echo "missing dependency: $1" >&2
        exit 1
    fi
    echo "skipped: missing dependency: $1"
    exit 77
}
