#!/usr/bin/env bash
# Plays the game on the current (virtual) display with scripted key presses,
# saving a screenshot after each step.  Usage: demo.sh EXE OUT_DIR [GAME ARGUMENTS...]
# DEMO_SCRIPT=short plays a quicker script with the same kinds of input (the
# opening skipped with X after its first second), for the tests;
# DEMO_SCREENSHOTS=0 plays it without taking screenshots.
set -uo pipefail
exe=$1
out=$2
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.xwd
wine "$exe" "${@:3}" >"$out/game.log" 2>&1 &
game=$!

# Start-up shows the window only once it is ready; on a busy machine that has
# taken over ten seconds.
source "$(dirname "$0")/game_window.sh"
if ! wait_for_game_window 60; then
    echo "The game's window did not appear; its log:"
    cat "$out/game.log"
    exit 1
fi

failed_shots=0
conversions=()
# The window is grabbed at once; the slower conversion to PNG runs alongside.
shot() {
    [[ ${DEMO_SCREENSHOTS:-1} == 0 ]] && return
    if xwd -silent -id "$window" >"$out/$1.xwd"; then
        (convert "xwd:$out/$1.xwd" "png:$out/$1.png" && rm -f "$out/$1.xwd") &
        conversions+=($!)
        echo "  $out/$1.png"
    else
        failed_shots=$((failed_shots + 1))
    fi
}
# Keys go to the focused window, each a quarter second after the last: two
# presses within one frame count once, and a busy machine draws slow frames.
press() {
    xdotool windowfocus "$window" 2>/dev/null
    xdotool key --delay 250 "$@"
}
hold() {
    xdotool windowfocus "$window" 2>/dev/null
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

# The steps both scripts share: the title, then X and the opening's first second.
title_to_opening() {
    sleep 1.5
    shot 01-title
    press x
    sleep 1.5
    shot 02-opening-1s
}
# The diver waiting, steered, then falling and steered again.
waiting_to_falling() {
    shot 06-waiting
    hold a 0.6
    shot 07-waiting-steered
    press x
    sleep 1.5
    shot 08-falling
    hold d 1
    hold w 0.5
}

full_script() {
    # The opening runs on the game's real-time clock, so its moments keep their
    # times; play needs only long enough for each sight to appear.
    title_to_opening
    sleep 4
    shot 03-opening-5s
    sleep 5
    shot 04-opening-10s
    sleep 4
    shot 05-opening-14s
    sleep 4.5
    # The opening has ended by itself after about 17 seconds: the diver waits.
    waiting_to_falling
    sleep 2
    shot 09-falling-steered
    hold a 1
    hold s 0.5
    sleep 3
    shot 10-falling-10s
    press equal equal equal equal equal
    sleep 0.5
    shot 11-stage-hope-high
    press equal equal equal equal
    sleep 0.5
    shot 12-stage-hope-top
    press minus minus minus minus minus minus minus minus minus minus minus minus minus minus
    sleep 0.5
    shot 13-stage-hope-low
    press minus minus minus minus minus minus minus minus minus minus
    sleep 0.5
    shot 14-stage-hope-bottom
    press r
    sleep 2
    shot 15-boxes
    press r
    hold d 0.5
    hold a 0.5
    sleep 2
    shot 16-falling-late
    press equal equal equal equal equal equal equal equal equal equal equal equal equal equal
    sleep 1
    shot 17-back-to-middle
}

short_script() {
    title_to_opening
    # X during the opening ends it at once: the diver waits.
    press x
    sleep 0.5
    waiting_to_falling
    sleep 0.5
    shot 09-falling-steered
    press equal equal equal equal equal
    sleep 0.5
    shot 11-stage-hope-high
    press minus minus minus minus minus minus minus minus minus minus minus minus minus minus
    sleep 0.5
    shot 13-stage-hope-low
    press r
    sleep 1
    shot 15-boxes
    press r
    hold a 0.5
    sleep 1
    shot 16-falling-late
}

[[ ${DEMO_SCREENSHOTS:-1} == 0 ]] || echo "Screenshots:"
if [[ "${DEMO_SCRIPT:-full}" == short ]]; then short_script; else full_script; fi
# Alt+F4 becomes the window's close request; destroying the X window would
# leave the program running without it.
press alt+F4
# A loaded machine has taken over ten seconds to end the process.
if ! wait_for_end "$game" 30; then
    echo "The game did not end within 30 s of closing its window"
    kill "$game"
    exit 1
fi
wait "$game"
rc=$?
for c in "${conversions[@]}"; do
    wait "$c" || failed_shots=$((failed_shots + 1))
done
echo "The game's log: $out/game.log (exit code $rc)"
if ((failed_shots > 0)); then
    echo "$failed_shots screenshots failed"
    exit 1
fi
exit $rc
