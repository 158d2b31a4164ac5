// The mix step with 64 looping voices into one 16,384-byte update window,
// through each path, in nanoseconds per voice-sample.  The paths take turns
// within every trial, so a busy machine slows them alike and the ratios hold.
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
    audio_device.initialised = true;
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

    struct Path {
        const char *name;
        MixAddFrames add;
        double best;
    } paths[] = {{"scalar", mix_add_frames_scalar, 1e30}, {"sse2", mix_add_frames_sse2, 1e30},
                 {"avx2", mix_add_frames_avx2, 1e30}};
    const int path_count = cpu_supports_avx2() ? 3 : 2;

    static i16 window[AUDIO_UPDATE_WINDOW / 2];
    u64 checksum = 0;
    const int rounds = 300;
    for (int p = 0; p < path_count; p++) time_path(paths[p].add, window, 20, &checksum);  // warm-up
    for (int trial = 0; trial < 5; trial++) {
        for (int p = 0; p < path_count; p++) {
            double t = time_path(paths[p].add, window, rounds, &checksum);
            if (t < paths[p].best) paths[p].best = t;
        }
    }
    printf("mix step, %u voices into %u bytes, best of 5 x %d rounds (checksum %llu)\n", audio_state.voice_count,
           AUDIO_UPDATE_WINDOW, rounds, (unsigned long long)checksum);
    for (int p = 0; p < path_count; p++)
        printf("  %-6s %.3f ns per voice-sample, %.2fx the scalar speed\n", paths[p].name, paths[p].best,
               paths[0].best / paths[p].best);
    if (path_count < 3) printf("  avx2   not supported by this processor\n");
    // Lines for the benchmark table.
    for (int p = 0; p < path_count; p++) {
        printf("result mixer_%s_ns %.3f\n", paths[p].name, paths[p].best);
        printf("result mixer_%s_ratio %.2f\n", paths[p].name, paths[0].best / paths[p].best);
    }
    return 0;
}
