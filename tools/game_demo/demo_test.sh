#!/usr/bin/env bash
# The demo as a test: played on a virtual display, null sound card and Wine
# server of its own, so that its key presses, focus and music never meet the
# other tests' windows and sound, and it can run beside them.  The game
# records what it plays into "OUT_DIR/My Games/demo run.rec" (a folder and
# file with blanks in their names, as players' are), which the replay check
# (tools/replay_check/record_demo.sh) replays on both systems.
# Usage: demo_test.sh GAME_EXE OUT_DIR
set -uo pipefail
exe=$1
out=$2
source "$(dirname "$0")/../headless.sh"
trap headless_stop EXIT
mkdir -p "$out"
cd "$out" || exit 1
rm -rf "My Games"
mkdir -p "My Games"
headless_start_own "$out" || exit 1
# Nobody looks at this game's pictures (the frame comparison and the adversity
# group that reads the screen check what is drawn): Mesa's software renderer
# leaves its pixels unfilled, which is most of what the game costs the
# processor, and no screenshots are taken.  The program makes the same calls.
export LP_NO_RAST=1 DEMO_SCREENSHOTS=0
DEMO_SCRIPT=short "$root/tools/demo.sh" "$exe" "$out" --record "My Games/demo run.rec" || exit 1
grep -E '^Recorded [0-9]+ frames' "$out/game.log" || { echo "The game did not report its recording"; exit 1; }
