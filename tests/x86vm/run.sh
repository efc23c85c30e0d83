#!/bin/bash
# The end-to-end suite on the 32-bit release itself, under 32-bit Wine inside
# an emulated i386 machine: Debian 12's Wine 8 and Debian 13's Wine 10, in one
# boot, both at once.
#   run.sh                  make test-x86: boot, then both reports
#   run.sh boot [SYSTEM...] boot only (systems 12 13 by default)
#   run.sh report SYSTEM    one system's scenarios from the last boot, with
#                           "suite time: N s" (that suite's own time)
# Every report ends with "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/build/x86vm
mkdir -p "$out"
share=$out/share
fail_loudly() {
    echo "*** $1 ***"
    echo "0 passed, 1 failed"
    exit 1
}

boot() {
    local systems=("$@") system dir x86=$root/build/x86
    [ ${#systems[@]} -gt 0 ] || systems=(12 13)
    local image
    image=$("$here/build-image.sh") && [ -f "$image/ready" ] ||
        fail_loudly "the i386 machine did NOT boot: the i386 image could not be built"
    rm -rf "$share"
    mkdir -p "$share"
    printf '%s\n' "${systems[@]}" >"$share/systems.txt"
    cp "$here/guest-test.sh" "$share/"
    for system in "${systems[@]}"; do
        dir=$share/d$system
        mkdir -p "$dir/bin/standin" "$dir/out" "$dir/hostile"
        cp "$x86/quorvane.exe" "$x86/tests/quorvane_noload.exe" \
           "$x86/tests/quorvane_nullplayer.exe" "$x86/tests/qvdriver.exe" "$dir/bin/" ||
            fail_loudly "the i386 machine did NOT boot: the i686 build is missing"
        cp "$x86/tests/standin/"* "$dir/bin/standin/"
        cp -r "$root/build/media" "$dir/media"
        cp "$root/build/hostile/"crash-*.avi "$dir/hostile/"
        cp "$here/guest-suite.sh" "$root/tests/harness/midi-synth.sh" "$dir/"
        # Everything but the long hostile and soak runs, plus a shorter long
        # run: many opens in a row are what a wrong calling convention of the
        # player factory would not survive. QV_X86_SCENARIOS narrows the run.
        if [ -n "${QV_X86_SCENARIOS:-}" ]; then
            tr ' ' '\n' <<<"$QV_X86_SCENARIOS" >"$dir/scenarios.txt"
        else
            grep -ho '^SCENARIO([a-z_0-9]*)' "$root"/tests/*/*.cpp |
                sed 's/SCENARIO(\(.*\))/\1/' |
                grep -Ev '^(hostile_corpus|hostile_check_keeps|soak_|media_survey)' >"$dir/scenarios.txt"
            echo soak_one_kind >>"$dir/scenarios.txt"
        fi
        echo "export QV_SOAK_FILES=tone440.wav,movie176x144.avi,text.avi QV_SOAK_OPENS=60" \
            >"$dir/guest-env.sh"
    done
    echo "booting the i386 machine: Debian ${systems[*]}, $(wc -l <"$share/d${systems[0]}/scenarios.txt") scenarios each"
    local start=$(date +%s)
    "$here/boot.sh" test "$out/test.log" "$image" "$share"
    echo "guest finished in $(( $(date +%s) - start )) s"
    local missing=0
    for system in "${systems[@]}"; do
        if [ ! -s "$share/d$system/results.txt" ]; then
            echo "Debian $system's suite reported nothing:"
            tail -20 "$share/d$system/guest.log" 2>/dev/null
            missing=1
        fi
    done
    if [ $missing = 1 ]; then
        tail -20 "$out/test.log"
        tail -20 "$share/guest-test.log" 2>/dev/null
        fail_loudly "the i386 machine's boot did not run every suite"
    fi
    echo "0 passed, 0 failed"
}

report() {
    local system=$1 dir=$share/d$1 passed=0 failed=0 name status seconds verdict sound first
    [ -s "$dir/results.txt" ] ||
        fail_loudly "test-x86 did NOT run on Debian $system: the guest reported nothing"
    head -1 "$dir/guest.log"
    while read -r name status seconds; do
        verdict=$([ "$status" = 0 ] && echo ok || echo FAIL)
        # What reached the sound output; the MIDI play is the synthesizer's
        # rendering of it, stopped by the second click well before the
        # tune's 10 s.
        capture=()
        case $name in
        player_plays_midi) capture=("$dir/out/$name.synth.wav" 1.5 8) ;;
        player_plays_*) capture=("$dir/out/$name.capture.wav") ;;
        esac
        sound=""
        if [ "$status" = 0 ] && [ ${#capture[@]} -gt 0 ]; then
            # A scenario that plays twice keeps its first play's capture.
            first=$dir/out/$name.first-play.wav
            if [ -f "$first" ]; then
                "$root/tests/player/analyse_capture.sh" "$first" "$dir/out/$name.first-sound.wav" \
                    >"$dir/out/$name.first-sound.txt" 2>&1 || verdict=FAIL
                sound=$(grep -E '^(captured|FAIL)' "$dir/out/$name.first-sound.txt" |
                        sed 's/^/    first play: /')$'\n'
            fi
            "$root/tests/player/analyse_capture.sh" "${capture[0]}" "$dir/out/$name.sound.wav" \
                "${capture[@]:1}" >"$dir/out/$name.sound.txt" 2>&1 || verdict=FAIL
            sound+=$(grep -E '^(captured|FAIL)' "$dir/out/$name.sound.txt" | sed 's/^/    /')
        fi
        printf "%-4s %-55s %4s s\n" "$verdict" "$name" "$seconds"
        [ -z "$sound" ] || echo "$sound"
        if [ "$verdict" = ok ]; then
            passed=$((passed + 1))
        else
            failed=$((failed + 1))
            grep -E "FAIL|ABORT" "$dir/out/$name.txt" | head -5 | sed 's/^/    /'
        fi
    done <"$dir/results.txt"
    grep -E "private|grew" "$dir/out/soak_one_kind.txt" 2>/dev/null | sed 's/^/    /'
    [ -f "$dir/seconds.txt" ] && echo "suite time: $(cat "$dir/seconds.txt") s"
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

case "${1:-}" in
boot) shift; boot "$@" ;;
report) report "${2:?usage: run.sh report 12|13}" ;;
"")
    boot >"$out/boot.log" 2>&1 || { cat "$out/boot.log"; exit 1; }
    grep -v '^0 passed, 0 failed$' "$out/boot.log"
    total_failed=0 total_passed=0
    for system in 12 13; do
        report "$system" | tee "$out/report$system.log"
        read -r p _ f _ < <(tail -1 "$out/report$system.log")
        total_passed=$((total_passed + p)) total_failed=$((total_failed + f))
    done
    echo "$total_passed passed, $total_failed failed"
    [ "$total_failed" -eq 0 ] ;;
*) echo "usage: run.sh [boot [SYSTEM...] | report SYSTEM]" >&2; exit 2 ;;
esac
