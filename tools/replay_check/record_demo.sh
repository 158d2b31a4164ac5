#!/usr/bin/env bash
# Records the scripted demo played by the Windows game under Wine, then
# replays the recording with --fast under Wine and with the native build:
# both must find no differing frame and end on the same hash.
# Usage: record_demo.sh EXE NATIVE_GAME OUT_DIR
set -uo pipefail
exe=$1
native=$2
out=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
cd "$out" || exit 1
rm -f demo.rec

if [[ ! -x "$native" ]]; then
    echo "The native game $native is missing: build the native tree first"
    exit 1
fi

echo "Recording the demo"
bash "$here/../demo.sh" "$exe" "$out" --record demo.rec || exit 1
grep -E '^Recorded [0-9]+ frames' "$out/game.log" || { echo "The game did not report its recording"; exit 1; }
ls -l demo.rec

replay() {
    local name=$1
    shift
    "$@" --replay demo.rec --fast >"replay_$name.log" 2>&1
    local rc=$?
    grep -E '^(Replaying|Replayed|No frame|First differing|Cannot|The recording)' "replay_$name.log"
    echo "$name replay exit code $rc"
    return $rc
}
failed=0
replay windows wine "$exe" || failed=1
replay native "$native" || failed=1
windows_hash=$(grep -E '^Replayed' replay_windows.log)
native_hash=$(grep -E '^Replayed' replay_native.log)
if [[ -z "$windows_hash" || "$windows_hash" != "$native_hash" ]]; then
    echo "The two replays end differently"
    failed=1
fi
exit $failed
