#!/bin/bash
# Generates the test and sample media into the given folder, once.
set -euo pipefail
out=${1:?usage: make_media.sh DIR}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)
stamp=$out/.made
# Remade when this script or the hostile generator changes.
if [ -f "$stamp" ] && [ "$stamp" -nt "$0" ] && [ "$stamp" -nt "$here/make_hostile_avi.py" ] &&
   [ "$stamp" -nt "$here/make_picture_avi.py" ]; then
    exit 0
fi
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }

# Sound: a 440 Hz tone, long enough to be stopped by a second click even
# though the capture sink takes sound faster than it plays.
sox -n -r 22050 -c 1 -b 16 tone440.wav synth 30 sine 440 vol 0.5

# A small MIDI file: format 0, one track, an A4 held for 10 s on the
# ocarina (General MIDI 80), whose nearly pure tone reads as its pitch.
# Wine's sequencer moves its position, and hears a stop, only at an event,
# so an unchanged expression value is sent every eighth of a second.
python3 - <<'MIDI'
import struct
track = bytes.fromhex("00ff510307a120")  # tempo 500000 us per quarter (96 ticks)
track += bytes.fromhex("00c04f")          # program: ocarina
track += bytes.fromhex("00904560")        # note on A4
track += bytes.fromhex("0cb00b7f") * 160  # every 12 ticks: expression 127
track += bytes.fromhex("00804540")        # note off, 10 s in
track += bytes.fromhex("00ff2f00")        # end of track
with open("tune.mid", "wb") as f:
    f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96))
    f.write(b"MTrk" + struct.pack(">I", len(track)) + track)
MIDI

# Movies: Microsoft Video 1 pictures with a 440 Hz PCM sound track.
movie() { # name width height
    ff -f lavfi -i "testsrc=size=$2x$3:rate=10" -f lavfi -i "sine=frequency=440:sample_rate=22050" \
        -t 2 -c:v msvideo1 -c:a pcm_s16le -ac 1 "$1"
}
movie movie320x240.avi 320 240
movie movie176x144.avi 176 144
movie movie16x48.avi 16 48
# One-pixel checkerboards, white where x + y is odd: MS Video 1 holds one
# exactly (two colours in each 4x4 block), in sizes that are multiples of 4;
# uncompressed ones in every depth and row order, 70 rows high.
ff -f lavfi -i "color=black:s=160x120:r=10,geq=lum='255*mod(X+Y\,2)':cb=128:cr=128" -t 1 \
    -c:v msvideo1 -pix_fmt rgb555le chk-msvideo1-160x120.avi
python3 "$here/make_picture_avi.py" . 100 70

# Files that are not movies although named so.
echo "This is a text file, not a movie." >text.avi
head -c 100 movie176x144.avi >truncated.avi

# Extensions: the movie path only for a whole, case-blind "avi".
cp movie176x144.avi upper.AVI
cp movie176x144.avi mixed.Avi
cp tone440.wav sound.avi2
cp tone440.wav sound.avix
# Windows drops a trailing dot when it resolves a name, so "trailingdot."
# as typed in the dialog names this file.
cp tone440.wav trailingdot
cp tone440.wav nodot
# Hostile files named .avi, from a fixed seed.
python3 "$here/make_hostile_avi.py" "$(dirname "$out")/hostile" movie176x144.avi
# Well-formed headers but no movie data: the services themselves refuse it.
cp "$(dirname "$out")/hostile/missing-movi.avi" no-movie-data.avi
touch "$stamp"
echo "test media in $out"
