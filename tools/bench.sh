#!/usr/bin/env bash
# Runs every benchmark of both builds (the native Release tree, and the Windows
# tree under Wine) one after another, and the page's in headless Chromium,
# prints one table and writes it with the machine it ran on to
# docs/performance.md.
#   FATHOMER_BENCH_FALL_SECONDS   seconds of falling for the memory row (60)
set -uo pipefail
source "$(dirname "$0")/headless.sh"
cd "$root"
trap headless_stop EXIT
trap 'exit 130' INT TERM

step() { echo "==> $*"; }
fall_seconds=${FATHOMER_BENCH_FALL_SECONDS:-60}
out="$root/build/bench"
rm -rf "$out"
mkdir -p "$out"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"

# The benchmarks, the game and its data; the test executables are not needed.
build_tree() {
    local preset=$1 dir=$2
    cmake --preset "$preset" >/dev/null || return 1
    local targets
    targets=$(cmake --build "$dir" --target help | sed -n 's/^\(bench_[a-z_]*\|fathomer\|fathomer_data\|fathomer_shaders\): .*/\1/p')
    # shellcheck disable=SC2086
    cmake --build --preset "$preset" --target $targets
}

step "Building the native Release tree"
build_tree linux build/linux || exit 1
step "Building the Windows tree"
build_tree windows build/windows || exit 1

step "Building the page"
cmake --preset web >/dev/null && cmake --build --preset web || exit 1

step "Starting the virtual display, sound card and Wine server"
headless_start_display || exit 1
headless_start_sound
headless_start_wine || exit 1

# bench BUILD NAME COMMAND...: runs one benchmark and keeps its "result" lines
# in build/bench/BUILD.txt; a failed run leaves a "missing" line instead.
bench() {
    local build=$1 name=$2
    shift 2
    local log="$out/$build-$name.log"
    echo "  $build $name"
    if "$@" >"$log" 2>&1 </dev/null; then
        sed -n 's/^result //p' "$log" >>"$out/$build.txt"
    else
        echo "missing_$name $(tail -n 2 "$log" | tr '\n' ' ')" >>"$out/$build.txt"
    fi
}

# fall BUILD COMMAND...: starts the game, goes from the title through the
# opening to the fall and samples the game process's resident memory every
# second of the fall; keeps the largest sample.
fall() {
    local build=$1
    shift
    local log="$out/$build-fall.log"
    echo "  $build fall (${fall_seconds} s)"
    "$@" >"$log" 2>&1 </dev/null &
    local game=$!
    local window=""
    for _ in $(seq 150); do
        window=$(xdotool search --pid "$game" --name '^Fathomer$' 2>/dev/null | head -n1)
        [[ -z "$window" ]] && window=$(xdotool search --name '^Fathomer$' 2>/dev/null | head -n1)
        [[ -n "$window" ]] && break
        sleep 0.1
    done
    if [[ -z "$window" ]]; then
        kill "$game" 2>/dev/null
        wait "$game" 2>/dev/null
        echo "missing_fall no window" >>"$out/$build.txt"
        return
    fi
    press() { xdotool windowfocus "$window" 2>/dev/null; xdotool key "$1"; }
    # Title, then the opening skipped, then the fall started.
    sleep 1
    press x
    sleep 1
    press x
    sleep 1
    press x
    local peak=0 kb
    for _ in $(seq "$fall_seconds"); do
        sleep 1
        kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$game/status" 2>/dev/null)
        [[ -n "$kb" ]] && ((kb > peak)) && peak=$kb
    done
    press alt+F4
    for _ in $(seq 100); do
        kill -0 "$game" 2>/dev/null || break
        sleep 0.1
    done
    kill "$game" 2>/dev/null
    wait "$game" 2>/dev/null
    if ((peak > 0)); then
        echo "fall_peak_kb $peak" >>"$out/$build.txt"
        echo "fall_seconds $fall_seconds" >>"$out/$build.txt"
    else
        echo "missing_fall no memory samples" >>"$out/$build.txt"
    fi
}

wine_run() { wine "$@"; }

step "Running the benchmarks"
cut -d' ' -f1-3 /proc/loadavg >"$out/load-start.txt"
native=build/linux/bin
windows=build/windows/bin
: >"$out/native.txt"
: >"$out/windows.txt"
bench native mixer "$native/bench_mixer"
bench windows mixer wine_run "$windows/bench_mixer.exe"
bench native render_frame "$native/bench_render_frame"
bench windows render_frame wine_run "$windows/bench_render_frame.exe"
bench native simulation "$native/bench_soak_game" 600
bench windows simulation wine_run "$windows/bench_soak_game.exe" 600
bench native frame_pacing "$native/bench_frame_pacing"
bench windows frame_pacing wine_run "$windows/bench_frame_pacing.exe"
if [[ -x "$native/fathomer" ]]; then
    fall native "$native/fathomer"
else
    echo "missing_fall no native game executable" >>"$out/native.txt"
fi
fall windows wine "$windows/fathomer.exe"
: >"$out/web.txt"
# WebAssembly under node, the page's own engine (Emscripten's loader predates
# node's fetch, which cannot read files).
web_bin=build/web/bin
bench web render_frame node --no-experimental-fetch "$web_bin/bench_render_frame.js"
bench web simulation node --no-experimental-fetch "$web_bin/bench_soak_game.js" 600
NODE_PATH="$root/tools/web_check/node_modules" \
    bench web page node "$root/tools/web_check/check_page.js" "$root/build/web" bench

step "The table (also in docs/performance.md)"
python3 "$root/tools/bench_table.py" "$out" "$root/docs/performance.md"
