#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>
#include <stdlib.h>

#include "../audio_test_support.h"
#include "os/win32/audio_device.h"
#include "os/window.h"

TEST_SUITE_BEGIN("sound card");

// A plain hidden window stands in for the game's: DirectSound only needs its handle.
Window *test_sound_window(void) {
    static HWND hwnd;
    static Window w;
    if (!hwnd) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"FathomerAudioTest";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, wc.lpszClassName, L"audio test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr, wc.hInstance, nullptr);
    }
    w.hwnd = hwnd;
    return &w;
}

// The test scripts start a null sound card and name it in PULSE_SERVER.
bool test_sound_device_expected(void) {
    if (getenv("PULSE_SERVER")) return true;
    MESSAGE("PULSE_SERVER is not set: no sound card to open");
    return false;
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
