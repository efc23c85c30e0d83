#!/bin/bash
# Starts the player: on your display if you have one, else on Xvfb. Saves a
# screenshot either way and says where it and the sample media are.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
shot=$root/build/screenshot.png
[ -n "${DISPLAY:-}" ] && export QV_USE_DISPLAY=$DISPLAY
# MIDI needs a synthesizer on the sequencer before Wine starts.
{ [ -e /dev/snd/seq ] || modprobe snd-seq 2>/dev/null; } && "$here/deps.sh" midi
"$here/midi-synth.sh" start || true  # the player runs either way
QV_SOUND_TO_DESKTOP=1 "$here/session.sh" start >/dev/null
trap '"$here/session.sh" stop; "$here/midi-synth.sh" stop' EXIT
source "$here/wine-env.sh"
export DISPLAY=$("$here/session.sh" display)

echo "sample media (MIDI, WAVE, AVI): $root/build/media"
echo "  in the player's open dialog: Z:${root//\//\\}\\build\\media"
"$WINELOADER" "$root/build/x64/quorvane.exe" &
player=$!
sleep 4
import -window root "$shot" 2>/dev/null && echo "screenshot: $shot"
if [ -n "${QV_USE_DISPLAY:-}" ]; then
    echo "close the Quorvane window to end"
    wait $player || true
else
    echo "no display: the player ran on Xvfb; ending it"
    "$WINELOADER" taskkill /im quorvane.exe >/dev/null 2>&1 || true
    wait $player || true
fi
