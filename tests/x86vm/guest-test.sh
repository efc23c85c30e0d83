#!/bin/sh
# Runs in the i386 guest's Debian 12 from the host's share: the suites of the
# systems listed in systems.txt at once, Debian 12's here and Debian 13's in
# its chroot, each from its own share folder (d12, d13) on its own display.
S=/mnt/host
# The sequencer for the MIDI synthesizer: the kernel's, shared by both
# systems (Debian 13's has no modules of its own), so one MIDI play at a time.
modprobe snd-seq 2>/dev/null
mkdir -p /qv/lock
for system in $(cat $S/systems.txt); do
    if [ "$system" = 13 ]; then
        for d in proc sys dev; do mount --rbind /$d /d13/$d; done
        mkdir -p /d13/tmp /d13/mnt/host /d13/qv/lock
        mount -t tmpfs tmpfs /d13/tmp
        mount --bind $S/d13 /d13/mnt/host
        mount --bind /qv/lock /d13/qv/lock
        QV_SYSTEM=13 QV_DISPLAY=:2 chroot /d13 sh /mnt/host/guest-suite.sh >$S/d13/guest.log 2>&1 &
    else
        QV_SYSTEM=12 QV_DISPLAY=:1 sh $S/d12/guest-suite.sh >$S/d12/guest.log 2>&1 &
    fi
done
wait
