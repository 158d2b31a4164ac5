#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>
#include <stdlib.h>

#include "../audio_test_support.h"
#include "os/win32/audio_device.h"
#include "os/window.h"

TEST_SUITE_BEGIN("sound card");

// A plain hidden window stands in for the game's: DirectSound only needs its handle.
static Window plain_window(void) {
    static HWND hwnd;
    if (!hwnd) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"FathomerAudioTest";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, wc.lpszClassName, L"audio test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr, wc.hInstance, nullptr);
    }
    Window w = {};
    w.hwnd = hwnd;
    return w;
}

// The test scripts start a null sound card and name it in PULSE_SERVER.
static bool sound_card_expected(void) {
    if (getenv("PULSE_SERVER")) return true;
    MESSAGE("PULSE_SERVER is not set: no sound card to open");
    return false;
}

static u32 write_cursor(void) {
    DWORD play = 0, write = 0;
    ((IDirectSoundBuffer *)audio_state.buffer)->GetCurrentPosition(&play, &write);
    return write;
}

TEST_CASE("the DirectSound ring opens once, plays, is refilled ahead of its write cursor and closes") {
    if (!sound_card_expected()) return;
    close_test_mixer();
    Window window = plain_window();
    REQUIRE(window.hwnd);
    REQUIRE(os_init_audio(&window) == &audio_state);
    CHECK(audio_state.initialised);
    CHECK(audio_state.ring_size == AUDIO_RING_SIZE);
    CHECK(audio_state.sound_capacity == 16);
    CHECK(audio_state.voice_capacity == 64);
    void *device = audio_state.device;
    void *ring = audio_state.buffer;
    CHECK(os_init_audio(&window) == &audio_state);
    CHECK(audio_state.device == device);
    CHECK(audio_state.buffer == ring);

    // The first update mixes the whole window from the write cursor.
    u32 cursor = write_cursor();
    os_update_audio();
    u32 first_end = audio_state.written_end;
    CHECK(first_end >= cursor + AUDIO_UPDATE_WINDOW);
    CHECK(first_end < cursor + AUDIO_UPDATE_WINDOW + 8820);  // within 50 ms of the cursor read

    os_set_master_volume(0.2f);
    std::vector<i16> samples(2 * 44100, 1000);
    SoundHandle s = make_sound(samples, 1.0f);
    VoiceHandle v = os_play_sound(s, 1.0f, 0.0f, 0);
    REQUIRE(v != 0);

    // The ring plays in real time: about 176400 bytes per second, counted from
    // the moment the cursor first moves (a busy sound server starts late).
    u32 start = write_cursor();
    for (u64 wait0 = GetTickCount64(); write_cursor() == start && GetTickCount64() - wait0 < 3000;) {
        os_update_audio();
        Sleep(5);
    }
    start = write_cursor();
    u64 t0 = GetTickCount64();
    while (GetTickCount64() - t0 < 300) {
        os_update_audio();
        Sleep(15);
    }
    u32 advanced = (write_cursor() + AUDIO_RING_SIZE - start) % AUDIO_RING_SIZE;
    CHECK(advanced > 30000);
    CHECK(advanced < 90000);
    CHECK(audio_state.written_end != first_end);
    REQUIRE(os_get_voice(v));
    CHECK(os_get_voice(v)->position > 30000);
    CHECK(os_get_voice(v)->position < 120000);

    os_shutdown_audio();
    CHECK_FALSE(audio_state.initialised);
    CHECK(audio_state.sounds == nullptr);
    CHECK(audio_state.voices == nullptr);
    CHECK(audio_state.sound_count == 0);
    CHECK(audio_state.voice_count == 0);
    CHECK(audio_state.written_end == 0);
    CHECK(os_get_sound(s) == nullptr);
    os_shutdown_audio();
    os_update_audio();

    // Reopening works, and generations go on counting.
    REQUIRE(os_init_audio(&window) == &audio_state);
    CHECK(make_sound(samples, 1.0f) == 0x200000000ull);
    os_shutdown_audio();
}

TEST_CASE("the device update trims free voice slots at the end of the table") {
    if (!sound_card_expected()) return;
    close_test_mixer();
    Window window = plain_window();
    REQUIRE(os_init_audio(&window));
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

TEST_CASE("DirectSound result codes are named as the failure lines print them") {
    CHECK(strcmp(dsound_error_name(0x80070057), "DSERR_INVALIDPARAM") == 0);
    CHECK(strcmp(dsound_error_name((u32)DSERR_NODRIVER), "DSERR_NODRIVER") == 0);
    CHECK(strcmp(dsound_error_name((u32)DSERR_BUFFERLOST), "DSERR_BUFFERLOST") == 0);
    CHECK(strcmp(dsound_error_name(0x0878000A), "DS_NO_VIRTUALIZATION") == 0);
    CHECK(strcmp(dsound_error_name(0x88781161), "DSERR_OBJECTNOTFOUND") == 0);
    CHECK(strcmp(dsound_error_name(0), "???") == 0);
    CHECK(strcmp(dsound_error_name(0x88780001), "???") == 0);
}

TEST_SUITE_END();
