// The sounds the browser's sound check plays, made from integers alone so
// that every compiler builds the same samples, and the mixer's output for
// them, which the native tests check and the page hears.
#pragma once

#include <vector>

#include "sound/sounds.h"

// The mix: three voices started together at master volume 0.5, one looping,
// two panned, one amplified past the 16-bit range where they overlap.
#define KNOWN_MIX_MASTER_VOLUME 0.5f
#define KNOWN_MIX_FRAMES 88200u
// FNV-1a over the first KNOWN_MIX_FRAMES frames the mixer makes of them, as
// little-endian bytes.
#define KNOWN_MIX_HASH 0xb1d92e627ac3401cull

// A triangle of the given period and peak, at frame i (never 0 at i = 0 with
// the phase the caller picks).
inline i16 known_triangle(u32 i, u32 period, i32 peak) {
    i32 phase = (i32)(i % period);
    i32 half = (i32)period / 2;
    i32 rise = phase < half ? phase : (i32)period - phase;
    return (i16)(peak - 4 * peak * rise / (i32)period);
}

inline std::vector<i16> known_loop_samples(void) {
    std::vector<i16> s(2 * 22050);
    for (u32 i = 0; i < 22050; i++) {
        s[2 * i] = known_triangle(i + 13, 100, 12000);
        s[2 * i + 1] = known_triangle(i, 36, 8000);
    }
    return s;
}

inline std::vector<i16> known_noise_samples(void) {
    std::vector<i16> s(2 * 13230);
    u32 state = 12345;
    for (auto &v : s) {
        state = state * 1664525u + 1013904223u;
        v = (i16)((i32)(state >> 16) - 32768);
    }
    return s;
}

inline std::vector<i16> known_sweep_samples(void) {
    std::vector<i16> s(2 * 48510);
    u32 phase = 0;
    for (u32 i = 0; i < 48510; i++) {
        phase += 200 + i / 16;
        i16 v = (phase & 0x8000) ? 9000 : -9000;
        s[2 * i] = v;
        s[2 * i + 1] = (i16)(-v / 2);
    }
    return s;
}

struct KnownVoices {
    SoundHandle sounds[3];
    VoiceHandle voices[3];
};

// Creates the three sounds (the device must be open) and starts their voices
// in slot order.
inline KnownVoices start_known_mix(void) {
    KnownVoices k = {};
    std::vector<i16> loop = known_loop_samples(), noise = known_noise_samples(), sweep = known_sweep_samples();
    k.sounds[0] = os_create_sound((u32)(loop.size() * 2), loop.data(), 0.8f);
    k.sounds[1] = os_create_sound((u32)(noise.size() * 2), noise.data(), 3.0f);
    k.sounds[2] = os_create_sound((u32)(sweep.size() * 2), sweep.data(), 1.5f);
    os_set_master_volume(KNOWN_MIX_MASTER_VOLUME);
    k.voices[0] = os_play_sound(k.sounds[0], 0.9f, -0.25f, SOUND_LOOP);
    k.voices[1] = os_play_sound(k.sounds[1], 1.0f, 0.6f, 0);
    k.voices[2] = os_play_sound(k.sounds[2], 0.7f, 0.0f, 0);
    return k;
}

inline void replay_known_voices(KnownVoices *k) {
    for (VoiceHandle v : k->voices) os_stop_voice(v);
    k->voices[0] = os_play_sound(k->sounds[0], 0.9f, -0.25f, SOUND_LOOP);
    k->voices[1] = os_play_sound(k->sounds[1], 1.0f, 0.6f, 0);
    k->voices[2] = os_play_sound(k->sounds[2], 0.7f, 0.0f, 0);
}

inline u64 known_hash(const i16 *samples, u64 count) {
    u64 h = 0xcbf29ce484222325ull;
    for (u64 i = 0; i < count; i++) {
        u16 v = (u16)samples[i];
        h = (h ^ (v & 0xFF)) * 0x100000001b3ull;
        h = (h ^ (v >> 8)) * 0x100000001b3ull;
    }
    return h;
}

// A sound that names its own frames: frame i holds 1 + the low 14 bits of i
// on the left and 1 + the bits above on the right, never 0, and plays
// unchanged at volume, gain and master volume 1.  Heard frames show where in
// the sound they came from, so a repeat, a loss or a reordering shows.
#define KNOWN_COUNTER_FRAMES 264600u

inline std::vector<i16> known_counter_samples(void) {
    std::vector<i16> s(2 * KNOWN_COUNTER_FRAMES);
    for (u32 i = 0; i < KNOWN_COUNTER_FRAMES; i++) {
        s[2 * i] = (i16)(1 + (i & 0x3FFF));
        s[2 * i + 1] = (i16)(1 + (i >> 14));
    }
    return s;
}
