#!/bin/sh
# Runs inside the i386 guest from the host's share, in Debian 12 or in
# Debian 13's chroot: the end-to-end scenarios against the 32-bit release
# with the i686 driver, under that system's 32-bit Wine.
# Writes "NAME STATUS SECONDS" lines to results.txt, each scenario's output
# to out/ and the suite's time to seconds.txt, all beside this script.
S=$(cd "$(dirname "$0")" && pwd)
suite_start=$(date +%s)
. $S/guest-env.sh
# Programs mapped from the 9p share run with wrong pages (a C++ start-up
# faults at once), so everything runs from a local copy. Its path names the
# system: the soak finds its player in the one kernel's /proc by its command
# line, which the other system's player must not share.
L=/tmp/qv-d${QV_SYSTEM:?}
mkdir -p $L && cp -r $S/bin $S/media $S/hostile $L/
# Unix file names in UTF-8, or names with accented letters cannot be made.
export LANG=C.UTF-8
export HOME=/root WINEPREFIX=/root/.wine WINEDEBUG=-all DISPLAY=${QV_DISPLAY:-:1}
export QV_EXE=$L/bin/quorvane.exe QV_RELEASE_EXE=$L/bin/quorvane.exe
export QV_NOLOAD_EXE=$L/bin/quorvane_noload.exe QV_NULLPLAYER_EXE=$L/bin/quorvane_nullplayer.exe
export QV_STANDIN_EXE=$L/bin/standin/quorvane.exe
export QV_MEDIA=$L/media QV_HOSTILE=$L/hostile QV_WORK=/tmp/work QV_CAPTURE=/tmp/capture.wav
mkdir -p $QV_WORK $S/out
: >$S/results.txt

Xvfb $DISPLAY -screen 0 1024x768x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
for _ in $(seq 60); do [ -e /tmp/.X11-unix/X${DISPLAY#:} ] && break; sleep 1; done
cat >/root/.asoundrc <<ASOUND
pcm.!default { type file; slave.pcm "null"; file "/tmp/capture.wav"; format "wav" }
ASOUND
# Wine's own fonts where it reads them (see tests/harness/session.sh).
cp /usr/share/wine/fonts/* $WINEPREFIX/drive_c/windows/Fonts/
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d "$(cat /qv/relay-include.txt)" /f >/dev/null 2>&1
wineserver -p
wineboot >/dev/null 2>&1
setsid wine explorer.exe /desktop=Default,1024x740 >/dev/null 2>&1 </dev/null &
sleep 5
echo "guest: $(uname -m), Debian $(cat /etc/debian_version), $(wine --version), $(nproc) cpus"

for name in $(cat $S/scenarios.txt); do
    export QV_TRACE=$QV_WORK/$name.trace
    : >$QV_TRACE
    # No crash debugger: a crash must end the scenario, not freeze it.
    overrides="mscoree,mshtml=;winedbg.exe=d"
    [ $name = app_factory_missing ] && overrides="$overrides;msvfw32=n,b"
    rm -f /tmp/capture.wav
    # The synthesizer renders one MIDI play into its own file; it must be up
    # before the player starts.
    # The other system's suite may play MIDI too: the lock keeps the two
    # synthesizers off the one sequencer at the same time.
    synth=0
    case $name in
    player_plays_midi)
        exec 9>/qv/lock/midi
        flock 9
        bash $S/midi-synth.sh start /tmp/synth.wav && synth=1
        # Ahead of the other suite, as a desktop's sound server is: behind it,
        # the synthesizer renders less than the time that passes.
        [ $synth = 1 ] && renice -n -10 -p "$(cat /tmp/qv-synth/synth.pid)" >/dev/null ;;
    esac
    start=$(date +%s)
    QV_MIDI_SYNTH=$synth WINEDLLOVERRIDES=$overrides timeout 600 wine $L/bin/qvdriver.exe $name \
        >$S/out/$name.txt 2>>$QV_TRACE
    status=$?
    [ $synth = 1 ] && bash $S/midi-synth.sh stop && cp /tmp/synth.wav $S/out/$name.synth.wav
    case $name in player_plays_midi) exec 9>&- ;; esac
    [ -f /tmp/capture.wav ] && cp /tmp/capture.wav $S/out/$name.capture.wav
    # A failed scenario keeps Wine's trace, to be read on the host.
    [ $status = 0 ] || cp $QV_TRACE $S/out/
    [ -f $QV_WORK/$name.first-play.wav ] && cp $QV_WORK/$name.first-play.wav $S/out/
    echo "$name $status $(( $(date +%s) - start ))" >>$S/results.txt
    echo "$name: status $status"
done
wineserver -k
echo $(( $(date +%s) - suite_start )) >$S/seconds.txt
sync
