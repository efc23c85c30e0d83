#!/bin/bash
# make test: every stage, in two lanes that share the machine's two cores.
# Wine lane: the x64 suite here, a minute of fuzzing the AVI structure check,
# Debian 13's build of the product and its x64 suite under Wine 10.
# Emulator lane: the i386 image (built once), then one boot of it that runs
# the same scenarios against the 32-bit release under Debian 12's Wine 8 and
# Debian 13's Wine 10 at once. The Debian 13 root is built beside them from
# the start. All stages run even if one fails; each prints one line with its
# wall time, and the last line adds up their "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
logs=$root/build/test-all
rm -rf "$logs"
mkdir -p "$logs"
t0=$(date +%s)

# stage NAME COMMAND...: runs it with its output in logs/NAME.log, and
# records its summary and wall time in logs/NAME.result. A build has no
# summary: it counts as a failure only when it fails.
stage() {
    local name=$1 start summary status seconds
    shift
    start=$(date +%s)
    "$@" >"$logs/$name.log" 2>&1
    status=$?
    summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$logs/$name.log" | tail -1)
    [ -n "$summary" ] || summary="0 passed, $([ "$status" -eq 0 ] && echo 0 || echo 1) failed"
    [ "$status" -eq 0 ] || [ "${summary##*, }" != "0 failed" ] || summary="${summary%%,*}, 1 failed"
    # A report of a suite that ran elsewhere gives that suite's own time.
    seconds=$(sed -n 's/^suite time: \([0-9]*\) s$/\1/p' "$logs/$name.log" | tail -1)
    echo "$summary ${seconds:-$(( $(date +%s) - start ))}" >"$logs/$name.result"
}
result() { # a stage that left no result failed
    cat "$logs/$1.result" 2>/dev/null || echo "0 passed, 1 failed 0"
}
show() { # prints a finished stage's log, then its line
    local name=$1 passed failed seconds
    cat "$logs/$name.log" 2>/dev/null
    read -r passed _ failed _ seconds < <(result "$name")
    printf 'stage %-10s %3dm%02ds  %s passed, %s failed\n' "$name" $((seconds / 60)) \
        $((seconds % 60)) "$passed" "$failed" | tee -a "$logs/stages.txt"
}

# An interrupted run takes its lanes with it.
trap 'kill $(jobs -p) 2>/dev/null; exit 1' INT TERM HUP
# Built in the background at low priority, so the suites keep their pace.
stage d13-root nice -n 10 "$root/tests/roots/build-root.sh" debian13 &
root_job=$!
(
    stage x86-image nice -n 10 "$root/tests/x86vm/build-image.sh"
    # One boot runs both 32-bit suites at once; each reports its own time.
    if grep -q ' 0 failed' "$logs/x86-image.result"; then
        stage x86-boot "$root/tests/x86vm/run.sh" boot
        stage x86 "$root/tests/x86vm/run.sh" report 12
        stage x86-d13 "$root/tests/x86vm/run.sh" report 13
    else
        for name in x86-boot x86 x86-d13; do
            echo "*** $name did NOT run: the i386 image could not be built ***" >"$logs/$name.log"
            echo "0 passed, 1 failed 0" >"$logs/$name.result"
        done
    fi
) &
x86_lane=$!

stage x64 "$root/tests/harness/run-suite.sh" -LE corpus; show x64
stage fuzz "$root/tests/media/fuzz/run-fuzz.sh" "${QV_TEST_FUZZ_SECONDS:-60}"; show fuzz
wait $root_job
show d13-root
stage debian13 "$root/tests/roots/debian13.sh"; show debian13
wait $x86_lane
show x86-image
show x86-boot
show x86
show x86-d13

total_passed=0 total_failed=0
for name in x64 fuzz d13-root debian13 x86-image x86-boot x86 x86-d13; do
    read -r passed _ failed _ _ < <(result "$name")
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
done
elapsed=$(( $(date +%s) - t0 ))
echo "all stages in $((elapsed / 60))m$(printf %02d $((elapsed % 60)))s:"
cat "$logs/stages.txt"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
