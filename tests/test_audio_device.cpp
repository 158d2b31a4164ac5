// The output device through whichever backend the build has: the ring's
// cursors, the refill ahead of the write cursor, closing and reopening.
#include "audio_test_support.h"
#include "os/backend.h"
#include "os/clock.h"
#include "os/system.h"

TEST_SUITE_BEGIN("sound card");

static u32 write_cursor(void) {
    u32 play = 0, write = 0;
    REQUIRE(backend_audio_cursors(&play, &write));
    CHECK(play < AUDIO_RING_SIZE);
    CHECK(write < AUDIO_RING_SIZE);
    return write;
}

TEST_CASE("the sound ring opens once, plays, is refilled ahead of its write cursor and closes") {
    if (!test_sound_device_expected()) return;
    os_init();
    close_test_mixer();
    Window *window = test_sound_window();
    REQUIRE(os_init_audio(window) == &audio_device);
    CHECK(audio_device.initialised);
    CHECK(audio_device.ring_size == AUDIO_RING_SIZE);
    void *device = audio_device.device;
    void *ring = audio_device.buffer;
    CHECK(os_init_audio(window) == &audio_device);
    CHECK(audio_device.device == device);
    CHECK(audio_device.buffer == ring);

    // The first update mixes the whole window from the write cursor.
    u32 cursor = write_cursor();
    os_update_audio();
    u32 first_end = audio_device.written_end;
    CHECK(first_end >= cursor + AUDIO_UPDATE_WINDOW);
    CHECK(first_end < cursor + AUDIO_UPDATE_WINDOW + 8820);  // within 50 ms of the cursor read

    os_set_master_volume(0.2f);
    std::vector<i16> samples(2 * 44100, 1000);
    SoundHandle s = make_sound(samples, 1.0f);
    // The first sound makes the mixer's tables.
    CHECK(audio_state.sound_capacity == 16);
    CHECK(audio_state.voice_capacity == 64);
    VoiceHandle v = os_play_sound(s, 1.0f, 0.0f, 0);
    REQUIRE(v != 0);

    // The ring plays in real time: about 176400 bytes per second, counted from
    // the moment the cursor first moves (a busy sound server starts late).
    u32 start = write_cursor();
    for (u64 wait0 = os_get_milliseconds(); write_cursor() == start && os_get_milliseconds() - wait0 < 3000;) {
        os_update_audio();
        os_sleep_milliseconds(5);
    }
    start = write_cursor();
    u64 t0 = os_get_milliseconds();
    while (os_get_milliseconds() - t0 < 300) {
        os_update_audio();
        os_sleep_milliseconds(15);
    }
    u32 advanced = (write_cursor() + AUDIO_RING_SIZE - start) % AUDIO_RING_SIZE;
    CHECK(advanced > 30000);
    CHECK(advanced < 90000);
    CHECK(audio_device.written_end != first_end);
    REQUIRE(os_get_voice(v));
    CHECK(os_get_voice(v)->position > 30000);
    CHECK(os_get_voice(v)->position < 120000);

    os_shutdown_audio();
    CHECK_FALSE(audio_device.initialised);
    CHECK(audio_state.sounds == nullptr);
    CHECK(audio_state.voices == nullptr);
    CHECK(audio_state.sound_count == 0);
    CHECK(audio_state.voice_count == 0);
    CHECK(audio_device.written_end == 0);
    CHECK_FALSE(audio_device.play_cursor_seen);  // the next open's first update clears nothing
    CHECK(os_get_sound(s) == nullptr);
    os_shutdown_audio();
    os_update_audio();

    // Reopening works, and generations go on counting.
    REQUIRE(os_init_audio(window) == &audio_device);
    CHECK(make_sound(samples, 1.0f) == 0x200000000ull);
    os_shutdown_audio();
}

TEST_CASE("the device update trims free voice slots at the end of the table") {
    if (!test_sound_device_expected()) return;
    close_test_mixer();
    REQUIRE(os_init_audio(test_sound_window()));
    SoundHandle s = make_sound({1, 1}, 1.0f);
    VoiceHandle a = os_play_sound(s, 1.0f, 0.0f, SOUND_LOOP);
    VoiceHandle b = os_play_sound(s, 1.0f, 0.0f, SOUND_LOOP);
    VoiceHandle c = os_play_sound(s, 1.0f, 0.0f, SOUND_LOOP);
    os_stop_voice(b);
    os_stop_voice(c);
    CHECK(audio_state.voice_count == 3);
    os_update_audio();
    CHECK(audio_state.voice_count == 1);
    CHECK(os_get_voice(a) != nullptr);
    os_shutdown_audio();
}

TEST_CASE("once played, the ring is cleared behind the play cursor") {
    if (!test_sound_device_expected()) return;
    os_init();
    close_test_mixer();
    REQUIRE(os_init_audio(test_sound_window()));
    os_set_master_volume(1.0f);
    os_play_sound(make_sound(std::vector<i16>(2 * 1000, 1000), 1.0f), 1.0f, 0.0f, SOUND_LOOP);
    // Steady updates until the device has played more than the whole ring.
    u32 travelled = 0, last = 0, write = 0;
    REQUIRE(backend_audio_cursors(&last, &write));
    for (u64 t0 = os_get_milliseconds(); travelled <= AUDIO_RING_SIZE && os_get_milliseconds() - t0 < 5000;) {
        os_update_audio();
        os_sleep_milliseconds(5);
        u32 play = 0;
        REQUIRE(backend_audio_cursors(&play, &write));
        travelled += (play + AUDIO_RING_SIZE - last) % AUDIO_RING_SIZE;
        last = play;
    }
    REQUIRE(travelled > AUDIO_RING_SIZE);
    os_update_audio();

    // The ring as the last update left it (the device only reads it): the
    // window just mixed sounds; from its end round to the play cursor that
    // update saw, all is silence.
    REQUIRE(audio_device.play_cursor_seen);
    u32 mixed_to = audio_device.written_end % AUDIO_RING_SIZE;
    u32 silent_bytes = (audio_device.last_play_cursor + AUDIO_RING_SIZE - mixed_to) % AUDIO_RING_SIZE;
    CHECK(silent_bytes > AUDIO_RING_SIZE / 2);
    AudioRingPieces pieces = {};
    REQUIRE(backend_audio_lock(0, AUDIO_RING_SIZE, &pieces));
    REQUIRE(pieces.length[0] == AUDIO_RING_SIZE);
    const i16 *ring = (const i16 *)pieces.memory[0];
    u32 sounding = 0, silent = 0;
    for (u32 b = 0; b < AUDIO_UPDATE_WINDOW; b += 2)
        sounding += ring[(mixed_to + AUDIO_RING_SIZE - AUDIO_UPDATE_WINDOW + b) % AUDIO_RING_SIZE / 2] == 1000;
    for (u32 b = 0; b < silent_bytes; b += 2) silent += ring[(mixed_to + b) % AUDIO_RING_SIZE / 2] == 0;
    backend_audio_unlock(&pieces);
    CHECK(sounding == AUDIO_UPDATE_WINDOW / 2);
    CHECK(silent == silent_bytes / 2);
    os_shutdown_audio();
}

TEST_SUITE_END();
