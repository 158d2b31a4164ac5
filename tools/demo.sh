#!/usr/bin/env bash
# Plays the game on the current (virtual) display with scripted key presses,
# saving a screenshot after each step.  Usage: demo.sh EXE OUT_DIR
set -uo pipefail
exe=$1
out=$2
mkdir -p "$out"
rm -f "$out"/*.png
wine "$exe" >"$out/game.log" 2>&1 &
game=$!

window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^Fathomer$' 2>/dev/null | head -n1)
    [[ -n "$window" ]] && break
    sleep 0.1
done
if [[ -z "$window" ]]; then
    echo "The game's window did not appear; its log:"
    cat "$out/game.log"
    exit 1
fi

shot() {
    xwd -silent -id "$window" | convert xwd:- "png:$out/$1.png" && echo "  $out/$1.png"
}

echo "Screenshots:"
sleep 2
shot 01-start
xdotool windowclose "$window" 2>/dev/null || xdotool key --window "$window" alt+F4
wait "$game"
rc=$?
echo "The game's log: $out/game.log (exit code $rc)"
exit $rc
