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

# The game's keys (game/keys.h) as X keysyms.
keysym() {
    case $1 in
    PLUS) echo equal ;;
    MINUS) echo minus ;;
    F11) echo F11 ;;
    ENTER) echo Return ;;
    ALT) echo Alt_L ;;
    *) echo "${1,,}" ;;
    esac
}
ms() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }

# Plays the named script of tools/game_demo/demo_script.txt, which the demo
# player plays from inside too.
play_script() {
    local wanted=$1 current="" word name count
    while read -r word name count; do
        [[ -z "$word" || "$word" == \#* ]] && continue
        if [[ "$word" == script ]]; then
            current=$name
            continue
        fi
        [[ "$current" == "$wanted" ]] || continue
        case $word in
        wait) sleep "$(ms "$name")" ;;
        shot) shot "$name" ;;
        press)
            local keys=() k
            for ((k = 0; k < ${count:-1}; k++)); do keys+=("$(keysym "$name")"); done
            press "${keys[@]}"
            ;;
        hold) hold "$(keysym "$name")" "$(ms "$count")" ;;
        *) echo "demo_script.txt: not a step: $word $name $count"; return 1 ;;
        esac
    done <"$(dirname "$0")/game_demo/demo_script.txt"
}

[[ ${DEMO_SCREENSHOTS:-1} == 0 ]] || echo "Screenshots:"
play_script "${DEMO_SCRIPT:-full}"
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
