#!/bin/bash
# Fuzzes the AVI structure check natively under AddressSanitizer and
# UndefinedBehaviorSanitizer for SECONDS (QV_FUZZ_SECONDS, default 600).
# Seeds: the hostile corpus, the test media, a few movies of other codecs
# and pixel formats, and every earlier finding (findings/, minimised, once
# there is one). Prints
# "fuzz: N runs, E edges, F findings", then "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
seconds=${1:-${QV_FUZZ_SECONDS:-600}}
out=$root/build/fuzz
mkdir -p "$out/seeds" "$out/corpus"
rm -rf "$out/findings" && mkdir -p "$out/findings"
fail() { echo "fuzz: $1"; echo "0 passed, 1 failed"; exit 1; }

clang++ -std=c++17 -g -O1 -Wall -Wextra -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -I "$here" -I "$root" "$here/avi_check_fuzz.cpp" \
    -o "$out/avi_check_fuzz" || fail "the target did not build"

if [ ! -f "$out/seeds/.made" ]; then
    cp "$root"/build/hostile/*.avi "$root"/build/media/*.[aA][vV][iI] "$out/seeds/"
    ff() { ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc=size=48x32:rate=5 \
              -f lavfi -i sine=sample_rate=8000 -t 1 "$@"; }
    for v in "rawvideo -pix_fmt bgr24" "rawvideo -pix_fmt pal8" "rawvideo -pix_fmt rgb555le" \
             "mjpeg" "mpeg4" "cinepak" "huffyuv" "zmbv" "ffv1"; do
        ff -c:v $v -c:a pcm_u8 "$out/seeds/ffmpeg-${v%% *}-${v##* }.avi" || fail "ffmpeg: $v"
    done
    ff -c:v rawvideo -pix_fmt bgr24 -c:a adpcm_ms "$out/seeds/ffmpeg-adpcm.avi"
    touch "$out/seeds/.made"
fi

"$out/avi_check_fuzz" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
    -artifact_prefix="$out/findings/" "$out/corpus" "$out/seeds" $(ls -d "$here/findings" 2>/dev/null) \
    >"$out/fuzz.log" 2>&1
status=$?
runs=$(awk '/^stat::number_of_executed_units/ {print $2}' "$out/fuzz.log")
edges=$(grep -oE 'cov: [0-9]+' "$out/fuzz.log" | tail -1 | cut -d' ' -f2)
findings=$(find "$out/findings" -type f | wc -l)
echo "fuzz: ${runs:-0} runs, ${edges:-0} edges, $findings findings"
if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ] || [ -z "$runs" ]; then
    grep -E "ERROR|avi_check_fuzz:|SUMMARY|runtime error" "$out/fuzz.log" | head -10
    echo "0 passed, 1 failed"
    exit 1
fi
echo "1 passed, 0 failed"
