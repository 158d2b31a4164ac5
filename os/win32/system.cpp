#include <windows.h>
#include <timeapi.h>

#include "os/clock.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/path_text.h"
#include "os/system.h"
#include "os/win32/utf16.h"

typedef BOOL(WINAPI *SetDpiAwarenessContextFn)(HANDLE);

static void make_dpi_aware(void) {
    wchar_t name[16];
    os_utf16_from_utf8(STR("User32.dll"), name, (int)COUNT_OF(name));
    HMODULE user32 = LoadLibraryExW(name, nullptr, 0);
    if (user32) {
        SetDpiAwarenessContextFn set_context =
            (SetDpiAwarenessContextFn)(void *)GetProcAddress(user32, "SetProcessDpiAwarenessContext");
        // -4: per-monitor awareness, version 2.
        bool done = set_context && set_context((HANDLE)(INT_PTR)-4);
        FreeLibrary(user32);
        if (done) return;
    }
    if (!SetProcessDPIAware()) os_printf("Error: failed to set DPI awareness\n");
}

void os_init(void) {
    static bool done;
    if (done) return;
    done = true;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    os_counter_frequency = (u64)frequency.QuadPart;
    make_dpi_aware();
    // The default 15.6 ms timer tick would stretch every sleep by up to a tick.
    timeBeginPeriod(1);
}

i32 os_get_cpu_count(void) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return (i32)info.dwNumberOfProcessors;
}

u64 os_get_installed_memory(void) {
    ULONGLONG kibibytes = 0;
    if (!GetPhysicallyInstalledSystemMemory(&kibibytes)) return 0;
    return (u64)kibibytes * 1024u;
}

Str os_get_command_line(void) {
    static Str line;
    if (!line.data) {
        // The ANSI form loses every character outside the system's code page.
        Str text = os_utf8_from_utf16(GetCommandLineW(), -1);
        if (!text.data) return line;
        line = os_command_line_from_text(text.data, text.len);
        os_free((void *)text.data);
    }
    return line;
}

Str os_get_exe_path(void) {
    static Str path;
    if (path.data) return path;
    // Grow until the whole name fits rather than cut it short at 260 units.
    for (DWORD units = MAX_PATH; units <= 65536; units *= 2) {
        wchar_t *buffer = (wchar_t *)os_alloc(units * sizeof(wchar_t));
        if (!buffer) return Str{0, nullptr};
        DWORD n = GetModuleFileNameW(nullptr, buffer, units);
        if (n > 0 && n < units) path = os_utf8_from_utf16(buffer, (int)n);
        os_free(buffer);
        if (n == 0 || n < units) break;
    }
    if (path.data) os_path_forward_slashes((char *)path.data, path.len);
    return path;
}

Str os_get_current_directory(void) {
    static Str dir;
    if (dir.data) return dir;
    // The first call gives the size needed, NUL included; the directory may
    // change between the two calls, so ask again until it fits.
    DWORD units = GetCurrentDirectoryW(0, nullptr);
    while (units > 0) {
        wchar_t *buffer = (wchar_t *)os_alloc(units * sizeof(wchar_t));
        if (!buffer) break;
        DWORD n = GetCurrentDirectoryW(units, buffer);
        if (n > 0 && n < units) {
            Str utf8 = os_utf8_from_utf16(buffer, (int)n);
            if (utf8.data) {
                dir = os_path_as_directory(utf8.data, utf8.len);
                os_free((void *)utf8.data);
            }
            n = 0;
        }
        os_free(buffer);
        units = n;
    }
    return dir;
}

u32 os_get_thread_id(void) { return GetCurrentThreadId(); }
