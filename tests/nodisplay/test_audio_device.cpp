#include "../audio_test_support.h"

TEST_CASE("without a sound device opening fails and the mixer stays silent") {
    close_test_mixer();
    CHECK(os_init_audio(nullptr) == nullptr);
    CHECK_FALSE(audio_device.initialised);
    CHECK(audio_device.ring_size == AUDIO_RING_SIZE);
    CHECK(make_sound({1, 2}, 1.0f) == 0);
    os_update_audio();
    os_shutdown_audio();
    CHECK(audio_state.sounds == nullptr);  // nothing is made for a closed device
    CHECK(audio_state.voices == nullptr);
    close_test_mixer();
}

bool test_sound_device_expected(void) { return false; }
Window *test_sound_window(void) { return nullptr; }
