// The mix step: every active voice added into a stretch of the output ring.
#include <emmintrin.h>
#include <string.h>

#include "sound/mixer.h"

// Clamping before truncation stores the same value as truncating and then
// saturating, and keeps the conversion inside the 32-bit range.  The
// comparisons are written as MAXPS/MINPS behave, so a NaN sum ends at -32768
// on both paths.
static i16 mix_sample(i16 in, f32 gain, i16 out) {
    f32 sum = (f32)in * gain + (f32)out;
    sum = sum > -32768.0f ? sum : -32768.0f;
    sum = sum < 32767.0f ? sum : 32767.0f;
    return (i16)(i32)sum;
}

void mix_add_frames_scalar(i16 *dest, const i16 *src, u32 frames, f32 left, f32 right) {
    for (u32 f = 0; f < frames; f++) {
        dest[2 * f] = mix_sample(src[2 * f], left, dest[2 * f]);
        dest[2 * f + 1] = mix_sample(src[2 * f + 1], right, dest[2 * f + 1]);
    }
}

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

// Gains of one voice: the pan products in double precision, rounded to single.
static void voice_gains(const Voice *v, f32 sound_gain, f32 *left, f32 *right) {
    f32 g = v->volume * audio_state.master_volume * sound_gain;
    *left = g;
    *right = g;
    if (v->pan > 0.0f) *left = (f32)((1.0 - (f64)v->pan) * (f64)g);
    if (v->pan < 0.0f) *right = (f32)((1.0 + (f64)v->pan) * (f64)g);
}

void audio_mix_with(void *dest, u32 length, MixAddFrames add) {
    memset(dest, 0, length);
    i16 *out = (i16 *)dest;
    const u32 stretch = length - length % AUDIO_BYTES_PER_FRAME;
    for (u32 i = 0; i < audio_state.voice_count; i++) {
        Voice *v = &audio_state.voices[i];
        if (v->generation == 0) continue;
        const Sound *s = &audio_state.sounds[v->sound];
        f32 left, right;
        voice_gains(v, s->gain, &left, &right);
        u32 filled = 0;
        while (filled < stretch) {
            u32 n = s->byte_length - v->position;
            if (n > stretch - filled) n = stretch - filled;
            add(out + filled / 2, s->samples + v->position / 2, n / AUDIO_BYTES_PER_FRAME, left, right);
            filled += n;
            v->position += n;
            if (v->position < s->byte_length) break;
            if (!(v->flags & SOUND_LOOP)) {
                memset(v, 0, sizeof *v);
                break;
            }
            v->position = 0;
        }
    }
}

void audio_mix(void *dest, u32 length) { audio_mix_with(dest, length, mix_fastest_path()); }
