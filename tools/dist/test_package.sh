#!/usr/bin/env bash
# Packs the release, unpacks it into an empty folder and starts the game from
# there with another working directory: it must find its data beside itself
# and exit with 0 when asked to end.  The Windows zip's game runs under Wine
# and is closed with Alt+F4 on its window; the Linux tarball's runs on SDL's
# offscreen video driver with silent sound and is ended by SIGTERM, as a
# desktop's close.
# Usage: test_package.sh windows|linux BUILD_DIR WORK_DIR
set -uo pipefail
source "$(cd "$(dirname "$0")" && pwd)/../game_window.sh"
kind=$1
build=$2
work=$3
case $kind in
windows) suffix=windows-x64.zip exe=fathomer.exe ;;
linux) suffix=linux-x64.tar.gz exe=fathomer ;;
*) echo "unknown package kind $kind"; exit 2 ;;
esac
rm -rf "$work"
mkdir -p "$work/pack" "$work/unpacked" "$work/elsewhere"
if ! (cd "$build" && cpack --config CPackConfig.cmake -B "$work/pack" >"$work/cpack.log" 2>&1); then
    cat "$work/cpack.log"
    exit 1
fi
package=$(ls "$work"/pack/fathomer-*-"$suffix" 2>/dev/null | head -n1)
[[ -n "$package" ]] || { echo "no $suffix package was made"; cat "$work/cpack.log"; exit 1; }
echo "package: $(basename "$package") ($(du -k "$package" | cut -f1) KB)"
if [[ $kind == windows ]]; then
    unzip -q "$package" -d "$work/unpacked" || exit 1
else
    tar -xzf "$package" -C "$work/unpacked" || exit 1
fi
name=$(basename "$package")
name=${name%.zip}
dir="$work/unpacked/${name%.tar.gz}"
for f in "$exe" README.txt THIRD_PARTY_NOTICES.txt img/default.png img/bigger_bold.png img/icon.png audio/music0.wav \
         audio/laugh1.wav shaders/instanced__vert shaders/instanced__frag; do
    [[ -f "$dir/$f" ]] || { echo "the package lacks $f"; exit 1; }
done
[[ -x "$dir/$exe" || $kind == windows ]] || { echo "the packaged game is not executable"; exit 1; }

cd "$work/elsewhere"
# Nothing here looks at the game's pictures: Mesa's software renderer leaves
# them unfilled, which is most of what a running game costs the processor.
export LP_NO_RAST=1
if [[ $kind == windows ]]; then
    wine "$dir/$exe" >"$work/game.log" 2>&1 &
    game=$!
    if ! wait_for_game_window 15; then
        echo "the packaged game's window did not appear; its log:"
        cat "$work/game.log"
        kill "$game" 2>/dev/null
        exit 1
    fi
    wait_for_ready "$work/game.log" "$game"
    xdotool windowfocus "$window" 2>/dev/null
    xdotool key alt+F4
else
    export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
    export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan_suppressions.txt"
    "$dir/$exe" >"$work/game.log" 2>&1 &
    game=$!
    wait_for_ready "$work/game.log" "$game"
    kill -TERM "$game" 2>/dev/null
fi
if ! wait_for_end "$game" 30; then
    echo "the packaged game did not end within 30 s of being asked to"
    kill -KILL "$game"
    exit 1
fi
wait "$game"
rc=$?
ready=$(grep "^Ready: " "$work/game.log")
echo "exit code $rc, ${ready:-no Ready line} (log: $work/game.log)"
if grep -q "Cannot read the shader" "$work/game.log"; then
    echo "the packaged game missed some of its data:"
    grep "Cannot read the shader" "$work/game.log"
    exit 1
fi
[[ $rc -eq 0 && $ready == "Ready: 6 of 6 images, 9 of 9 sounds" ]]
