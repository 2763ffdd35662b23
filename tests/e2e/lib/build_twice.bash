# The reproducibility check's two builds, shared by the release and package tests: the tracked
# source copied into two folders of WORK, then SCRIPT run in each, the second a second later,
# with another umask and time zone. Sets a and b (the two copies) and seconds (the first build's
# time). Needs the caller's fail; SOURCE_DATE_EPOCH is the caller's to set.
build_twice() {  # work, script (relative to a copy), what (for messages), log name
    local work=$1 script=$2 what=$3 log=$4 dir start
    rm -rf "$work"
    a=$work/a
    b=$work/second/copy-of-the-source
    for dir in "$a" "$b"; do
        mkdir -p "$dir"
        git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$dir" || fail "could not copy the source"
    done
    start=$(date +%s)
    "$a/$script" >"$work/$log-a.log" 2>&1 || { cat "$work/$log-a.log"; fail "$what failed"; }
    seconds=$(($(date +%s) - start))
    sleep 1
    (umask 077; TZ=Pacific/Auckland "$b/$script") >"$work/$log-b.log" 2>&1 ||
        { cat "$work/$log-b.log"; fail "the second $what failed"; }
}
