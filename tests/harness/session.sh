#!/bin/bash
# start: an X display (Xvfb unless one is given), the Wine prefix, and a
# wineserver that stays up between programs. stop: ends what start began.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
state=$QV_SESSION
mkdir -p "$state" "$QV_WINE_HOME"

wine_reg() { "$WINELOADER" reg add "$@" /f >/dev/null 2>&1; }

start_display() {
    if [ -n "${QV_USE_DISPLAY:-}" ]; then
        echo "$QV_USE_DISPLAY" >"$state/display"
        return
    fi
    local n
    for n in $(seq 91 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    echo ":$n" >"$state/display"
}

make_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] && return
    echo "creating the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    "$WINELOADER" wineboot -i >"$state/wineboot.log" 2>&1
    "$WINESERVER" -w
    # A virtual desktop, so that Wine draws frames and captions itself.
    wine_reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
    wine_reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x740
    wine_reg 'HKCU\Software\Wine\Drivers' /v Audio /d alsa
    # When a run is traced (WINEDEBUG=+relay), only these calls are logged.
    wine_reg 'HKCU\Software\Wine\Debug' /v RelayInclude /d "$(cat "$here/relay-include.txt")"
    "$WINESERVER" -w
}

# Debian 12's Wine 8 looks for its own fonts in /usr/share/fonts (its font
# folder is built in as "../fonts" of the data folder /usr/share/wine), not
# in /usr/share/wine/fonts where fonts-wine puts them: without them it draws
# title-bar buttons as letters and cuts captions short. It also reads the
# Windows font folder, so they go there.
place_fonts() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    [ -f "$fonts/tahoma.ttf" ] || cp /usr/share/wine/fonts/* "$fonts/"
}

# Sound goes to a WAVE file that the tests read; make run's to the desktop.
write_asoundrc() {
    if [ -n "${QV_SOUND_TO_DESKTOP:-}" ]; then
        rm -f "$QV_WINE_HOME/.asoundrc"
        return
    fi
    cat >"$QV_WINE_HOME/.asoundrc" <<ASOUND
pcm.!default {
    type file
    slave.pcm "null"
    file "$QV_CAPTURE"
    format "wav"
}
ASOUND
}

case "${1:-}" in
start)
    start_display
    export DISPLAY=$(cat "$state/display")
    make_prefix
    place_fonts
    write_asoundrc
    "$WINESERVER" -p  # persistent until stop
    # Start the services and the desktop now, detached from any caller's
    # output: processes that a test's program started would hold its pipes.
    "$WINELOADER" wineboot >/dev/null 2>&1 </dev/null
    setsid "$WINELOADER" explorer.exe /desktop=Default,1024x740 >/dev/null 2>&1 </dev/null &
    sleep 2
    echo "display $DISPLAY, prefix $WINEPREFIX"
    ;;
stop)
    "$WINESERVER" -k 2>/dev/null || true
    if [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
        rm -f "$state/xvfb.pid"
    fi
    ;;
display)
    cat "$state/display"
    ;;
*)
    echo "usage: session.sh start|stop|display" >&2
    exit 2
    ;;
esac
