#!/usr/bin/env bash
# The game on a screen smaller than its 1280 x 800 window (1024 x 768, or
# SMALL_SCREEN as Xvfb names a screen, 1366x768x24), under Wine and natively: the window opens inside the work
# area with its title bar on the screen; F11 gives a window the size of the
# monitor with the picture letterboxed, and F11 again the old window; the
# demo player's title and fall in a fitted window equal the 1280 x 800
# pictures scaled; and the game recorded with fullscreen, pause, mute and the
# volume keys replays with --fast to one hash on both systems.
# Usage: small_screen.sh WINDOWS_GAME WINDOWS_DEMO NATIVE_GAME NATIVE_DEMO OUT_DIR
set -uo pipefail
win_game=$(realpath "$1") win_demo=$(realpath "$2") native_game=$(realpath "$3") native_demo=$(realpath "$4")
out=$(realpath -m "$5")
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*"; exit 1; }
for f in "$native_game" "$native_demo"; do
    [[ -x "$f" ]] || fail "$f is missing: build the native tree first"
done
# A suite that sourced tools/headless.sh has exported its own screen size.
export HEADLESS_SCREEN=${SMALL_SCREEN:-1024x768x24}
source "$here/../headless.sh"
source "$here/../game_window.sh"
trap headless_stop EXIT
rm -rf "$out"
mkdir -p "$out"
cd "$out" || exit 1
headless_start_own "$out" || fail "no display, sound card or Wine server of its own"
screen_w=${HEADLESS_SCREEN%%x*}
rest=${HEADLESS_SCREEN#*x}
screen_h=${rest%%x*}
export LSAN_OPTIONS="suppressions=$here/../lsan_suppressions.txt"
failed=0
check() { # check DESCRIPTION CONDITION...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failed=1; fi
}

# The client's place and size on the screen, and the frame the window
# manager puts around it: x y width height left right top bottom.
geometry() {
    local info extents
    info=$(xwininfo -id "$window" 2>/dev/null) || return 1
    gx=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$info")
    gy=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$info")
    gw=$(awk '/Width:/ { print $2 }' <<<"$info")
    gh=$(awk '/Height:/ { print $2 }' <<<"$info")
    extents=$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
    IFS=, read -r fl fr ft fb <<<"${extents:-0,0,0,0}"
}
# Polls the geometry until the condition holds, for up to ten seconds: a
# loaded machine has taken seconds to switch a window.
settle() {
    for _ in $(seq 50); do
        geometry && "$@" && return 0
        sleep 0.2
    done
    return 1
}
show_geometry() { echo "  $1: client ${gw}x${gh} at $gx,$gy, frame left $fl right $fr top $ft bottom $fb"; }
# The client and the title bar on the screen, and the thin sides within a
# few pixels of it: Wine sizes the frame by its own metrics, which differ
# from the window manager's by a pixel or two.
inside_work_area() {
    ((gx >= 0 && gy - ft >= 0 && gx + gw <= screen_w && gy + gh <= screen_h &&
        gx - fl >= -2 && gx + gw + fr <= screen_w + 2 && gy + gh + fb <= screen_h + 2))
}
title_bar_on_screen() { ((ft > 0 && gy - ft >= 0)); }
covers_screen() { ((gx == 0 && gy == 0 && gw == screen_w && gh == screen_h)); }
same_as_before() { ((gx == old_x && gy == old_y && gw == old_w && gh == old_h)); }
# A pixel of the screen as "r g b" (0 to 255).
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }
is_black() { [[ "$(pixel "$@")" == "0 0 0" ]]; }
not_black() { [[ "$(pixel "$@")" != "0 0 0" ]]; }
keys() {
    xdotool windowfocus "$window" 2>/dev/null
    xdotool key --delay 250 "$@"
}

