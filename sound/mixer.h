// The mixer's inner pieces, shared by the sound code, tests and benchmarks.
#pragma once

#include "sound/sounds.h"

// Adds frames of src, scaled by the channel gains, into dest; every stored
// sample is saturated to the 16-bit range.
typedef void (*MixAddFrames)(i16 *dest, const i16 *src, u32 frames, f32 left, f32 right);
// Three paths that store the same samples: the scalar reference, four stereo
// frames at a time with SSE2 (the baseline of every x86-64 processor), and
// eight at a time with AVX2, which only processors that support it may run.
void mix_add_frames_scalar(i16 *dest, const i16 *src, u32 frames, f32 left, f32 right);
void mix_add_frames_sse2(i16 *dest, const i16 *src, u32 frames, f32 left, f32 right);
void mix_add_frames_avx2(i16 *dest, const i16 *src, u32 frames, f32 left, f32 right);
bool cpu_supports_avx2(void);
// The AVX2 path where it runs, else the SSE2 path; asked of the processor once.
// Builds for other processors (WebAssembly) have only the scalar path.
MixAddFrames mix_fastest_path(void);

// The mix step: clears length bytes at dest and adds every active voice into
// them.  Only whole frames are mixed; a partial frame at the end stays silent.
void audio_mix(void *dest, u32 length);
void audio_mix_with(void *dest, u32 length, MixAddFrames add);

// Allocates the two tables at their start capacities unless they exist, and
// makes the mix the output device's source; false when that failed.
bool audio_create_tables(void);
// Frees every sound's samples and both tables; both counts become 0.
void audio_release_tables(void);
// Drops free voice slots at the end of the voice table.
void audio_trim_voices(void);
