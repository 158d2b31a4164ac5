#!/usr/bin/env bash
# make run-windows: builds the Windows tree and starts the game under Wine.
# With a display the game opens there; without one it is played on a virtual
# display by a short script of key presses, and screenshots are saved under
# build/run/.
set -uo pipefail
source "$(dirname "$0")/headless.sh"
cd "$root"
cmake --preset windows >/dev/null && cmake --build --preset windows || exit 1
exe="$root/build/windows/bin/fathomer.exe"

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
    # The user's own display: a prefix of its own, so that a virtual display
    # of the tests never shares a Wine server with it.
    export WINEPREFIX="$root/build/wineprefix-display"
    session_dir="$root/build/session-display"
    headless_prepare_prefix || exit 1
    exec wine "$exe"
fi

trap headless_stop EXIT
trap 'exit 130' INT TERM
headless_start_display || exit 1
headless_start_sound
headless_start_wine || exit 1
exec "$root/tools/demo.sh" "$exe" "$root/build/run"
