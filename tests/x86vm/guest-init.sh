#!/bin/sh
# First program of the i386 guest. qvmode=setup finishes the image (the
# second stage of debootstrap and a Wine prefix); qvmode=test runs the suite
# from the host's share and writes its results there.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
mount -t proc proc /proc 2>/dev/null
mount -t sysfs sys /sys 2>/dev/null
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm /tmp && mount -t devpts devpts /dev/pts && mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
hostname qv-i386

# minbase has no poweroff; the kernel's own request needs nothing installed.
finish() {
    sync
    mount -o remount,ro / 2>/dev/null
    echo "qv: guest done"
    echo o >/proc/sysrq-trigger
    sleep 10
}

case "$(cat /proc/cmdline)" in
*qvmode=setup*)
    /debootstrap/debootstrap --second-stage >/var/log/qv-second-stage.log 2>&1 ||
        tail -20 /var/log/qv-second-stage.log
    echo "qv: second stage done"
    finish
    ;;
*qvmode=prefix*)
    # A boot of its own: straight after the second stage, in the same boot,
    # 32-bit Wine fails with "could not load ntdll.so".
    export HOME=/root WINEPREFIX=/root/.wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wineboot -i >/var/log/qv-wineboot.log 2>&1 || cat /var/log/qv-wineboot.log
    wineserver -w
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x740 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
    wineserver -w
    if [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
        echo "qv: image ready"
    else
        echo "qv: the Wine prefix is empty"
    fi
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
    mkdir -p /mnt/host
    mount -t 9p -o trans=virtio,version=9p2000.L host /mnt/host || { echo "qv: no share"; finish; }
    sh /mnt/host/guest-suite.sh >/mnt/host/guest.log 2>&1
    finish
    ;;
esac
finish
