// The mix step: every active voice added into a stretch of the output ring.
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
