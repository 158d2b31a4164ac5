// The mix step's AVX2 path: eight stereo frames per round, in the same order of
// float operations as the scalar reference, so every stored sample matches it.
// Only this function is compiled for AVX2; mix_fastest_path picks it after
// asking the processor.
#include <immintrin.h>

#include "sound/mixer.h"

#if defined(__GNUC__) || defined(__clang__)
#define MIX_TARGET_AVX2 __attribute__((target("avx2")))
#else
#define MIX_TARGET_AVX2
#endif

MIX_TARGET_AVX2 void mix_add_frames_avx2(i16 *dest, const i16 *src, u32 frames, f32 left, f32 right) {
    const __m256 gains = _mm256_setr_ps(left, right, left, right, left, right, left, right);
    const __m256 low = _mm256_set1_ps(-32768.0f);
    const __m256 high = _mm256_set1_ps(32767.0f);
    u32 f = 0;
    // Eight frames (sixteen samples) per step, two steps per round so that the
    // loads of one overlap the arithmetic of the other.
    auto step = [&](u32 at) MIX_TARGET_AVX2 {
        const __m128i *in = (const __m128i *)(src + 2 * at);
        __m128i *out = (__m128i *)(dest + 2 * at);
        __m256 in_a = _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(_mm_loadu_si128(in)));
        __m256 in_b = _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(_mm_loadu_si128(in + 1)));
        __m256 out_a = _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(_mm_loadu_si128(out)));
        __m256 out_b = _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(_mm_loadu_si128(out + 1)));
        // Multiply and add stay two roundings, as in the scalar path.
        __m256 sum_a = _mm256_add_ps(_mm256_mul_ps(in_a, gains), out_a);
        __m256 sum_b = _mm256_add_ps(_mm256_mul_ps(in_b, gains), out_b);
        sum_a = _mm256_min_ps(_mm256_max_ps(sum_a, low), high);
        sum_b = _mm256_min_ps(_mm256_max_ps(sum_b, low), high);
        // The pack works per 128-bit lane; the permute puts the halves back in order.
        __m256i packed = _mm256_packs_epi32(_mm256_cvttps_epi32(sum_a), _mm256_cvttps_epi32(sum_b));
        _mm256_storeu_si256((__m256i *)out, _mm256_permute4x64_epi64(packed, 0xD8));
    };
    for (; f + 16 <= frames; f += 16) {
        step(f);
        step(f + 8);
    }
    for (; f + 8 <= frames; f += 8) step(f);
    mix_add_frames_sse2(dest + 2 * f, src + 2 * f, frames - f, left, right);
}
