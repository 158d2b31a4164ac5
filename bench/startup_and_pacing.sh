#!/usr/bin/env bash
# Start-up to the first frame and frame pacing of the game, natively (SDL on
# X11) and under Wine, in one run on one virtual display; prints a table.
# Usage: bench/startup_and_pacing.sh [RUNS] [SECONDS]
# Builds what it needs in build/linux and build/windows (Release both).
set -uo pipefail
runs=${1:-3}
seconds=${2:-5}
source "$(dirname "$0")/../tools/headless.sh"
cd "$root"
trap headless_stop EXIT
trap 'exit 130' INT TERM

{ cmake --preset linux && cmake --build --preset linux --target bench_startup_and_pacing &&
    cmake --preset windows && cmake --build --preset windows --target bench_startup_and_pacing; } >/dev/null || exit 1
headless_start_display || exit 1
headless_start_wine || exit 1
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER

native=("$root/build/linux/bin/bench_startup_and_pacing")
windows=(wine "$root/build/windows/bin/bench_startup_and_pacing.exe")
results="$session_dir/startup_and_pacing.txt"
: >"$results"
for ((i = 1; i <= runs; i++)); do
    for system in native windows; do
        declare -n command=$system
        line=$("${command[@]}" "$(date +%s%6N)" "$seconds" 2>/dev/null | grep '^to_main_ms=')
        [[ -n "$line" ]] || { echo "the $system run $i failed"; exit 1; }
        echo "$system $line" >>"$results"
    done
done

# The median of the runs for each figure.
awk '
function median(list, n,    sorted, i, j, t) {
    for (i = 1; i <= n; i++) sorted[i] = list[i]
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (sorted[j] < sorted[i]) { t = sorted[i]; sorted[i] = sorted[j]; sorted[j] = t }
    return sorted[int((n + 1) / 2)]
}
{
    name = $1; runs[name]++
    for (f = 2; f <= NF; f++) { split($f, kv, "="); value[name, kv[1], runs[name]] = kv[2]; if (!(kv[1] in seen)) { seen[kv[1]] = 1; keys[++nkeys] = kv[1] } }
}
END {
    printf "%-20s %12s %12s\n", "median of " runs["native"] " runs", "native", "Wine"
    for (k = 1; k <= nkeys; k++) {
        for (s = 1; s <= 2; s++) {
            name = s == 1 ? "native" : "windows"
            for (r = 1; r <= runs[name]; r++) list[r] = value[name, keys[k], r]
            m[s] = median(list, runs[name])
        }
        printf "%-20s %12s %12s\n", keys[k], m[1], m[2]
    }
}' "$results"
echo "(every run: $results)"
