#!/bin/bash
# make test: the x64 suite on this machine, a minute of fuzzing the AVI
# structure check, the x64 suite again under Debian 13's Wine 10, then the
# same scenarios against the 32-bit release in the emulated i386 machine.
# All run even if one fails; the last line adds up their "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
total_passed=0 total_failed=0 status=0
run() {
    local log
    log=$(mktemp)
    "$@" 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    local summary
    summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -1)
    rm -f "$log"
    [ -n "$summary" ] || summary="0 passed, 1 failed"
    total_passed=$((total_passed + ${summary%% *}))
    total_failed=$((total_failed + $(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$summary")))
}
run "$root/tests/harness/run-suite.sh" -LE corpus
run "$root/tests/media/fuzz/run-fuzz.sh" "${QV_TEST_FUZZ_SECONDS:-60}"
run "$root/tests/debian13/run.sh"
run "$root/tests/x86vm/run.sh"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ] && exit "$status"
exit 1
