#!/bin/bash
# Runs a playback scenario, then checks with sox that what reached the
# audio output is the 440 Hz tone of the test media.
set -uo pipefail
driver=${1:?usage: check_playback.sh qvdriver.exe SCENARIO}
scenario=${2:?}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../harness/wine-env.sh"
rm -f "$QV_CAPTURE" "$QV_WORK/$scenario.first-play.wav"
"$here/../harness/wine-run.sh" "$driver" "$scenario" || exit 1
[ -s "$QV_CAPTURE" ] || { echo "FAIL nothing reached the audio output"; exit 1; }

# A scenario that plays twice keeps its first play's capture.
first=$QV_WORK/$scenario.first-play.wav
if [ -f "$first" ]; then
    echo "first play:"
    "$here/analyse_capture.sh" "$first" "$QV_WORK/$scenario.first-sound.wav" || exit 1
    echo "played again:"
fi
exec "$here/analyse_capture.sh" "$QV_CAPTURE" "$QV_WORK/$scenario.sound.wav"
