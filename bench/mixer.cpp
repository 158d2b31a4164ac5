// The mix step with 64 looping voices into one 16,384-byte update window,
// through the SSE2 path and the scalar path, in nanoseconds per voice-sample.
#include <stdio.h>
#include <stdlib.h>

#include <chrono>

#include "sound/mixer.h"

static double time_path(MixAddFrames add, i16 *window, int rounds, u64 *checksum) {
    auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; r++) {
        audio_mix_with(window, AUDIO_UPDATE_WINDOW, add);
        *checksum += (u16)window[r % (AUDIO_UPDATE_WINDOW / 2)];
    }
    auto end = std::chrono::steady_clock::now();
    double ns = std::chrono::duration<double, std::nano>(end - start).count();
    double voice_samples = (double)rounds * audio_state.voice_count * (AUDIO_UPDATE_WINDOW / 2);
    return ns / voice_samples;
}

int main(void) {
    if (!audio_create_tables()) return 1;
    audio_state.initialised = true;
    audio_state.master_volume = 0.2f;

    // Two seconds of noise, loud enough that some sums saturate.
    static i16 samples[2 * 88200];
    srand(7);
    for (i16 &s : samples) s = (i16)((rand() & 0xFFFF) - 0x8000);
    SoundHandle sound = os_create_sound(sizeof samples, samples, 1.5f);
    for (int i = 0; i < 64; i++) {
        VoiceHandle v = os_play_sound(sound, 0.5f + (f32)(i % 7) * 0.1f, (f32)(i % 9 - 4) / 4.0f, SOUND_LOOP);
        os_get_voice(v)->position = (u32)(rand() % 88200) * 4;
    }

    static i16 window[AUDIO_UPDATE_WINDOW / 2];
    u64 checksum = 0;
    const int rounds = 400;
    time_path(mix_add_frames, window, 20, &checksum);  // warm-up
    double simd = 1e30, scalar = 1e30;
    for (int trial = 0; trial < 3; trial++) {
        double s = time_path(mix_add_frames, window, rounds, &checksum);
        double c = time_path(mix_add_frames_scalar, window, rounds, &checksum);
        if (s < simd) simd = s;
        if (c < scalar) scalar = c;
    }
    printf("mix step, %u voices into %u bytes, best of 3 x %d rounds\n", audio_state.voice_count, AUDIO_UPDATE_WINDOW,
           rounds);
    printf("  SSE2:   %.3f ns per voice-sample\n", simd);
    printf("  scalar: %.3f ns per voice-sample\n", scalar);
    printf("  speed-up %.2fx (checksum %llu)\n", scalar / simd, (unsigned long long)checksum);
    return 0;
}
