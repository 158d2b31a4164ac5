# Sourced by tools/test.sh: test suites started side by side, each with its
# output in a log of its own, and a closing report of their wall times and
# summaries.
#   suite NAME COMMAND...   starts COMMAND in the background
#   suites_finish           waits for every suite, shows each one's output as
#                           it ends, then the wall times and the summaries;
#                           fails when any suite failed

suite_names=()
suite_pids=()
suite_logs=()

suite() {
    local name=$1
    shift
    local log="$session_dir/suite-${#suite_names[@]}.log"
    mkdir -p "$session_dir"
    (
        start=$(date +%s%N)
        "$@" >"$log" 2>&1 </dev/null
        rc=$?
        echo "$rc $(( ($(date +%s%N) - start) / 1000000 ))" >"$log.result"
        exit $rc
    ) &
    suite_names+=("$name")
    suite_pids+=($!)
    suite_logs+=("$log")
}

# A ctest run's summary runs from its "tests passed" line to the next run's
# "Test project" line or the end; another command's is its last ten lines.
suite_summary() {
    local log=$1
    if grep -q '% tests passed' "$log"; then
        awk '/% tests passed/ { p = 1 } /^Test project / { p = 0 } p' "$log"
    else
        tail -n 10 "$log"
    fi
}

suites_finish() {
    local failed=0 i rc ms
    for i in "${!suite_names[@]}"; do
        wait "${suite_pids[$i]}" || true
        echo "==> ${suite_names[$i]}"
        cat "${suite_logs[$i]}"
    done
    echo "==> Wall times"
    for i in "${!suite_names[@]}"; do
        read -r rc ms <"${suite_logs[$i]}.result" || { rc=1; ms=0; }
        ((rc == 0)) || failed=1
        printf '  %-40s %4d.%d s%s\n' "${suite_names[$i]}" $((ms / 1000)) $((ms % 1000 / 100)) \
            "$( ((rc == 0)) || echo "  (FAILED, exit code $rc)")"
    done
    printf '  %-40s %4d s\n' "whole run (builds included)" "$SECONDS"
    for i in "${!suite_names[@]}"; do
        echo "==> ${suite_names[$i]}: summary"
        suite_summary "${suite_logs[$i]}"
    done
    suite_names=()
    suite_pids=()
    suite_logs=()
    return $failed
}
