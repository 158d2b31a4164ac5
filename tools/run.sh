#!/usr/bin/env bash
# make run: builds the native game (build/linux) and plays it on the user's
# display.  Without a display the scripted demo plays natively on SDL's
# offscreen video driver with silent sound, and its screenshots are saved
# under build/run/.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset linux >/dev/null && cmake --build --preset linux --target fathomer fathomer_demo || exit 1
bin="$root/build/linux/bin"

if [[ -n "${WAYLAND_DISPLAY:-}" ]] || { [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; }; then
    exec "$bin/fathomer"
fi

out="$root/build/run"
mkdir -p "$out"
rm -f "$out"/*.png
echo "No display: playing the scripted demo offscreen; screenshots under $out/"
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$bin/fathomer_demo" "$out" >"$out/game.log" 2>&1
rc=$?
grep '^Screenshot ' "$out/game.log" | sed 's/^Screenshot /  /'
echo "The game's log: $out/game.log (exit code $rc)"
exit $rc
