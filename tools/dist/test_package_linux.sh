#!/usr/bin/env bash
# Packs the Linux tarball, unpacks it into an empty folder and starts the game
# from there with another working directory: it must find its data beside
# itself and exit with 0 when asked to end (SIGTERM, as a desktop's close).
# Runs on SDL's offscreen video driver with silent sound.
# Usage: test_package_linux.sh BUILD_DIR WORK_DIR
set -uo pipefail
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work/pack" "$work/unpacked" "$work/elsewhere"
if ! (cd "$build" && cpack --config CPackConfig.cmake -B "$work/pack" >"$work/cpack.log" 2>&1); then
    cat "$work/cpack.log"
    exit 1
fi
tarball=$(ls "$work"/pack/fathomer-*-linux-x64.tar.gz 2>/dev/null | head -n1)
[[ -n "$tarball" ]] || { echo "no tarball was made"; cat "$work/cpack.log"; exit 1; }
echo "package: $(basename "$tarball") ($(du -k "$tarball" | cut -f1) KB)"
tar -xzf "$tarball" -C "$work/unpacked" || exit 1
dir="$work/unpacked/$(basename "$tarball" .tar.gz)"
for f in fathomer README.txt THIRD_PARTY_NOTICES.txt img/default.png img/bigger_bold.png audio/music0.wav \
         audio/laugh1.wav shaders/instanced__vert shaders/instanced__frag; do
    [[ -f "$dir/$f" ]] || { echo "the package lacks $f"; exit 1; }
done
[[ -x "$dir/fathomer" ]] || { echo "the packaged game is not executable"; exit 1; }

cd "$work/elsewhere"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan_suppressions.txt"
"$dir/fathomer" >"$work/game.log" 2>&1 &
game=$!
# Start-up has ended once the sounds are loaded: the last image line comes
# before them, so wait for the frame loop by time after it.
for _ in $(seq 600); do
    [[ $(grep -c "Loaded image" "$work/game.log") -ge 6 ]] && break
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
done
sleep 2
kill -TERM "$game" 2>/dev/null
for _ in $(seq 300); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$game" 2>/dev/null; then
    echo "the packaged game did not end within 30 s of SIGTERM"
    kill -KILL "$game"
    exit 1
fi
wait "$game"
rc=$?
images=$(grep -c "Loaded image" "$work/game.log")
echo "exit code $rc, $images images loaded (log: $work/game.log)"
if grep -q "Cannot read the shader" "$work/game.log"; then
    grep "Cannot read the shader" "$work/game.log"
    exit 1
fi
[[ $rc -eq 0 && $images -eq 6 ]]
