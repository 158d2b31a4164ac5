// Plays a known looping tone through the output device for a number of
// seconds: 441 Hz on the left, 1225 Hz on the right, so that every
// recorded stretch repeats exactly every 100 (left) and 36 (right) frames,
// also across the sound's loop.
// Usage: tone_player SECONDS
#include <windows.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include "sound/sounds.h"
#include "os/backend.h"
#include "os/window.h"

int main(int argc, char **argv) {
    int seconds = argc > 1 ? atoi(argv[1]) : 3;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FathomerTonePlayer";
    RegisterClassW(&wc);
    Window window = {};
    window.hwnd = CreateWindowExW(0, wc.lpszClassName, L"tone", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  wc.hInstance, nullptr);

    bool open = os_init_audio(&window) != nullptr;
    os_set_master_volume(0.5f);

    static i16 samples[2 * 44100];
    for (int i = 0; i < 44100; i++) {
        samples[2 * i] = (i16)lrint(12000.0 * sin(6.283185307179586 * (i % 100) / 100.0));
        samples[2 * i + 1] = (i16)lrint(8000.0 * sin(6.283185307179586 * (i % 36) / 36.0));
    }
    SoundHandle tone = os_create_sound(sizeof samples, samples, 1.0f);
    VoiceHandle voice = os_play_sound(tone, 1.0f, 0.0f, SOUND_LOOP);
    if (open != (tone != 0 && voice != 0)) {
        printf("the mixer did not follow the device state\n");
        return 1;
    }

    DWORD start = GetTickCount();
    DWORD last = start;
    int late = 0;
    DWORD longest = 0;
    while (GetTickCount() - start < (DWORD)seconds * 1000) {
        if (open) {
            u32 play = 0, write = 0;
            backend_audio_cursors(&play, &write);
            u32 ahead = (audio_device.written_end + AUDIO_RING_SIZE - write) % AUDIO_RING_SIZE;
            if (audio_device.written_end != 0 && ahead > AUDIO_UPDATE_WINDOW) late++;
        }
        os_update_audio();
        Sleep(10);
        DWORD now = GetTickCount();
        if (now - last > longest) longest = now - last;
        last = now;
    }
    printf("late updates %d, longest pass %lu ms\n", late, (unsigned long)longest);
    os_shutdown_audio();
    printf(open ? "device open\n" : "device closed\n");
    return 0;
}
