#!/bin/bash
# make bench: sizes, start-up, open latency and memory of the player against
# a bare window program and the floor, on this machine's Wine and display.
# Prints figures.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
media=$root/build/bench
mkdir -p "$media"
[ -f "$media/small.avi" ] || python3 "$here/make_bench_avi.py" "$media/small.avi" 1 >/dev/null
[ -f "$media/large.avi" ] || python3 "$here/make_bench_avi.py" "$media/large.avi" 500 >/dev/null

"$root/tests/harness/session.sh" start >/dev/null
trap '"$root/tests/harness/session.sh" stop' EXIT
export DISPLAY=$("$root/tests/harness/session.sh" display)
export QV_EXE=$root/build/x64/quorvane.exe QV_BASELINE_EXE=$root/build/x64/baseline.exe
export QV_FLOOR_EXE=$root/build/x64/floor.exe
export QV_MEDIA=$root/build/media QV_WORK=$root/build/x64/tests/work QV_BENCH_MEDIA=$media
run() { "$root/tests/harness/wine-run.sh" "$@" 2>/dev/null | grep -v '^note\|checks,'; }

echo "machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo)," \
     "$(lscpu | sed -n 's/^Model name: *//p' | head -1), $(/usr/lib/wine/wine64 --version)"
echo "executable sizes:"
for arch in x86 x64; do
    q=$(stat -c %s "$root/build/$arch/quorvane.exe")
    b=$(stat -c %s "$root/build/$arch/baseline.exe")
    f=$(stat -c %s "$root/build/$arch/floor.exe")
    printf "  %-4s quorvane %6d B, baseline %6d B, floor %6d B\n" "$arch" "$q" "$b" "$f"
done
run "$root/build/x64/bench/qvbench.exe" bench_startup
run "$root/build/x64/bench/qvbench.exe" bench_open_latency
run "$root/build/x64/bench/qvbench.exe" bench_probe_parts
echo "memory over ${QV_SOAK_OPENS:=1000} opens (sound, movie, refused in turn):"
QV_SOAK_OPENS=$QV_SOAK_OPENS run "$root/build/x64/tests/qvdriver.exe" soak_long_run | sed 's/^/  /'
