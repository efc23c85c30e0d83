#!/bin/sh
# First program of the i386 guest, which boots Debian 12 and runs Debian 13
# in a chroot at /d13. qvmode=setup finishes the image (the second stage of
# debootstrap in both), qvmode=prefix makes both Wine prefixes, and
# qvmode=test runs the host's share's guest-test.sh, which writes its
# results there.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
mount -t proc proc /proc 2>/dev/null
mount -t sysfs sys /sys 2>/dev/null
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm /tmp && mount -t devpts devpts /dev/pts && mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
hostname qv-i386

# minbase has no poweroff; the kernel's own request needs nothing installed.
finish() {
    umount -R /d13/proc /d13/sys /d13/dev /d13/tmp /d13/mnt/host /d13/qv/lock 2>/dev/null
    sync
    mount -o remount,ro / 2>/dev/null
    echo "qv: guest done"
    echo o >/proc/sysrq-trigger
    sleep 10
}

# Debian 13's system sees the kernel's file systems and a /tmp of its own.
enter_d13() {
    for d in proc sys dev; do mount --rbind /$d /d13/$d; done
    mkdir -p /d13/tmp && mount -t tmpfs tmpfs /d13/tmp
}
in_system() { # 12|13 COMMAND...
    if [ "$1" = 13 ]; then shift; chroot /d13 "$@"; else shift; "$@"; fi
}

# A prefix with a virtual desktop of the test size and sound through ALSA.
# A boot of its own: straight after the second stage, in the same boot,
# 32-bit Wine fails with "could not load ntdll.so".
make_prefix() { # 12|13
    in_system "$1" env HOME=/root WINEPREFIX=/root/.wine WINEDEBUG=-all \
        WINEDLLOVERRIDES="mscoree,mshtml=" sh -c '
        wineboot -i >/var/log/qv-wineboot.log 2>&1 || cat /var/log/qv-wineboot.log
        wineserver -w
        wine reg add "HKCU\\Software\\Wine\\Explorer" /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops" /v Default /d 1024x740 /f >/dev/null 2>&1
        wine reg add "HKCU\\Software\\Wine\\Drivers" /v Audio /d alsa /f >/dev/null 2>&1
        wineserver -w
        test -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll"' &&
        echo "qv: Wine prefix ready in Debian $1" || echo "qv: the Wine prefix of Debian $1 is empty"
}

case "$(cat /proc/cmdline)" in
*qvmode=setup*)
    enter_d13
    # Both at once: each is one dpkg run after another.
    for system in 12 13; do
        (in_system $system /debootstrap/debootstrap --second-stage \
             >/var/log/qv-second-stage-$system.log 2>&1 &&
             echo "qv: second stage done in Debian $system" ||
             tail -20 /var/log/qv-second-stage-$system.log) &
    done
    wait
    finish
    ;;
*qvmode=prefix*)
    enter_d13
    make_prefix 12 &
    make_prefix 13 &
    wait
    finish
    ;;
*qvmode=debug*)
    # Diagnostics of the guest's Wine, printed on the console.
    export HOME=/root WINEPREFIX=/tmp/pfx
    wine --version
    cat /proc/sys/vm/mmap_min_addr /proc/sys/kernel/randomize_va_space
    grep -m1 flags /proc/cpuinfo
    WINEDEBUG=+module,+loaddll wine cmd /c echo hello 2>&1 | head -40
    finish
    ;;
*qvmode=test*)
    # The share says what to run (guest-test.sh), so the image need not
    # change when the suite does.
    mkdir -p /mnt/host
    mount -t 9p -o trans=virtio,version=9p2000.L host /mnt/host || { echo "qv: no share"; finish; }
    sh /mnt/host/guest-test.sh >/mnt/host/guest-test.log 2>&1
    finish
    ;;
esac
finish
