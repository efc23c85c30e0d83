#!/bin/bash
# make test-x86: the end-to-end suite on the 32-bit release itself, under
# 32-bit Wine inside an emulated i386 machine. Ends with "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail_loudly() {
    echo "*** test-x86 did NOT run: $1 ***"
    echo "0 passed, 1 failed"
    exit 1
}
image=$("$here/build-image.sh") && [ -f "$image/ready" ] ||
    fail_loudly "the i386 image could not be built"

out=$root/build/x86vm
share=$out/share
rm -rf "$share"
mkdir -p "$share/bin/standin" "$share/out"
x86=$root/build/x86
cp "$x86/quorvane.exe" "$x86/tests/quorvane_noload.exe" "$x86/tests/quorvane_nullplayer.exe" \
   "$x86/tests/qvdriver.exe" "$share/bin/" || fail_loudly "the i686 build is missing"
cp "$x86/tests/standin/"* "$share/bin/standin/"
cp -r "$root/build/media" "$share/media"
mkdir -p "$share/hostile"
cp "$root/build/hostile/"crash-*.avi "$share/hostile/"
cp "$here/guest-suite.sh" "$root/tests/harness/midi-synth.sh" "$share/"
# Everything but the long hostile and soak runs, plus a shorter long run:
# many opens in a row are what a wrong calling convention would not survive.
# QV_X86_SCENARIOS narrows the run.
if [ -n "${QV_X86_SCENARIOS:-}" ]; then
    tr ' ' '\n' <<<"$QV_X86_SCENARIOS" >"$share/scenarios.txt"
else
    grep -ho '^SCENARIO([a-z_0-9]*)' "$root"/tests/*/*.cpp | sed 's/SCENARIO(\(.*\))/\1/' |
        grep -Ev '^(hostile_corpus|hostile_check_keeps|soak_|media_survey)' >"$share/scenarios.txt"
    echo soak_one_kind >>"$share/scenarios.txt"
fi
[ -s "$share/scenarios.txt" ] || fail_loudly "no scenario list"
export QV_SOAK_FILES=tone440.wav,movie176x144.avi,text.avi QV_SOAK_OPENS=60
sed -i "s|^S=/mnt/host|S=/mnt/host\nexport QV_SOAK_FILES=$QV_SOAK_FILES QV_SOAK_OPENS=$QV_SOAK_OPENS|" "$share/guest-suite.sh"

echo "booting the i386 machine ($(wc -l <"$share/scenarios.txt") scenarios)"
start=$(date +%s)
"$here/boot.sh" test "$out/test.log" "$image" "$share"
echo "guest finished in $(( $(date +%s) - start )) s"
[ -s "$share/results.txt" ] || { tail -30 "$out/test.log"; cat "$share/guest.log" 2>/dev/null | tail -30; fail_loudly "the guest reported nothing"; }
head -1 "$share/guest.log" 2>/dev/null

passed=0 failed=0
while read -r name status seconds; do
    verdict=$([ "$status" = 0 ] && echo ok || echo FAIL)
    # What reached the sound output; the MIDI play is the synthesizer's
    # rendering of it, stopped by the second click well before the tune's 10 s.
    capture=()
    case $name in
    player_plays_midi) capture=("$share/out/$name.synth.wav" 1.5 8) ;;
    player_plays_*) capture=("$share/out/$name.capture.wav") ;;
    esac
    sound=""
    if [ "$status" = 0 ] && [ ${#capture[@]} -gt 0 ]; then
        # A scenario that plays twice keeps its first play's capture.
        first=$share/out/$name.first-play.wav
        if [ -f "$first" ]; then
            "$root/tests/player/analyse_capture.sh" "$first" "$share/out/$name.first-sound.wav" \
                >"$share/out/$name.first-sound.txt" 2>&1 || verdict=FAIL
            sound=$(grep -E '^(captured|FAIL)' "$share/out/$name.first-sound.txt" |
                    sed 's/^/    first play: /')$'\n'
        fi
        "$root/tests/player/analyse_capture.sh" "${capture[0]}" "$share/out/$name.sound.wav" \
            "${capture[@]:1}" >"$share/out/$name.sound.txt" 2>&1 || verdict=FAIL
        sound+=$(grep -E '^(captured|FAIL)' "$share/out/$name.sound.txt" | sed 's/^/    /')
    fi
    printf "%-4s %-55s %4s s\n" "$verdict" "$name" "$seconds"
    [ -z "$sound" ] || echo "$sound"
    if [ "$verdict" = ok ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        grep -E "FAIL|ABORT" "$share/out/$name.txt" | head -5 | sed 's/^/    /'
    fi
done <"$share/results.txt"
grep -E "private|grew" "$share/out/soak_one_kind.txt" 2>/dev/null | sed 's/^/    /'
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
