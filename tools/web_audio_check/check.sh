#!/usr/bin/env bash
# Builds the browser's sound check with Emscripten in build/web_audio_check and
# runs it (the ctest labelled browser).  Usage: tools/web_audio_check/check.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/web_audio_check
# Emscripten's optimiser finds Debian's JavaScript modules only through this.
export NODE_PATH=/usr/share/nodejs
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=1
if [[ ! -d $root/tools/web_audio_check/node_modules/playwright-core ]]; then
    npm ci --prefix "$root/tools/web_audio_check" --no-audit --no-fund
fi
emcmake cmake -S "$root/tools/web_audio_check" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -- -j 2
ctest --test-dir "$build" -L browser --output-on-failure
