#!/usr/bin/env bash
# The native game where start-up cannot have what it needs: without a display
# and without OpenGL 4.4 it logs why and exits with 1; without a sound server
# it logs why and plays silently (ended by SIGTERM with 0).
# Usage: bad_start_up.sh GAME OUT_DIR
set -uo pipefail
source "$(dirname "$0")/../game_window.sh"
game=$1 out=$2
mkdir -p "$out"
fail() { echo "FAIL: $*"; exit 1; }
unset WAYLAND_DISPLAY
# SDL brings in D-Bus, whose library keeps memory to the end.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/../lsan_suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# Nothing here looks at the game's pictures: Mesa's software renderer leaves
# them unfilled, which is most of what a running game costs the processor.
export LP_NO_RAST=1

# Runs the game for at most SECONDS with extra environment; its exit code.
run() {
    local name=$1 seconds=$2
    shift 2
    env -u WAYLAND_DISPLAY "$@" timeout --preserve-status -s TERM "$seconds" "$game" >"$out/$name.log" 2>&1
}
expect_line() { grep -q -- "$2" "$out/$1.log" || { cat "$out/$1.log"; fail "$1: no line matching '$2'"; }; }

# SDL left to choose finds no display (it must not settle for its offscreen
# driver), and so does its X11 driver asked for by name.
run no-display 60 -u DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy
rc=$?
echo "without a display: exit code $rc"
((rc == 1)) || fail "exit code $rc without a display"
expect_line no-display "---------- START ----------"
expect_line no-display "^FAILED SDL_InitSubSystem(video) "
run no-x11 60 -u DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
rc=$?
echo "without a display, X11 asked for: exit code $rc"
((rc == 1)) || fail "exit code $rc without a display"
expect_line no-x11 "^FAILED SDL_InitSubSystem(video) "

run no-gl44 60 SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy MESA_GL_VERSION_OVERRIDE=3.3
rc=$?
echo "with OpenGL 3.3 only: exit code $rc"
((rc == 1)) || fail "exit code $rc without OpenGL 4.4"
expect_line no-gl44 "^FAILED SDL_GL_CreateContext("

# Ended once start-up is over and the frame loop runs.
env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=pulseaudio PULSE_SERVER=unix:/nonexistent/fathomer/pa.sock \
    "$game" >"$out/no-sound.log" 2>&1 &
pid=$!
wait_for_ready "$out/no-sound.log" "$pid"
kill -TERM "$pid" 2>/dev/null
wait_for_end "$pid" 30 || { kill -KILL "$pid"; fail "without a sound server: the game did not end within 30 s of SIGTERM"; }
wait "$pid"
rc=$?
echo "without a sound server: exit code $rc after SIGTERM"
((rc == 0)) || fail "exit code $rc without a sound server"
expect_line no-sound "^FAILED SDL_InitSubSystem(audio) "
# Every picture is there all the same; without a device no sound is made.
expect_line no-sound "^Ready: 6 of 6 images, 0 of 9 sounds$"
exit 0
