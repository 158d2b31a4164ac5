#!/usr/bin/env bash
# Runs the game with no display on a Wine prefix and server of its own (a
# server that once served a display must never serve a run without one):
# start-up cannot create the window and the exit code must be 1.
# Usage: no_display.sh GAME_EXE PREFIX_DIR
set -uo pipefail
exe=$(realpath "$1")
prefix=$(realpath -m "$2")
unset DISPLAY WAYLAND_DISPLAY
source "$(dirname "$0")/../headless.sh"
export WINEPREFIX=$prefix
session_dir="$prefix-session"
log="$session_dir/game.log"
headless_prepare_prefix || exit 1
wineserver -p >"$session_dir/wineserver.log" 2>&1
trap 'wineserver -k >/dev/null 2>&1' EXIT
timeout 60 wine "$exe" >"$log" 2>&1 </dev/null
rc=$?
echo "exit code without a display: $rc (log: $log)"
# The banner comes before the window: it shows the game itself ran (and not
# Wine failing to start, which also exits with 1).
grep -q -- "---------- START ----------" "$log" || { echo "the game did not start"; exit 1; }
[[ $rc -eq 1 ]]
