#!/usr/bin/env bash
# A recording made by the native tree's game code (a scripted game written by
# the native tests' harness, as the game writes it), replayed natively with
# --fast and in the page with fast=1: the page must report no differing frame
# and the native final hash.  Usage: check_replay.sh NATIVE_BIN PAGE_DIR
set -uo pipefail
native=$1
page=$2
here=$(cd "$(dirname "$0")" && pwd)
checks="$page/checks"
mkdir -p "$checks"
[[ -x "$native/fathomer_tests" && -x "$native/fathomer" ]] || { echo "The native tree is not built ($native)"; exit 1; }
TMPDIR="$checks" "$native/fathomer_tests" "-tc=a recorded scripted game replays*" >"$checks/native_tests.log" 2>&1 \
    || { cat "$checks/native_tests.log"; exit 1; }
cp "$checks/fathomer_test_replay_run/collisions.rec" "$checks/native.rec" || exit 1
"$native/fathomer" --replay "$checks/native.rec" --fast >"$checks/native_replay.log" 2>&1
cat "$checks/native_replay.log"
hash=$(sed -n 's/.*final hash \([0-9A-F]\{16\}\).*/\1/p' "$checks/native_replay.log")
[[ -n "$hash" ]] || { echo "The native replay gave no final hash"; exit 1; }
exec node "$here/check_page.js" "$page" replay checks/native.rec "$hash"
