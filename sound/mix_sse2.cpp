// Four stereo frames at a time with SSE2, the baseline of every x86-64
// processor; the scalar path finishes what is left.
#include <emmintrin.h>

#include "sound/mixer.h"

void mix_add_frames_sse2(i16 *dest, const i16 *src, u32 frames, f32 left, f32 right) {
    const __m128 gains = _mm_setr_ps(left, right, left, right);
    const __m128 low = _mm_set1_ps(-32768.0f);
    const __m128 high = _mm_set1_ps(32767.0f);
    u32 f = 0;
    for (; f + 4 <= frames; f += 4) {
        __m128i in = _mm_loadu_si128((const __m128i *)(src + 2 * f));
        __m128i out = _mm_loadu_si128((const __m128i *)(dest + 2 * f));
        // Sign-extend each half of the eight samples to 32 bits.
        __m128 in_lo = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpacklo_epi16(in, in), 16));
        __m128 in_hi = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpackhi_epi16(in, in), 16));
        __m128 out_lo = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpacklo_epi16(out, out), 16));
        __m128 out_hi = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpackhi_epi16(out, out), 16));
        __m128 sum_lo = _mm_add_ps(_mm_mul_ps(in_lo, gains), out_lo);
        __m128 sum_hi = _mm_add_ps(_mm_mul_ps(in_hi, gains), out_hi);
        sum_lo = _mm_min_ps(_mm_max_ps(sum_lo, low), high);
        sum_hi = _mm_min_ps(_mm_max_ps(sum_hi, low), high);
        __m128i packed = _mm_packs_epi32(_mm_cvttps_epi32(sum_lo), _mm_cvttps_epi32(sum_hi));
        _mm_storeu_si128((__m128i *)(dest + 2 * f), packed);
    }
    mix_add_frames_scalar(dest + 2 * f, src + 2 * f, frames - f, left, right);
}
