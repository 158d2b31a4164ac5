#!/usr/bin/env bash
# Builds the three trees and runs every test suite: the native suite directly,
# the Windows suite under Wine on a private virtual display and null sound
# card, the page's in headless Chromium.
# The suites run side by side; each one's output is shown as it ends, and the
# run closes with every suite's wall time and ctest summary.
set -uo pipefail
source "$(dirname "$0")/headless.sh"
source "$(dirname "$0")/suites.sh"
cd "$root"
trap headless_stop EXIT
trap 'exit 130' INT TERM

step() { echo "==> [$SECONDS s] $*"; }

# Compiler output is cached across runs and checkouts (see CMakeLists.txt).
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"

step "Starting the virtual display, sound card and Wine server"
headless_start_display || exit 1
headless_start_sound
# A fresh Wine prefix takes a while to prepare: that happens during the builds.
headless_start_wine >"$session_dir/wine-start.log" 2>&1 &
wine_start=$!
headless_wine_started=1  # set in the background shell, so the stop needs it here

step "Building the native tree"
cmake --preset native >/dev/null && cmake --build --preset native || exit 1
step "Building the Windows tree"
cmake --preset windows >/dev/null && cmake --build --preset windows || exit 1
step "Building the page"
cmake --preset web >/dev/null && cmake --build --preset web || exit 1
wait "$wine_start" || { cat "$session_dir/wine-start.log"; exit 1; }

# In a fresh Wine prefix the first program to play sound finds the stream slow
# to get going: the write cursor moves once and then stands for a while, and
# the ring test, which times the cursor, has read that as too slow a rate.
# The ring test's process plays first, on its own (its result is the suite's
# to judge).
step "Warming up the sound stream"
ctest --preset windows -R "^fathomer_tests: tests/test_audio_device.cpp" >"$session_dir/sound-warm-up.log" 2>&1 || true

# Tests that need the display or the sound card to answer promptly go first,
# while the machine is otherwise idle: the sound tests time the device's
# cursors against the clock, the sound capture records against it, and the
# desktop tests wait for focus, key presses and window managers.  With both
# cores loaded by the other suites, a starved sound thread, recorder or window
# manager has read as a fault.  So the sound tests run alone; then the two
# trees' desktop tests side by side (one display each) with the sound capture
# (a display, sound server and Wine server of its own; its recorder has lost
# up to 0.2 % of the frames there, against the 5 % it allows); then the tests
# that play whole games (label game).  These wait on each other in a chain that
# is the longest part of the run, and some of them count frames.
# The unit tests and the fuzz targets need nothing prompt and only need to be
# done by the end: they run beside the games at a lower priority and take
# what processor time the games leave.  (At the same priority, or at nice 5,
# the whole run took 20-30 s longer.)  A test that comes up while the games
# start can wait most of a minute for the processor.
tree_tests() {
    local failed=0
    ctest --preset native "$@" || failed=1
    ctest --preset windows "$@" || failed=1
    ctest --preset web "$@" || failed=1
    return $failed
}
# The page's sound check hears the page's device in real time: beside the
# demo pictures and the unit tests a late block was heard as a gap.
step "Running the sound tests on their own"
suite "Sound tests (the three trees, run alone)" tree_tests -L "sound card"
wait "${suite_pids[-1]}" || true

step "Running the desktop tests and the sound capture"
suite "Desktop tests (native)" ctest --preset native -L desktop -LE "sound card"
# Now and then the window manager, undecorating a window whose style Wine has
# just changed, keeps its old outer size and overrides the size asked for
# (tests/win32/test_window_ops.cpp then finds the client area 8 x 27 pixels too
# large): a failed test gets a second run, and both runs are shown.
suite "Desktop tests (Windows, under Wine)" ctest --preset windows -L desktop -LE "sound card" --repeat until-pass:2
suite "Sound capture (Windows, under Wine)" ctest --preset windows -L capture
wait "${suite_pids[-3]}" "${suite_pids[-2]}" "${suite_pids[-1]}" || true

# The Windows games in steps of two side by side.  bad_data, close and gamepad
# play two to eleven games at once, but their games fill no pixels and mostly
# wait, and their checks (exit codes and logs) do not depend on speed: they go
# first, beside the other suites.  Then the demo test and the frame
# comparison, and the replay of the demo test's recording once it is made:
# beside the first two, the demo test's game, slowed to a few frames a
# second, was once killed by Wine as it exited.  input and stall come last,
# when the other suites have ended: input counts frames by the diver's
# slowing and stall times the sound after a stall, and a game starved of the
# processor moves too few frames for either.  The small screen plays alone
# after them: it times its key presses against windows that resize.
windows_games() {
    local failed=0
    ctest --preset windows -j 2 -R '^fathomer_adversity_(bad_data|close|gamepad)$' || failed=1
    ctest --preset windows -j 2 -R '^fathomer_(demo_|recorded_demo_)' || failed=1
    ctest --preset windows -j 2 -R '^fathomer_adversity_(input|stall)$' || failed=1
    ctest --preset windows -R '^fathomer_small_screen_' || failed=1
    local all listed
    all=$(ctest --preset windows -N -L game | grep -c 'Test *#')
    listed=$(ctest --preset windows -N -R '^fathomer_(adversity_|demo_|recorded_demo_|small_screen_)' | grep -c 'Test *#')
    ((all == listed)) || { echo "tools/test.sh has no place for $((all - listed)) of the Windows games"; failed=1; }
    return $failed
}
step "Running the whole games, and beside them the unit tests and fuzz targets"
suite "Whole games (native)" ctest --preset native -L game
suite "Whole games (Windows, under Wine)" windows_games
windows_games_pid=${suite_pids[-1]}
suite "Native tests" nice -n 10 ctest --preset native -LE "sound card|desktop|capture|game"
suite "Fuzz targets, a short run each" nice -n 10 tools/fuzz/run.sh short
suite "Windows tests (under Wine)" nice -n 10 ctest --preset windows -LE "sound card|desktop|capture|game"
# The page in headless Chromium.  Its sound check hears the page in real time
# and its demo pictures are taken on the game's clock, and two browsers
# beside the Windows games starved both them and the games (a demo killed as
# it exited, a focus test's diver seen too slow): the page's checks start
# once the Windows games have ended, beside what is left of the unit tests.
browser_tests() {
    while kill -0 "$windows_games_pid" 2>/dev/null; do sleep 1; done
    ctest --preset web -L browser -LE "sound card"
}
suite "Browser tests (the page in headless Chromium)" browser_tests
suites_finish
