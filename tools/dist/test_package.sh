#!/usr/bin/env bash
# Packs the Windows zip, unpacks it into an empty folder and starts the game
# from there under Wine, with another working directory: it must find its data
# beside itself and exit with 0 when its window is closed.
# Usage: test_package.sh BUILD_DIR WORK_DIR
set -uo pipefail
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work/pack" "$work/unpacked" "$work/elsewhere"
if ! (cd "$build" && cpack --config CPackConfig.cmake -B "$work/pack" >"$work/cpack.log" 2>&1); then
    cat "$work/cpack.log"
    exit 1
fi
zip=$(ls "$work"/pack/fathomer-*-windows-x64.zip 2>/dev/null | head -n1)
[[ -n "$zip" ]] || { echo "no zip was made"; cat "$work/cpack.log"; exit 1; }
echo "package: $(basename "$zip") ($(du -k "$zip" | cut -f1) KB)"
unzip -q "$zip" -d "$work/unpacked" || exit 1
dir="$work/unpacked/$(basename "$zip" .zip)"
for f in fathomer.exe README.txt THIRD_PARTY_NOTICES.txt img/default.png img/bigger_bold.png audio/music0.wav \
         audio/laugh1.wav shaders/instanced__vert shaders/instanced__frag; do
    [[ -f "$dir/$f" ]] || { echo "the package lacks $f"; exit 1; }
done

cd "$work/elsewhere"
wine "$dir/fathomer.exe" >"$work/game.log" 2>&1 &
game=$!
window=""
for _ in $(seq 150); do
    window=$(xdotool search --name '^Fathomer$' 2>/dev/null | head -n1)
    [[ -n "$window" ]] && break
    sleep 0.1
done
if [[ -z "$window" ]]; then
    echo "the packaged game's window did not appear; its log:"
    cat "$work/game.log"
    kill "$game" 2>/dev/null
    exit 1
fi
sleep 2
xdotool windowfocus "$window" 2>/dev/null
xdotool key alt+F4
for _ in $(seq 100); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$game" 2>/dev/null; then
    echo "the packaged game did not end within 10 s of closing its window"
    kill "$game"
    exit 1
fi
wait "$game"
rc=$?
images=$(grep -c "Loaded image" "$work/game.log")
echo "exit code $rc, $images images loaded (log: $work/game.log)"
if grep -q "Cannot read the shader" "$work/game.log"; then
    echo "the packaged game missed some of its data:"
    grep "Cannot read the shader" "$work/game.log"
    exit 1
fi
[[ $rc -eq 0 && $images -eq 6 ]]
