#!/bin/bash
# Puts a software synthesizer (FluidSynth with Debian's small General MIDI
# soundfont) on the ALSA sequencer, where Wine's MIDI output goes.
#   midi-synth.sh start [WAV]  to the desktop's sound, or rendered into WAV
#   midi-synth.sh stop         ends it (a rendered WAV gets its header)
# Wine lists the sequencer's ports once per process, so the synth must be up
# before the player starts. Where there is no sequencer, or something already
# plays on it, start says so in one line and does nothing.
set -uo pipefail
state=${QV_SYNTH_STATE:-/tmp/qv-synth}
soundfont=/usr/share/sounds/sf2/TimGM6mb.sf2
clients=/proc/asound/seq/clients

# A client other than the kernel's own two is taken for a synthesizer.
other_client() {
    grep -E '^Client +[0-9]+ :' "$clients" 2>/dev/null |
        grep -vE '"(System|Midi Through)"' | grep -q .
}

start() {
    local wav=${1:-}
    [ -e /dev/snd/seq ] || modprobe snd-seq 2>/dev/null
    if [ ! -e /dev/snd/seq ]; then
        echo "MIDI: no ALSA sequencer on this machine (containers have none): MIDI files open but stay silent"
        return 0
    fi
    if other_client; then
        echo "MIDI: the sequencer already has a client, taken for your synthesizer"
        return 0
    fi
    [ -f "$soundfont" ] || { echo "MIDI: no soundfont at $soundfont"; return 1; }
    # Under sudo, the desktop's sound server is the invoking user's.
    local pulse=${XDG_RUNTIME_DIR:-/run/user/${SUDO_UID:-$(id -u)}}/pulse/native driver
    local drivers=(alsa)
    if [ -n "$wav" ]; then
        drivers=(file)
    elif [ -n "${PULSE_SERVER:-}" ] || [ -S "$pulse" ]; then
        export PULSE_SERVER=${PULSE_SERVER:-unix:$pulse}
        drivers=(pulseaudio alsa)  # PulseAudio, or PipeWire's PulseAudio service
    fi
    for driver in "${drivers[@]}"; do
        launch "$driver" "$wav" && { echo "MIDI: FluidSynth on the ALSA sequencer ($driver)"; return 0; }
        echo "MIDI: the synthesizer did not come up through $driver:"
        tail -3 "$state/log"
        stop >/dev/null
    done
    return 1
}

# launch DRIVER [WAV]: true once the synth's client is on the sequencer.
launch() {
    local out=(-a "$1") i
    [ "$1" = file ] && out+=(-o "audio.file.name=$2")
    rm -rf "$state"
    mkdir -p "$state"
    # Its shell reads a FIFO that a sleeper holds open: "quit" there ends it
    # cleanly (a signal would leave a rendered WAV's sizes at 0).
    mkfifo "$state/ctl"
    sleep infinity >"$state/ctl" &
    echo $! >"$state/holder.pid"
    fluidsynth "${out[@]}" -m alsa_seq -p FluidSynth -g 0.8 -r 22050 "$soundfont" \
        <"$state/ctl" >"$state/log" 2>&1 &
    echo $! >"$state/synth.pid"
    for i in $(seq 120); do
        grep -q '"FluidSynth"' "$clients" 2>/dev/null && return 0
        kill -0 "$(cat "$state/synth.pid")" 2>/dev/null || return 1
        sleep 0.5
    done
    return 1
}

stop() {
    [ -f "$state/synth.pid" ] || return 0
    local pid i
    pid=$(cat "$state/synth.pid")
    kill -0 "$pid" 2>/dev/null && timeout 5 bash -c "echo quit >'$state/ctl'"
    for i in $(seq 60); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.5
    done
    kill "$pid" 2>/dev/null && echo "MIDI: the synthesizer had to be killed"
    kill "$(cat "$state/holder.pid")" 2>/dev/null
    rm -rf "$state"
}

case "${1:-}" in
start) start "${2:-}" ;;
stop) stop ;;
*) echo "usage: midi-synth.sh start [WAV] | stop" >&2; exit 2 ;;
esac
