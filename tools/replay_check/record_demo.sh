#!/usr/bin/env bash
# The scripted demo as the Windows game recorded it under Wine, driven by key
# presses (the demo test, tools/game_demo/demo_test.sh, leaves it in its
# folder), replayed with --fast under Wine and with the native build: both must
# find no differing frame and end on the same hash.  Its first half, cut off as
# a killed game leaves a file, also replays in the window with sound to the
# hash the native build gets for it.  Both --fast replays read it from a
# folder and file whose names hold blanks and UTF-8, as players' folders do.
# Usage: record_demo.sh EXE NATIVE_GAME RECORDING OUT_DIR
set -uo pipefail
exe=$1
native=$2
recording=$3
out=$4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
cd "$out" || exit 1
demo="Meine Spiele/Läufe ö.rec"
rm -rf "Meine Spiele"
mkdir -p "Meine Spiele"
if [[ ! -x "$native" ]]; then
    echo "The native game $native is missing: build the native tree first"
    exit 1
fi
cp "$recording" "$demo" || { echo "No recording of the demo at $recording"; exit 1; }
ls -l "$demo"

# Key presses and replays in windows on a display of its own.
source "$here/../headless.sh"
source "$here/../game_window.sh"
trap headless_stop EXIT
headless_start_own "$out" || exit 1

replay() {
    local name=$1 file=$2
    shift 2
    "$@" --replay "$file" >"replay_$name.log" 2>&1
    local rc=$?
    grep -E '^(Replaying|Replayed|No frame|First differing|Cannot|The recording)' "replay_$name.log"
    echo "$name replay exit code $rc"
    return $rc
}
same_end() {
    local a b
    a=$(grep -E '^Replayed' "replay_$1.log")
    b=$(grep -E '^Replayed' "replay_$2.log")
    if [[ -z "$a" || "$a" != "$b" ]]; then
        echo "The $1 and $2 replays end differently"
        return 1
    fi
}
failed=0
replay windows "$demo" wine "$exe" --fast || failed=1
replay native "$demo" "$native" --fast || failed=1
same_end windows native || failed=1

# Keys pressed at the replaying window must change nothing.  Its pictures are
# not looked at: Mesa's software renderer leaves them unfilled.
head -c $(($(stat -c %s "$demo") / 2)) "$demo" >demo_cut.rec
LP_NO_RAST=1 timeout 120 wine "$exe" --replay demo_cut.rec >replay_window.log 2>&1 &
game=$!
if wait_for_game_window 10; then
    sleep 2
    xdotool windowfocus "$window" 2>/dev/null
    xdotool key --delay 150 x x d d r equal minus
else
    echo "The replay's window did not appear"
    failed=1
fi
wait "$game"
rc=$?
grep -E '^(Replaying|Replayed|No frame|First differing|Cannot|The recording)' replay_window.log
echo "window replay exit code $rc"
((rc == 0)) || failed=1
grep -q 'cut short' replay_window.log || { echo "The cut recording was not reported as cut short"; failed=1; }
replay native_cut demo_cut.rec "$native" --fast || failed=1
same_end window native_cut || failed=1
exit $failed
