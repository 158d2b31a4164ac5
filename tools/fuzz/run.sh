#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each from its corpus in corpus/<target>.
#
#   tools/fuzz/run.sh short [target...]  a few seconds per target (make test)
#   tools/fuzz/run.sh long [target...]   10 million executions per target at
#       the lowest priority (make fuzz); the inputs that add coverage are merged
#       back into corpus/<target>, and the figures go to docs/robustness.md
#
# Targets: wav, ogg, image, glyphs, clipboard_dib, recording, drop_list.  FUZZ_RUNS overrides the long
# run's executions, FUZZ_JOBS how many targets run at once (default 1).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$root/build/fuzz/${1:-short}"
mode=${1:-short}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(wav ogg image glyphs clipboard_dib recording drop_list)

# Inputs longer than this are cut: large enough for every header and a few
# rows of pixels, small enough to keep runs quick.
max_len_wav=512 max_len_ogg=8192 max_len_image=4096 max_len_glyphs=2048 max_len_clipboard_dib=1024 max_len_recording=1024 max_len_drop_list=2048
dict_wav="$here/wav.dict" dict_ogg="$here/ogg.dict" dict_image="$here/png.dict"
# The targets are a CMake project of their own (tools/fuzz/CMakeLists.txt), so
# a re-run rebuilds only what changed.
bin="$root/build/fuzz/build"
build() {
    local log="$root/build/fuzz/build.log"
    { CXX=clang++ cmake -S "$here" -B "$bin" -G Ninja && cmake --build "$bin" --target "${targets[@]/#/fuzz_}"; } \
        >"$log" 2>&1 || { cat "$log"; return 1; }
}

# Runs one target; its last lines (executions, crash) go to $out/$t/result.
run() {
    local t=$1 runs=$2 seconds=$3 len="max_len_$1" dict="dict_$1"
    local work="$out/$t/corpus" options=()
    rm -rf "$work" "$out/$t"/crash-* "$out/$t"/leak-* "$out/$t"/timeout-* "$out/$t"/oom-*
    mkdir -p "$work" "$here/corpus/$t"
    cp "$here/corpus/$t"/* "$work/" 2>/dev/null
    [[ -n "${!dict:-}" ]] && options+=(-dict="${!dict}")
    local started=$SECONDS
    # The loaders' log lines go to standard output; -close_fd_mask=1 silences them.
    "$bin/fuzz_$t" "$work" "${options[@]}" -max_len="${!len}" -runs="$runs" -max_total_time="$seconds" \
        -close_fd_mask=1 -print_final_stats=1 -artifact_prefix="$out/$t/" >"$out/$t/log" 2>&1
    local status=$?
    local executed
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$t/log" | tail -n1)
    local crashes
    crashes=$(find "$out/$t" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    echo "$t ${executed:-0} $crashes $status $((SECONDS - started))" >"$out/$t/result"
    if [[ $status -ne 0 || $crashes -ne 0 ]]; then
        echo "fuzz_$t FAILED (exit $status, $crashes findings); see $out/$t/log"
        tail -n 30 "$out/$t/log"
        return 1
    fi
    echo "fuzz_$t: ${executed:-0} executions, no findings, $((SECONDS - started)) s"
    if [[ $mode == long ]]; then
        "$bin/fuzz_$t" -merge=1 "$here/corpus/$t" "$work" "${options[@]}" -max_len="${!len}" \
            -close_fd_mask=1 >"$out/$t/merge.log" 2>&1
    fi
}

failed=0
mkdir -p "$out"
build || { echo "the fuzz targets did not build"; exit 1; }

if [[ $mode == short ]]; then
    for t in "${targets[@]}"; do run "$t" 20000 20 || failed=1; done
    exit $failed
fi

runs=${FUZZ_RUNS:-10000000}
jobs=${FUZZ_JOBS:-1}
for t in "${targets[@]}"; do
    nice -n 19 bash -c "$(declare -f run); $(declare -p out bin here mode max_len_wav max_len_ogg max_len_image max_len_glyphs \
        max_len_clipboard_dib max_len_recording max_len_drop_list dict_wav dict_ogg dict_image); run $t $runs ${FUZZ_SECONDS:-86400}" &
    while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do sleep 5; done
done
wait

{
    echo "| target | executions | findings | exit | seconds |"
    echo "|---|---|---|---|---|"
    for t in "${targets[@]}"; do
        read -r name executed crashes status seconds <"$out/$t/result"
        echo "| $name | $executed | $crashes | $status | $seconds |"
        [[ $crashes -eq 0 && $status -eq 0 && $executed -ge $runs ]] || failed=1
    done
} >"$out/results.md"
cat "$out/results.md"
echo "Figures in $out/results.md; copy them into docs/robustness.md with the date."
exit $failed
