#!/usr/bin/env bash
# Builds the WAV loader with its libFuzzer target (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs a short bounded fuzzing session.
# Usage: tools/fuzz_wav/run.sh [extra libFuzzer options, e.g. -runs=1000000]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$root/build/fuzz_wav"
mkdir -p "$out/corpus"

sources=(
    "$here/fuzz_wav.cpp"
    "$root/sound/wav.cpp" "$root/sound/sound_table.cpp" "$root/sound/mix.cpp"
    "$root/os/log.cpp" "$root/os/posix/log.cpp" "$root/os/stb_sprintf.cpp"
    "$root/os/posix/heap.cpp" "$root/os/str.cpp" "$root/os/posix/clock.cpp" "$root/os/clock.cpp"
)
clang++ -std=c++20 -g -O1 -msse2 -ffp-contract=off -fno-fast-math -I"$root" -I/usr/include \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -fno-sanitize=alignment \
    "${sources[@]}" -o "$out/fuzz_wav"

# Seed: a minimal 16-bit stereo file with a "LIST" chunk of odd size.
printf 'RIFF\x36\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00LIST\x03\x00\x00\x00abc\x00data\x08\x00\x00\x00\x01\x00\x02\x00\x03\x00\x04\x00' \
    >"$out/corpus/seed_list.wav"

# The loader's log lines go to standard output; -close_fd_mask=1 silences them.
"$out/fuzz_wav" "$out/corpus" -dict="$here/wav.dict" -max_len=512 -runs=200000 -max_total_time=60 \
    -close_fd_mask=1 -print_final_stats=1 -artifact_prefix="$out/" "$@"
