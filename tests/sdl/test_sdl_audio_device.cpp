// The sound device over SDL: what it plays, recorded by SDL's file driver,
// and what happens without a sound server.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "../audio_test_support.h"
#include "../file_test_support.h"
#include "../stdout_capture.h"
#include "os/backend.h"
#include "os/clock.h"
#include "os/system.h"

// The test preset names a driver; a plain run reaches the user's sound server.
bool test_sound_device_expected(void) {
    if (getenv("SDL_AUDIODRIVER") || getenv("PULSE_SERVER") || getenv("XDG_RUNTIME_DIR")) return true;
    MESSAGE("no SDL audio driver or sound server named: no sound device to open");
    return false;
}

// SDL's device needs no window.
Window *test_sound_window(void) { return nullptr; }

// Sets environment variables for one scope and puts the old values back.
struct EnvOverride {
    std::string name;
    std::string old;
    bool had;
    EnvOverride(const char *n, const char *value) : name(n) {
        const char *v = getenv(n);
        had = v != nullptr;
        if (had) old = v;
        setenv(n, value, 1);
    }
    ~EnvOverride() {
        if (had)
            setenv(name.c_str(), old.c_str(), 1);
        else
            unsetenv(name.c_str());
    }
};

static std::vector<i16> test_tone(u32 frames) {
    std::vector<i16> samples(2 * frames);
    for (u32 i = 0; i < frames; i++) {
        samples[2 * i] = (i16)(100 + (i * 37) % 20000);
        samples[2 * i + 1] = (i16)(-100 - (i * 53) % 15000);
    }
    return samples;
}

// Plays the tone through the device for a while; false when an update came so
// late that the device may have played bytes not yet mixed (a loaded machine).
static bool play_through_device(const std::vector<i16> &tone, u32 milliseconds) {
    os_init();
    REQUIRE(os_init_audio(nullptr) == &audio_device);
    os_set_master_volume(0.5f);
    SoundHandle s = make_sound(tone, 1.0f);
    REQUIRE(os_play_sound(s, 1.0f, 0.25f, 0) != 0);
    bool in_time = true;
    u32 play = 0, last = 0;
    REQUIRE(backend_audio_cursors(&play, &last));
    u64 start = os_get_milliseconds();
    while (os_get_milliseconds() - start < milliseconds) {
        u32 write = 0;
        backend_audio_cursors(&play, &write);
        // SDL hands out 4096 bytes at a time past the write cursor.
        if ((write + AUDIO_RING_SIZE - last) % AUDIO_RING_SIZE > AUDIO_UPDATE_WINDOW - 4096) in_time = false;
        last = write;
        os_update_audio();
        os_sleep_milliseconds(5);
    }
    os_shutdown_audio();
    return in_time;
}

TEST_CASE("what the SDL device plays is the mixer's output, sample for sample") {
    std::string path = scratch_dir("sdl_disk_audio") + "played.raw";
    EnvOverride driver("SDL_AUDIODRIVER", "disk");
    EnvOverride file("SDL_DISKAUDIOFILE", path.c_str());
    const u32 frames = 11025;
    std::vector<i16> tone = test_tone(frames);

    // A stalled update replays stale bytes, which is not what this checks.
    bool in_time = false;
    for (int attempt = 0; attempt < 3 && !in_time; attempt++) {
        close_test_mixer();
        in_time = play_through_device(tone, 700);
    }
    REQUIRE(in_time);

    std::vector<i16> captured;
    FILE *f = fopen(path.c_str(), "rb");
    REQUIRE(f);
    i16 buffer[4096];
    size_t got;
    while ((got = fread(buffer, sizeof(i16), 4096, f)) > 0) captured.insert(captured.end(), buffer, buffer + got);
    fclose(f);
    unlink(path.c_str());

    open_test_mixer(0.5f);
    SoundHandle s = make_sound(tone, 1.0f);
    REQUIRE(os_play_sound(s, 1.0f, 0.25f, 0) != 0);
    std::vector<i16> expected = mix_samples(2 * frames + 2 * 4410);
    close_test_mixer();

    size_t first = 0;
    while (first < captured.size() && captured[first] == 0) first++;
    CHECK(first % 2 == 0);
    // The tone, then silence once the voice has ended.
    REQUIRE(captured.size() >= first + expected.size());
    size_t mismatches = 0;
    for (size_t i = 0; i < expected.size(); i++) mismatches += captured[first + i] != expected[i];
    CHECK(mismatches == 0);
    CHECK(expected[0] != 0);
    CHECK(expected[2 * frames] == 0);
}

TEST_CASE("without a sound server opening fails with a log line and the mixer stays silent") {
    EnvOverride driver("SDL_AUDIODRIVER", "pulseaudio");
    EnvOverride server("PULSE_SERVER", "unix:/nonexistent/fathomer-test/pa.sock");
    close_test_mixer();
    capture_stdout_begin();
    AudioDevice *state = os_init_audio(nullptr);
    std::string log = capture_stdout_end();
    CHECK(state == nullptr);
    CHECK(log.find("FAILED SDL_") == 0);
    CHECK(log.find('\n') == log.size() - 1);
    CHECK(make_sound({1, 2}, 1.0f) == 0);
    os_update_audio();
    os_shutdown_audio();
    close_test_mixer();
}
