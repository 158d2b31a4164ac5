// A window program for the process tests: it opens a window and waits for
// messages for up to 10 seconds.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"helper", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                instance, nullptr);
    if (!hwnd) return 3;
    SetTimer(nullptr, 0, 10000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) break;
        DispatchMessageW(&msg);
    }
    return 0;
}
