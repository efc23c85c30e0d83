#!/bin/bash
# The whole test suite: a session, CTest over the x64 build (QV_BUILD_DIR),
# then clean-up.
# Ends with the plain summary line "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
"$here/session.sh" start || { echo "0 passed, 1 failed"; exit 1; }
trap '"$here/session.sh" stop' EXIT
export DISPLAY=$("$here/session.sh" display)
# The harness's own screenshots, for the README.
shots=${QV_SCREENSHOTS:-$root/build/screenshots}
mkdir -p "$shots"
export QV_SCREENSHOT=$shots/start.bmp QV_SCREENSHOT_SOUND=$shots/sound.bmp \
       QV_SCREENSHOT_MOVIE=$shots/movie.bmp
build=${QV_BUILD_DIR:-$root/build/x64}
log=$build/ctest.log
(cd "$build" && ctest --output-on-failure "$@" 2>&1) | tee "$log"
status=${PIPESTATUS[0]}
for bmp in "$shots"/*.bmp; do
    [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null && rm -f "$bmp"
done
summary=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -1)
total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
failed=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$summary")
if [ -z "$summary" ]; then total=0; failed=1; fi
echo "$((total - failed)) passed, $failed failed"
exit $status
