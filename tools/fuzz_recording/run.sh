#!/usr/bin/env bash
# Builds the recording reader with its libFuzzer target (clang, AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs a short bounded fuzzing session,
# seeded with recordings written by the game's own writer.
# Usage: tools/fuzz_recording/run.sh [extra libFuzzer options, e.g. -runs=1000000]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$root/build/fuzz_recording"
mkdir -p "$out/corpus"

flags=(-std=c++20 -g -O1 -msse2 -ffp-contract=off -fno-fast-math -I"$root" -I/usr/include)
clang++ "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "$here/fuzz_recording.cpp" "$root/game/recording_reader.cpp" "$root/game/recording_format.cpp" \
    -o "$out/fuzz_recording"

# Seeds: a short recording with events and hashes, ended, and the same cut short.
clang++ "${flags[@]}" "$here/make_seed.cpp" "$root/game/recording_writer.cpp" "$root/game/recording_format.cpp" \
    "$root/os/posix/files.cpp" "$root/os/posix/heap.cpp" "$root/os/str.cpp" "$root/os/file_data.cpp" "$root/os/dynarray.cpp" \
    "$root/os/path_text.cpp" "$root/os/log.cpp" "$root/os/posix/log.cpp" "$root/os/stb_sprintf.cpp" \
    "$root/os/posix/clock.cpp" "$root/os/clock.cpp" -o "$out/make_seed"
"$out/make_seed" "$out/corpus/seed_ended.rec" 1
"$out/make_seed" "$out/corpus/seed_cut.rec" 0

"$out/fuzz_recording" "$out/corpus" -max_len=1024 -runs=200000 -max_total_time=60 \
    -print_final_stats=1 -artifact_prefix="$out/" "$@"
