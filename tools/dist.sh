#!/usr/bin/env bash
# make dist: builds the Windows game and packs it, with its data, a player's
# README and the third-party notices, into build/dist/; the native game is
# packed the same way into a tarball, and the page into a zip for any static
# web host.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
for preset in windows linux; do
    echo "==> Packing the $preset build"
    cmake --preset $preset >/dev/null
    cmake --build --preset $preset
    (cd "build/$preset" && cpack --config CPackConfig.cmake)
done
echo "==> Packing the page"
tools/web.sh
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/web/CMakeCache.txt)
web_zip="build/dist/fathomer-$version-web.zip"
mkdir -p build/dist
rm -f "$web_zip"
# The page's files for any static web host.
(cd build/web && python3 -m zipfile -c "$root/$web_zip" index.html page.js page.css fathomer.js fathomer.wasm fathomer.data)
echo "==> Packages"
ls -l build/dist/fathomer-*.zip build/dist/fathomer-*.tar.gz
