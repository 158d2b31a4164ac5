#!/usr/bin/env bash
# The demo player's screenshots from both builds, compared pixel by pixel: the
# Windows exe under Wine and the native program on SDL's offscreen driver play
# the same script on the same clock, so their pictures must agree (both draw
# with llvmpipe).  Usage: compare_frames.sh WINDOWS_DEMO NATIVE_DEMO OUT_DIR SHOTS
set -uo pipefail
win_demo=$1 native_demo=$2 out=$3 shots=$4
fail() { echo "FAIL: $*"; exit 1; }
[[ -x "$native_demo" ]] || fail "$native_demo is missing: build the native tree first"
rm -rf "$out/windows" "$out/native"
mkdir -p "$out/windows" "$out/native"
# The Windows demo's window goes on a display of its own.
source "$(dirname "$0")/../headless.sh"
trap headless_stop EXIT
headless_start_own "$out" || fail "no display, sound card or Wine server of its own"

(cd "$out/windows" && wine "$win_demo" . "$shots" >../windows.log 2>&1) || fail "the Windows demo failed (see $out/windows.log)"
# SDL brings in D-Bus, whose library keeps memory to the end.
LSAN_OPTIONS="suppressions=$(dirname "$0")/../lsan_suppressions.txt" \
    SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$native_demo" "$out/native" "$shots" >"$out/native.log" 2>&1 ||
    fail "the native demo failed (see $out/native.log)"

# A pixel counts as different when a channel is off by more than 2 %; a
# picture may have up to 0.1 % of its pixels so (1024 of 1280 x 800).
count=0 bad=0
for windows_shot in "$out"/windows/*.png; do
    name=$(basename "$windows_shot")
    [[ -f "$out/native/$name" ]] || fail "no native $name"
    n=$(compare -metric AE -fuzz 2% "$windows_shot" "$out/native/$name" null: 2>&1 | head -n1 | awk '{ print int($1) }')
    echo "$name: $n pixels differ"
    ((n <= 1024)) || bad=$((bad + 1))
    count=$((count + 1))
done
((count == shots)) || fail "$count screenshots, expected $shots"
((bad == 0)) || fail "$bad of $count screenshots differ between the builds"
echo "$count screenshots agree between the Windows and the native build"
