#!/bin/bash
# Runs a playback scenario, then checks with sox that what reached the
# audio output is the 440 Hz tone of the test media.
set -uo pipefail
driver=${1:?usage: check_playback.sh qvdriver.exe SCENARIO}
scenario=${2:?}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../harness/wine-env.sh"
rm -f "$QV_CAPTURE"
"$here/../harness/wine-run.sh" "$driver" "$scenario" || exit 1
[ -s "$QV_CAPTURE" ] || { echo "FAIL nothing reached the audio output"; exit 1; }

# Only the sounding part: the output carries silence before and after.
sound=$QV_WORK/$scenario.sound.wav
sox --ignore-length "$QV_CAPTURE" -c 1 "$sound" \
    silence 1 0.02 2% reverse silence 1 0.02 2% reverse 2>/dev/null
stats=$(sox "$sound" -n stat 2>&1)
length=$(awk '/^Length/ {print $3}' <<<"$stats")
freq=$(awk '/^Rough/ {print $3}' <<<"$stats")
rms=$(awk '/^RMS +amplitude/ {print $3}' <<<"$stats")
echo "captured: ${length:-0} s of sound, rough frequency ${freq:-?} Hz, RMS ${rms:-0}"
fail=0
awk -v l="${length:-0}" 'BEGIN { exit !(l >= 0.8) }' || { echo "FAIL shorter than 0.8 s"; fail=1; }
awk -v f="${freq:-0}" 'BEGIN { exit !(f >= 425 && f <= 455) }' || { echo "FAIL not 440 Hz"; fail=1; }
awk -v r="${rms:-0}" 'BEGIN { exit !(r >= 0.05) }' || { echo "FAIL too quiet"; fail=1; }
exit $fail
