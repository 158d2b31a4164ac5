#!/usr/bin/env bash
# make dist: builds the Windows game and packs it, with its data, a player's
# README and the third-party notices, into build/dist/; the native game is
# packed the same way into a tarball.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
for preset in windows linux; do
    echo "==> Packing the $preset build"
    cmake --preset $preset >/dev/null
    cmake --build --preset $preset
    (cd "build/$preset" && cpack --config CPackConfig.cmake)
done
echo "==> Packages"
ls -l build/dist/fathomer-*.zip build/dist/fathomer-*.tar.gz
