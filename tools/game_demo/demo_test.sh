#!/usr/bin/env bash
# The demo as a test: played on a virtual display, null sound card and Wine
# server of its own, so that its key presses, focus and music never meet the
# other tests' windows and sound, and it can run beside them.
# Usage: demo_test.sh GAME_EXE OUT_DIR
set -uo pipefail
exe=$1
out=$2
source "$(dirname "$0")/../headless.sh"
trap headless_stop EXIT
headless_start_own "$out" || exit 1
DEMO_SCRIPT=short "$root/tools/demo.sh" "$exe" "$out"
