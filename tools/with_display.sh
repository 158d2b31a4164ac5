#!/usr/bin/env bash
# Runs a command on a virtual display of its own, without a window manager,
# so that its windows never take the focus from tests on another display.
#   with_display.sh SESSION_DIR COMMAND...
source "$(dirname "$0")/headless.sh"
session_dir=$1
shift
trap headless_stop EXIT
HEADLESS_WINDOW_MANAGER=0 headless_start_display || exit 1
"$@"
