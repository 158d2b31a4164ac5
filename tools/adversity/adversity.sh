#!/usr/bin/env bash
# Runs fathomer.exe under Wine through hard conditions, each case in a copy of
# the game and its data of its own, driven by drive_game.exe; every case must
# end with exit code 0 after its window is closed.
#
#   adversity.sh GROUP GAME_EXE DRIVE_EXE WORK_DIR
#
# Groups (one ctest test each):
#   bad_data  damaged images, sounds and shaders, and missing folders; every
#             run plays the title, the whole opening and the fall
#   close     closed on the title, at each opening step, while waiting and
#             while falling; and an input storm of 600 key messages in one
#             frame, played to its close
#   input     a focus loss while A is held (the diver must stop being steered)
#   gamepad   played with XInput and no pad, and with both XInput libraries
#             switched off: at most one line about it at start, none per frame
#   stall     closed during a modal move loop; the frame loop held 0.6 s in
#             a modal move loop, which the null sink's capture must show as
#             silence, with no old sound replayed, and the music moving on at
#             once after it
# The runs of a group go at the same time: closing a window costs about 2 s
# under Wine without a window manager.  Each group brings a display, sound card
# and Wine server of its own, so groups and other tests can run beside it.
set -uo pipefail
group=$1
game_exe=$2
drive_exe=$3
work=$4
here=$(cd "$(dirname "$0")" && pwd)
data=$(dirname "$game_exe")
rm -rf "$work/$group"
mkdir -p "$work/$group"
source "$here/../headless.sh"
trap headless_stop EXIT
# A modal move loop exists only on a display without a window manager (with
# one, Wine hands the move to the manager).
[[ $group == stall ]] && export HEADLESS_WINDOW_MANAGER=0
headless_start_own "$work/$group" || exit 1

# Only focus_loss reads the screen.  For the other cases Mesa's software
# renderer leaves the pixels unfilled: filling them is most of what a game
# costs the processor here, and the program makes the same calls either way.
export LP_NO_RAST=1

title="wait:1000 key:X"
opening="wait:18000"
fall="key:X wait:1000 down:D wait:700 up:D key:PLUS key:PLUS key:MINUS wait:2500"

# A fresh copy of the game and its data for one case.
new_case() {
    local dir="$work/$group/$1"
    mkdir -p "$dir"
    cp "$game_exe" "$dir/fathomer.exe"
    cp -r "$data/img" "$data/audio" "$data/shaders" "$dir/"
    echo "$dir"
}

windows_path() { echo "Z:${1//\//\\}"; }

names=()
pids=()
start() {
    local name=$1 dir=$2
    shift 2
    names+=("$name")
    wine "$drive_exe" "$(windows_path "$dir")" "$@" >"$dir/drive.log" 2>&1 </dev/null &
    pids+=($!)
}

failed=0
finish() {
    for i in "${!pids[@]}"; do
        local dir="$work/$group/${names[$i]}"
        if wait "${pids[$i]}"; then
            echo "ok      ${names[$i]}"
        else
            echo "FAILED  ${names[$i]} (see $dir)"
            cat "$dir/drive.log"
            tail -n 20 "$dir/game.log" 2>/dev/null
            failed=1
        fi
    done
    names=()
    pids=()
}

