# Sourced: the environment of the private Wine session used by run and test.
# 64-bit loader only: /usr/bin/wine prefers the 32-bit one, which cannot run here.
QV_ROOT=${QV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
export WINEPREFIX=${QV_WINEPREFIX:-$QV_ROOT/build/wineprefix}
export WINEARCH=win64
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=${WINEDEBUG:--all}
# Wine turns Windows file names into Unix ones in the locale's character set:
# names with accented letters need UTF-8, whatever the caller's locale.
export LC_ALL=C.UTF-8
# No add-on installer prompts; a test may add overrides of its own.
export WINEDLLOVERRIDES="mscoree,mshtml=${QV_DLLOVERRIDES:+;$QV_DLLOVERRIDES}"
# Wine's sound goes through ALSA, whose configuration is read from HOME.
export QV_WINE_HOME=$QV_ROOT/build/winehome
export HOME=$QV_WINE_HOME
export QV_CAPTURE=$QV_WINE_HOME/capture.wav
# The session's state beside its prefix, so that two sessions (the host's and
# a root's) never end each other's display; its display, for programs
# started outside run-suite.sh.
export QV_SESSION=$(dirname "$WINEPREFIX")/session
if [ -z "${DISPLAY:-}" ] && [ -f "$QV_SESSION/display" ]; then
    export DISPLAY=$(cat "$QV_SESSION/display")
fi
