// A mixer without an output device, for tests of the audio code.
#pragma once

#include <doctest/doctest.h>
#include <string.h>

#include <vector>

#include "sound/mixer.h"

// Fresh tables and counters, marked running as an open device would leave them.
inline void open_test_mixer(f32 master_volume) {
    audio_release_tables();
    audio_state = AudioState{};
    REQUIRE(audio_create_tables());
    audio_device.initialised = true;
    audio_device.ring_size = AUDIO_RING_SIZE;
    audio_state.master_volume = master_volume;
}

inline void close_test_mixer(void) {
    audio_release_tables();
    audio_state = AudioState{};
    audio_device = AudioDevice{};
}

inline SoundHandle make_sound(const std::vector<i16> &samples, f32 gain) {
    return os_create_sound((u32)(samples.size() * sizeof(i16)), samples.data(), gain);
}

// Runs the mix step over a stretch of the given number of samples.
inline std::vector<i16> mix_samples(size_t count) {
    std::vector<i16> out(count, 0x5555);
    audio_mix(out.data(), (u32)(count * sizeof(i16)));
    return out;
}

// Whether this test run has a sound device to open, and the window the
// device is opened for (both defined per backend).
bool test_sound_device_expected(void);
struct Window;
Window *test_sound_window(void);
