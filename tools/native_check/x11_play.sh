#!/usr/bin/env bash
# The native game on a virtual X display of its own, driven from outside:
# key presses from the X server take it from the title into the opening, past
# it and into the fall; the window manager's close message ends it with 0, and
# so does SIGTERM.  The played game is recorded into a path with blanks, quotes
# and UTF-8 and replays from there.  Usage: x11_play.sh GAME WM_CLOSE DEMO_PLAYER OUT_DIR
set -uo pipefail
source "$(dirname "$0")/../headless.sh"
source "$(dirname "$0")/../game_window.sh"
game=$1 wm_close=$2 demo=$3 out=$4
mkdir -p "$out"
rm -rf "${out:?}"/*
unset SDL_VIDEODRIVER WAYLAND_DISPLAY
export SDL_AUDIODRIVER=dummy
# SDL's X11 driver brings in D-Bus, whose library keeps memory to the end.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/../lsan_suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

fail() { echo "FAIL: $*"; exit 1; }
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; headless_stop; wait 2>/dev/null' EXIT

# The title as the demo player draws it offscreen: the picture to expect.
mkdir -p "$out/expected"
SDL_VIDEODRIVER=offscreen "$demo" "$out/expected" 1 >"$out/expected.log" 2>&1 || fail "the demo player failed"

session_dir="$out/session"
HEADLESS_WINDOW_MANAGER=0 headless_start_display || fail "no virtual display"

# start_game LOG_NAME [ARGUMENTS...]
start_game() {
    local name=$1
    shift
    "$game" "$@" >"$out/$name.log" 2>&1 &
    game_pid=$!
    pids+=($game_pid)
    wait_for_game_window 60 && return 0
    cat "$out/$name.log"
    fail "the game's window did not appear"
}
# Waits up to 30 s for the game to end; its exit code.  A signal that comes
# while start-up is still loading is seen once the frame loop runs, and on a
# loaded machine the sanitised build's loading has taken over ten seconds.
game_exit_code() {
    wait_for_end "$game_pid" 30 || fail "the game did not end within 30 s"
    wait "$game_pid"
}
shot() { xwd -silent -id "$window" | convert xwd:- "png:$out/$1.png" || fail "no screenshot $1"; }
# Pixels differing by more than 2 % between two pictures (or a region of both).
differing() {
    local a="$out/$1.png" b="$out/$2.png"
    if [[ -n "${3:-}" ]]; then
        convert "$a" -crop "$3" +repage "$out/crop-a.png" && a="$out/crop-a.png"
        convert "$b" -crop "$3" +repage "$out/crop-b.png" && b="$out/crop-b.png"
    fi
    compare -metric AE -fuzz 2% "$a" "$b" null: 2>&1 | head -n1 | awk '{ print int($1) }'
}
# Key presses through the X server (XTEST) into the focused window.
press() {
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key "$1"
}

recording="$out/My Games/run \"one\" ö.rec"
mkdir -p "$out/My Games"
start_game keys --record "$recording"
# Start-up shows a grey frame until the textures are loaded; then the title.
# Screenshots are compared only once start-up is over: before that they cost
# the processor and cannot match.
wait_for_ready "$out/keys.log" "$game_pid"
cp "$out/expected/01-title.png" "$out/0-expected-title.png"
for _ in $(seq 60); do
    sleep 0.5
    shot 1-title
    n=$(differing 0-expected-title 1-title)
    ((n <= 1000)) && break
done
echo "title: $n pixels differ from the demo player's"
((n <= 1000)) || fail "the title is not what the demo player draws"

press x
sleep 1.5
shot 2-opening
n=$(differing 1-title 2-opening)
echo "opening: $n pixels differ from the title"
((n > 100000)) || fail "X did not start the opening"

# X during the opening ends it; the diver then waits, and the depth in the
# corner stays where it is until X starts the fall.
hud=400x70+0+0
press x
sleep 1
shot 3-waiting
sleep 0.5
shot 4-waiting
waiting=$(differing 3-waiting 4-waiting $hud)
press x
sleep 2
shot 5-falling
sleep 0.5
shot 6-falling
falling=$(differing 5-falling 6-falling $hud)
echo "depth read-out: $waiting pixels change while waiting, $falling while falling"
((falling > 50 && falling > 4 * waiting)) || fail "X did not start the fall"

"$wm_close" "$window" || fail "could not send WM_DELETE_WINDOW"
game_exit_code
rc=$?
echo "exit code after WM_DELETE_WINDOW: $rc"
((rc == 0)) || fail "exit code $rc after the close message"
grep -F "Recorded " "$out/keys.log" || fail "the game did not report its recording"
"$game" --replay "$recording" --fast >"$out/replay.log" 2>&1
rc=$?
grep -E '^(Replaying|Replayed|No frame|First differing|Cannot)' "$out/replay.log"
((rc == 0)) || fail "exit code $rc replaying $recording"

start_game sigterm
sleep 1
kill -TERM "$game_pid"
game_exit_code
rc=$?
echo "exit code after SIGTERM: $rc"
((rc == 0)) || fail "exit code $rc after SIGTERM"
echo "screenshots and logs: $out"
