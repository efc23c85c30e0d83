#!/bin/bash
# Checks with sox that a captured audio output holds the 440 Hz test tone:
# at least MIN_S (0.8) seconds of it, at most MAX_S when given, loud enough.
set -uo pipefail
capture=${1:?usage: analyse_capture.sh CAPTURE.wav SCRATCH.wav [MIN_S [MAX_S]]}
sound=${2:?}
min=${3:-0.8} max=${4:-}
[ -s "$capture" ] || { echo "FAIL nothing reached the audio output"; exit 1; }
# Only the sounding part: the output carries silence before and after.
sox --ignore-length "$capture" -c 1 "$sound" \
    silence 1 0.02 2% reverse silence 1 0.02 2% reverse 2>/dev/null
stats=$(sox "$sound" -n stat 2>&1)
length=$(awk '/^Length/ {print $3}' <<<"$stats")
freq=$(awk '/^Rough/ {print $3}' <<<"$stats")
rms=$(awk '/^RMS +amplitude/ {print $3}' <<<"$stats")
echo "captured: ${length:-0} s of sound, rough frequency ${freq:-?} Hz, RMS ${rms:-0}"
fail=0
awk -v l="${length:-0}" -v m="$min" 'BEGIN { exit !(l >= m) }' || { echo "FAIL shorter than $min s"; fail=1; }
[ -z "$max" ] || awk -v l="${length:-0}" -v m="$max" 'BEGIN { exit !(l <= m) }' ||
    { echo "FAIL longer than $max s: not stopped"; fail=1; }
awk -v f="${freq:-0}" 'BEGIN { exit !(f >= 425 && f <= 455) }' || { echo "FAIL not 440 Hz"; fail=1; }
awk -v r="${rms:-0}" 'BEGIN { exit !(r >= 0.05) }' || { echo "FAIL too quiet"; fail=1; }
exit $fail
