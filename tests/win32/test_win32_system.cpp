#include <windows.h>
#include <doctest/doctest.h>
#include <string.h>

#include <string>

#include "os/clock.h"
#include "os/memory.h"
#include "os/system.h"
#include "os/win32/utf16.h"
#include "tests/stdout_capture.h"

TEST_CASE("UTF-8 and UTF-16 convert both ways and cut only at whole code points") {
    // "ファイル 😀": four BMP characters, a space and a surrogate pair.
    Str text = STR("\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB \xF0\x9F\x98\x80");
    wchar_t *wide = os_utf16_from_utf8_alloc(text);
    REQUIRE(wide != nullptr);
    CHECK(wcslen(wide) == 7);
    CHECK(wide[0] == 0x30D5);
    CHECK(wide[5] == 0xD83D);
    CHECK(wide[6] == 0xDE00);
    Str back = os_utf8_from_utf16(wide, -1);
    CHECK(str_equal(back, text));
    CHECK(back.data[back.len] == 0);
    os_free((void *)back.data);
    os_free(wide);

    wchar_t small[7];
    CHECK(os_utf16_from_utf8(text, small, 7) == 5);  // the pair does not fit whole
    CHECK(small[5] == 0);
    CHECK(os_utf16_from_utf8(text, small, 3) == 2);
    CHECK(small[2] == 0);
    wchar_t roomy[16];
    CHECK(os_utf16_from_utf8(text, roomy, 16) == 7);
    CHECK(os_utf16_from_utf8(Str{0, nullptr}, roomy, 16) == 0);
    CHECK(roomy[0] == 0);

    Str empty = os_utf8_from_utf16(L"", -1);
    CHECK(empty.len == 0);
    REQUIRE(empty.data != nullptr);
    os_free((void *)empty.data);
    Str part = os_utf8_from_utf16(L"abcdef", 3);
    CHECK(str_equal(part, STR("abc")));
    os_free((void *)part.data);
}

TEST_CASE("os_init reads the counter frequency and makes the process DPI-aware quietly") {
    capture_stdout_begin();
    os_init();
    std::string out = capture_stdout_end();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    CHECK(os_counter_frequency == (u64)frequency.QuadPart);
    CHECK(IsProcessDPIAware());
    CHECK(out == "");  // the fallback worked, so no error line
}

TEST_CASE("monitor records follow the system's answers, with the 60 Hz fallback") {
    i32 count = 0;
    Monitor *monitors = nullptr;
    os_get_monitors(&count, &monitors);
    REQUIRE(count >= 1);
    for (i32 i = 0; i < count; i++) {
        const Monitor &m = monitors[i];
        MONITORINFOEXW info = {};
        info.cbSize = sizeof(info);
        REQUIRE(GetMonitorInfoW((HMONITOR)m.handle, &info));
        CHECK(m.rect_pos.x == info.rcMonitor.left);
        CHECK(m.rect_pos.y == info.rcMonitor.top);
        CHECK(m.rect_size.width == info.rcMonitor.right - info.rcMonitor.left);
        CHECK(m.rect_size.height == info.rcMonitor.bottom - info.rcMonitor.top);
        CHECK(((m.flags & MONITOR_PRIMARY) != 0) == ((info.dwFlags & MONITORINFOF_PRIMARY) != 0));
        Str device = os_utf8_from_utf16(info.szDevice, -1);
        CHECK(str_equal(m.name, device));
        os_free((void *)device.data);
        DEVMODEW mode = {};
        mode.dmSize = sizeof(mode);
        REQUIRE(EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode));
        i32 expected_rate = mode.dmDisplayFrequency <= 1 ? 60 : (i32)mode.dmDisplayFrequency;
        CHECK(m.refresh_rate == expected_rate);
        CHECK(m.resolution.width == (i32)mode.dmPelsWidth);
        CHECK(m.resolution.height == (i32)mode.dmPelsHeight);
    }
}
