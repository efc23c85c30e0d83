#!/bin/bash
# Runs a Windows program in the test session (CTest's emulator). Wine writes
# its traces to the Unix stderr that programs inherit, so a test that reads
# the player's trace names a file for it in QV_TRACE.
source "$(dirname "$0")/wine-env.sh"
if [ -n "${QV_TRACE:-}" ]; then
    exec "$WINELOADER" "$@" 2>>"$QV_TRACE"
fi
exec "$WINELOADER" "$@"