# Every run's log must be free of the decoder's halt and of crash reports.
check_logs() {
    for dir in "$work/$group"/*/; do
        if grep -q -e "STBI_ASSERT" -e "EXCEPTION" -e "Unhandled" "$dir/game.log" 2>/dev/null; then
            echo "FAILED  $(basename "$dir"): its log reports a halt or crash"
            failed=1
        fi
    done
}

case $group in
bad_data)
    images=(default background small small_bold bigger bigger_bold)
    image_kinds=(missing empty truncated random bomb wide)
    sounds=(bling5 explode laugh1 music0 music1 music2 music3 music4 music5)
    sound_kinds=(missing empty truncated random huge_data)
    shader_cases=("instanced__vert missing" "instanced__frag garbage" "instanced__vert no_main"
                  "instanced__frag missing" "instanced__vert garbage" "instanced__frag no_main")
    # Six runs: across them every image and every sound meets every kind of
    # damage, and each shader fault is met once.  All damage is done first, in
    # one go: on a loaded machine each start of Python costs seconds.
    damage=()
    for run in 0 1 2 3 4 5; do
        dir=$(new_case "damaged_$run")
        for i in "${!images[@]}"; do
            damage+=("$dir/img/${images[$i]}.png" "${image_kinds[$(((i + run) % 6))]}")
        done
        for i in "${!sounds[@]}"; do
            damage+=("$dir/audio/${sounds[$i]}.wav" "${sound_kinds[$(((i + run) % 5))]}")
        done
        read -r shader kind <<<"${shader_cases[$run]}"
        damage+=("$dir/shaders/$shader" "$kind")
    done
    python3 "$here/damage.py" "${damage[@]}" || exit 1
    for run in 0 1 2 3 4 5; do
        start "damaged_$run" "$work/$group/damaged_$run" $title $opening $fall close
    done
    dir=$(new_case "folders_missing")
    rm -rf "$dir/img" "$dir/audio" "$dir/shaders"
    start folders_missing "$dir" $title $opening $fall close
    finish
    # A picture too large for its place is skipped by its header, with the
    # skip line, and never decoded.
    for run in 0 1 2 3 4 5; do
        log="$work/$group/damaged_$run/game.log"
        if ! grep -q "does not fit" "$log" || grep -q "Loaded image (.*) 16000x16000" "$log"; then
            echo "FAILED  damaged_$run: no skip line for the bomb or the wide image in its log"
            failed=1
        fi
    done
    check_logs
    ;;
close)
    start on_title "$(new_case on_title)" wait:2500 close
    # The opening's steps fall due at 0, 2, 5, 7, 9, 11 and 15 s, and it ends at 17 s.
    for at in 300 2500 5500 7500 9500 11500 15500; do
        start "opening_${at}ms" "$(new_case "opening_${at}ms")" $title "wait:$at" close
    done
    start waiting "$(new_case waiting)" $title wait:500 key:X wait:1500 close
    start falling "$(new_case falling)" $title wait:500 key:X wait:1000 $fall close
    # 600 key messages in one frame, on the opening, while waiting and falling.
    start storm "$(new_case storm)" $title wait:500 storm:600 key:X wait:500 storm:600 wait:300 \
        key:X wait:500 storm:600 wait:1000 close
    finish
    check_logs
    ;;
input)
    # Waiting: A held as the focus goes elsewhere, its release going to the
    # other window.  Once the game has let go of A the diver drifts to a halt
    # (its speed falls by 1 % a frame); still steered it would keep going at
    # full speed.  The pictures are read from the screen.
    LP_NO_RAST=0 start focus_loss "$(new_case focus_loss)" $title wait:500 key:X wait:2000 down:A wait:600 focusout \
        wait:500 shot:0 wait:1000 shot:1 wait:8000 shot:2 wait:1000 shot:3 slower:0:1:2:3 focusin close
    finish
    check_logs
    ;;
gamepad)
    play="$title wait:500 key:X wait:500 $fall wait:3000 close"
    start xinput_no_pad "$(new_case xinput_no_pad)" $play
    WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}xinput1_4,xinput9_1_0=d" \
        start no_xinput "$(new_case no_xinput)" $play
    finish
    check_logs
    pad_log="$work/$group/xinput_no_pad/game.log"
    none_log="$work/$group/no_xinput/game.log"
    if grep -q "XInput" "$pad_log"; then
        echo "FAILED  xinput_no_pad: XInput did not load, or a missing pad was reported"
        failed=1
    fi
    if [[ $(grep -c "^No XInput " "$none_log") != 1 ]]; then
        echo "FAILED  no_xinput: not exactly one line on the missing library"
        failed=1
    fi
    # Some 500 frames were played: any line written per frame repeats hundreds of times.
    for log in "$pad_log" "$none_log"; do
        most=$(sort "$log" | uniq -c | sort -rn | awk 'NR == 1 {print $1}')
        if ((${most:-0} > 10)); then
            echo "FAILED  $(basename "$(dirname "$log")"): a line repeats $most times in its log"
            sort "$log" | uniq -c | sort -rn | head -3
            failed=1
        fi
    done
    ;;
stall)
    # The capture hears this group's sound card, so this game alone.
    start in_move_loop "$(new_case in_move_loop)" $title wait:1500 stallclose:600
    finish
    capture="$work/$group/capture.raw"
    parec -d "$HEADLESS_SINK.monitor" --format=s16le --rate=44100 --channels=2 --raw "$capture" &
    recorder=$!
    sleep 0.5
    # The opening's music starts with X; the stall comes 4 s into it.
    stall_after=4000 stall_ms=600 close_after=3000
    start stall "$(new_case stall)" $title wait:$stall_after stall:$stall_ms wait:$close_after close
    finish
    kill "$recorder" 2>/dev/null
    wait "$recorder" 2>/dev/null
    python3 "$here/replayed.py" "$capture" $stall_ms $stall_after $close_after || failed=1
    check_logs
    ;;
*)
    echo "unknown group $group"
    exit 2
    ;;
esac
exit $failed