# One game on the small screen: opened, switched to fullscreen and back,
# paused, muted, its volume stepped, played and closed, recorded.
play() {
    local system=$1
    shift
    "$@" --record "$system.rec" >"$system-game.log" 2>&1 &
    local game=$!
    wait_for_game_window 60 || { cat "$system-game.log"; fail "the $system game's window did not appear"; }
    wait_for_ready "$system-game.log" "$game" || fail "the $system game did not get ready"
    sleep 2
    geometry || fail "no geometry of the $system window"
    show_geometry "$system window"
    check "$system: the window lies inside the ${screen_w}x${screen_h} work area" inside_work_area
    check "$system: its title bar is on the screen" title_bar_on_screen
    check "$system: the client keeps the game's aspect" test $((gw * 800 / 1280 - gh)) -le 1 -a $((gh - gw * 800 / 1280)) -le 1
    old_x=$gx old_y=$gy old_w=$gw old_h=$gh
    import -window root "$system-window.png"

    keys x x F11
    settle covers_screen
    sleep 1
    show_geometry "$system fullscreen"
    check "$system: F11 gives a window the size of the monitor" covers_screen
    import -window root "$system-fullscreen.png"
    # 1280 x 800 in 1024 x 768: bars of 64 rows above and below; on a wider
    # screen, columns left and right.
    if ((screen_w * 800 <= screen_h * 1280)); then
        local bar=$(((screen_h - screen_w * 800 / 1280) / 2))
        check "$system: the bar above is black" is_black "$system-fullscreen.png" $((screen_w / 2)) $((bar / 2))
        check "$system: the bar below is black" is_black "$system-fullscreen.png" 10 $((screen_h - 1 - bar / 2))
    else
        local bar=$(((screen_w - screen_h * 1280 / 800) / 2))
        check "$system: the bar on the left is black" is_black "$system-fullscreen.png" $((bar / 2)) $((screen_h / 2))
        check "$system: the bar on the right is black" is_black "$system-fullscreen.png" $((screen_w - 1 - bar / 2)) 10
    fi
    check "$system: the picture lies between them" not_black "$system-fullscreen.png" $((screen_w / 2)) $((screen_h / 2))

    keys p
    sleep 1
    import -window root "$system-paused.png"
    keys m 0 0 9 p x
    sleep 2
    keys F11
    settle same_as_before
    show_geometry "$system after F11 again"
    check "$system: F11 again gives the old window back" same_as_before
    keys alt+Return
    settle covers_screen
    check "$system: Alt+Enter switches to fullscreen too" covers_screen
    keys alt+Return
    settle same_as_before
    keys alt+F4
    wait_for_end "$game" 30 || { kill "$game"; fail "the $system game did not end"; }
    wait "$game" || { echo "the $system game's exit code: $?"; failed=1; }
    grep -E '^Recorded' "$system-game.log" || { echo "the $system game recorded nothing"; failed=1; }
}

play windows wine "$win_game"
# Nothing native is listened to (and the sound server's library keeps memory
# to the end).
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy play native "$native_game"

# Each recording replayed without a window on both systems: one end.
replay() {
    local name=$1 file=$2
    shift 2
    "$@" --replay "$file" --fast >"replay-$name.log" 2>&1
    local rc=$?
    grep -E '^(Replayed|No frame|First differing|Cannot)' "replay-$name.log"
    ((rc == 0)) || { echo "the $name replay's exit code: $rc"; failed=1; }
}
for rec in windows native; do
    replay "$rec-on-windows" "$rec.rec" wine "$win_game"
    replay "$rec-on-native" "$rec.rec" "$native_game"
    a=$(grep -E '^Replayed' "replay-$rec-on-windows.log")
    b=$(grep -E '^Replayed' "replay-$rec-on-native.log")
    check "the $rec recording replays to one hash on both systems" test -n "$a" -a "$a" == "$b"
done

# The pictures: the demo player's 1280 x 800 frames (offscreen, as the frame
# comparison takes them) against the same frames in a window fitted to this
# screen, from both builds.  Scaling smooths edges, so the measure is the
# mean difference (RMSE, 0 to 1), not a pixel count.
mkdir -p full windows-fitted native-fitted
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$native_demo" full 8 >full.log 2>&1 || fail "the 1280 x 800 demo failed"
(cd windows-fitted && DEMO_WINDOW=fitted wine "$win_demo" . 8 >../windows-fitted.log 2>&1) || fail "the fitted Windows demo failed"
DEMO_WINDOW=fitted SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$native_demo" native-fitted 8 >native-fitted.log 2>&1 ||
    fail "the fitted native demo failed"
for shot in 01-title 08-falling; do
    for system in windows native; do
        fitted="$system-fitted/$shot.png"
        [[ -f "$fitted" ]] || { echo "FAIL: no $fitted"; failed=1; continue; }
        size=$(identify -format '%wx%h' "$fitted")
        convert "full/$shot.png" -resize "$size!" "scaled-$system-$shot.png"
        rmse=$(compare -metric RMSE "$fitted" "scaled-$system-$shot.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
        echo "  $system $shot at $size: RMSE $rmse"
        check "$system: the fitted $shot is the 1280 x 800 one scaled" awk -v r="$rmse" 'BEGIN { exit !(r != "" && r < 0.03) }'
    done
done
exit $failed
