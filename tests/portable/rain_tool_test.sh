#!/usr/bin/env bash
# torvex-tool sim from the outside: the JSON's shape and key order, options reaching the field,
# the same command line giving the same scene, and bad input refused with status 2 and no output.
# Usage: rain_tool_test.sh PATH/TO/torvex-tool   (needs jq)
set -u
tool=$1
failures=0
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

json=$("$tool" sim) || fail "default run exited with $?"
shape=$(jq -c '[keys_unsorted, (.streams[0]|keys_unsorted), (.letters[0]|keys_unsorted)]' <<<"$json")
[ "$shape" = '[["columnCount","cycleCounter","messageLength","continuous","streams","letters"],["x","y","cellSize","cellCount","lengthPixels","brightHead","fastMode","glyphs"],["x","y","cellSize","cellCount","isSpace","erased","fastMode","glyphs"]]' ] \
    || fail "keys: $shape"
jq -e '(.streams|length) == 52 and (.letters|length) == 10 and .messageLength == 10
       and all(.streams[], .letters[]; (.glyphs|length) == .cellCount)
       and .streams[0].cellSize == 19.6923084 and .letters[3].isSpace' <<<"$json" >/dev/null \
    || fail "default field"

# Options reach the field: a table of (arguments, jq condition).
while IFS='|' read -r arguments condition; do
    out=$("$tool" sim $arguments) || { fail "sim $arguments exited with $?"; continue; }
    jq -e "$condition" <<<"$out" >/dev/null || fail "sim $arguments: $condition"
done <<'TABLE'
--steps 10|.cycleCounter == 10
--steps 601|.cycleCounter == 0
--continuous --steps 50|.cycleCounter == 0 and .continuous
--size 0|.columnCount == 1 and (.streams|length) == 1
--width 100 --size 500|.columnCount == 100
--size 67 --width 1920 --height 1080 --fast|.columnCount == 67 and all(.streams[]; .fastMode)
--message abcdefghijklmnopqrstuvwxyzabcdefghij|.messageLength == 31 and .letters[0].glyphs[0] == 56
TABLE

# Monitors: one field per monitor, each the object sim prints alone; the primary's is exactly the
# field of a one-monitor run of the same size.
out=$("$tool" sim --monitor 1024x768+0+0 --monitor 800x600-800-100 --steps 700 --tick 5) \
    || fail "sim with monitors exited with $?"
jq -e '(.monitors|length) == 2 and (.monitors[1] | keys_unsorted) == ["x","y","width","height","field"]
       and .monitors[1].x == -800 and .monitors[1].y == -100 and .monitors[1].field.columnCount == 41
       and (.monitors[1].field.streams != .monitors[0].field.streams)' <<<"$out" >/dev/null \
    || fail "monitors: $(jq -c '[.monitors[] | [.x, .y, .width, .height, .field.columnCount]]' <<<"$out")"
[ "$(jq -c '.monitors[0].field' <<<"$out")" = "$("$tool" sim --steps 700 --tick 5 | jq -c .)" ] \
    || fail "the primary's field differs from a one-monitor run"

jq -e '.messageLength == 0 and .letters == []' <<<"$("$tool" sim --message '')" >/dev/null || fail "empty message"

# One scene per command line; only the low 8 bits of each tick matter.
[ "$("$tool" sim --steps 40 --tick 5)" = "$("$tool" sim --steps 40 --tick 5)" ] || fail "not reproducible"
[ "$("$tool" sim --steps 40 --tick 0 --interval 256)" = "$("$tool" sim --steps 40 --tick 256 --interval 0)" ] \
    || fail "ticks with equal low bits differ"
[ "$("$tool" sim --steps 40 --tick 5)" != "$("$tool" sim --steps 40 --tick 6)" ] || fail "tick ignored"

# Bad input: status 2, nothing on stdout, the problem and a usage line on stderr.
while IFS= read -r arguments; do
    out=$("$tool" $arguments 2>"$errors"); status=$?
    [ $status -eq 2 ] || fail "'$arguments' exited with $status"
    [ -z "$out" ] || fail "'$arguments' printed on stdout"
    [ "$(wc -l <"$errors")" -eq 2 ] && grep -q '^usage: torvex-tool' "$errors" \
        || fail "'$arguments' stderr: $(cat "$errors")"
done <<'TABLE'
sim --bogus
sim --width
sim --width 0
sim --height -3
sim --width 12x
sim --steps -1
sim --size 99999999999
sim --tick 4294967296
sim --interval
sim --monitor 800x600
sim --monitor 800x600+0
sim --monitor 0x600+0+0
sim --monitor 800x600++1+0
sim --monitor 800x600+0+99999999
frobnicate
TABLE
"$tool" >/dev/null 2>&1; [ $? -eq 2 ] || fail "no subcommand"

[ $failures -eq 0 ] && echo "torvex-tool sim: all checks passed"
exit $((failures > 0))
