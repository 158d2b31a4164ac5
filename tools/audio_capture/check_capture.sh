#!/usr/bin/env bash
# Usage: check_capture.sh TONE_PLAYER_EXE WINEPREFIX WORK_DIR
# The tone plays on a null sound card and Wine server of its own (over a copy
# of WINEPREFIX), so that the recording hears this tone and nothing else, and
# on a display of its own: two Wine servers on one display share its
# clipboard, and the desktop tests beside this one read theirs back.
set -uo pipefail
exe=$1
shared_prefix=$2
work=$3
mkdir -p "$work"
source "$(dirname "$0")/../headless.sh"
trap headless_stop EXIT
# No window manager: the tone player opens no window.
HEADLESS_WINDOW_MANAGER=0 headless_start_own "$work" "$shared_prefix" >"$work/start.log" 2>&1 || {
    cat "$work/start.log"
    exit 1
}
if ! pactl info >/dev/null 2>&1; then
    echo "no sound server to record from"
    exit 77
fi

# The recorder loses samples at its start and up to 1.6 s at its end, so the
# tone plays for five seconds and only its steady middle is judged.
parec -d "$HEADLESS_SINK.monitor" --format=s16le --rate=44100 --channels=2 >"$work/capture.raw" 2>"$work/parec.log" &
recorder=$!
sleep 0.5
wine "$exe" 5 >"$work/player.log" 2>&1
player_rc=$?
sleep 1
kill "$recorder" 2>/dev/null
wait "$recorder" 2>/dev/null

failed=0
if [[ $player_rc -ne 0 ]] || ! grep -q "device open" "$work/player.log"; then
    echo "the tone player did not play (exit code $player_rc):"
    cat "$work/player.log"
    failed=1
fi

# Judge the non-silent stretch minus its first second and last 0.2 s.  The
# recorder also drops a frame now and then, which breaks the periodicity for
# one period, so the stretch must hold an unbroken half second that repeats
# exactly with the tone's periods (441 Hz and 1225 Hz at 44100 frames per
# second), at most 5% off-period frames overall (a loaded machine's recorder
# has dropped 2%), and the mixer's exact peak levels (12000 and 8000 at
# master volume 0.5).
od -An -v -td2 -w4 "$work/capture.raw" | awk '
    { l[n] = $1; r[n] = $2; if ($1 != 0 || $2 != 0) { if (first == "") first = n; last = n } n++ }
    END {
        if (first == "") { print "the capture is silent"; exit 1 }
        a = first + 44100; b = last - 8820
        if (b - a < 44100) { printf "only %d steady frames captured\n", b - a; exit 1 }
        bad = 0; run = 0; longest = 0; lmax = -99999; lmin = 99999; rmax = -99999; rmin = 99999
        for (i = a; i + 100 <= b; i++) {
            if (l[i] != l[i + 100] || r[i] != r[i + 36]) { bad++; run = 0 } else if (++run > longest) longest = run
            if (l[i] > lmax) lmax = l[i]; if (l[i] < lmin) lmin = l[i]
            if (r[i] > rmax) rmax = r[i]; if (r[i] < rmin) rmin = r[i]
        }
        printf "captured %d steady frames: %d off-period, longest exact run %d, left %d..%d, right %d..%d\n",
               b - a, bad, longest, lmin, lmax, rmin, rmax
        if (longest < 22050 || bad * 20 > b - a) exit 1
        if (lmax != 6000 || lmin != -6000 || rmax != 4000 || rmin != -4000) exit 1
    }' || failed=1

# Without a sound server the device fails with its line and the mixer stays
# silent, and the program runs to its end.
PULSE_SERVER=unix:/nonexistent/pa.sock wine "$exe" 1 >"$work/no_server.log" 2>&1
rc=$?
if [[ $rc -ne 0 ]] || ! grep -q "^FAILED DirectSoundCreate() " "$work/no_server.log" || ! grep -q "device closed" "$work/no_server.log"; then
    echo "without a sound server (exit code $rc):"
    cat "$work/no_server.log"
    failed=1
else
    grep "^FAILED" "$work/no_server.log"
fi
exit $failed
