#!/usr/bin/env bash
# make web: builds the page into build/web/ (index.html and what it loads).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# Compiler output is cached across runs and checkouts, Emscripten's too.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
cmake --preset web >/dev/null
cmake --build --preset web
