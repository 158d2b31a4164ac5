#!/usr/bin/env bash
# Builds both trees and runs every test: the native suite directly, the Windows
# suite under Wine on a private virtual display and null sound card.
set -uo pipefail
source "$(dirname "$0")/headless.sh"
cd "$root"
trap headless_stop EXIT
trap 'exit 130' INT TERM

step() { echo "==> $*"; }
failed=0

step "Building the native tree"
cmake --preset native >/dev/null && cmake --build --preset native || exit 1
step "Building the Windows tree"
cmake --preset windows >/dev/null && cmake --build --preset windows || exit 1

step "Starting the virtual display, sound card and Wine server"
headless_start_display || exit 1
headless_start_sound
headless_start_wine || exit 1

step "Native tests"
ctest --preset native || failed=1
step "Fuzz targets, a short run each"
tools/fuzz/run.sh short || failed=1
step "Windows tests (under Wine)"
ctest --preset windows || failed=1
exit $failed
