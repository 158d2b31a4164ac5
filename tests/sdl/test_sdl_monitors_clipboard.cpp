// Monitors and the clipboard through SDL.
#include <doctest/doctest.h>
#include <SDL.h>
#include <string.h>

#include <string>
#include <vector>

#include "../stdout_capture.h"
#include "os/clipboard.h"
#include "os/system.h"

TEST_CASE("the monitor list follows SDL's displays, the primary first, a refresh rate of 0 read as 60") {
    i32 count = 0;
    Monitor *first = nullptr;
    os_get_monitors(&count, &first);
    REQUIRE(count == SDL_GetNumVideoDisplays());
    REQUIRE(count >= 1);
    REQUIRE(first != nullptr);
    for (i32 i = 0; i < count; i++) {
        const Monitor &m = first[i];
        CAPTURE(i);
        CHECK((m.flags & MONITOR_PRIMARY) == (i == 0 ? MONITOR_PRIMARY : 0));
        SDL_Rect bounds;
        REQUIRE(SDL_GetDisplayBounds(i, &bounds) == 0);
        CHECK(m.rect_pos.x == bounds.x);
        CHECK(m.rect_pos.y == bounds.y);
        CHECK(m.position.x == bounds.x);
        CHECK(m.rect_size.width == bounds.w);
        CHECK(m.rect_size.height == bounds.h);
        SDL_DisplayMode mode;
        REQUIRE(SDL_GetCurrentDisplayMode(i, &mode) == 0);
        CHECK(m.resolution.width == mode.w);
        CHECK(m.resolution.height == mode.h);
        CHECK(m.refresh_rate == (mode.refresh_rate == 0 || mode.refresh_rate == 1 ? 60 : mode.refresh_rate));
        REQUIRE(m.name.data != nullptr);
        CHECK(std::string(m.name.data, m.name.len) == SDL_GetDisplayName(i));
        CHECK(m.name.data[m.name.len] == 0);
        CHECK(m.handle != nullptr);
    }
    // A second call lists the displays afresh rather than twice.
    i32 again = 0;
    os_get_monitors(&again, &first);
    CHECK(again == count);
    CHECK(os_get_default_monitor() == first);
}

static std::vector<std::pair<u32, std::string>> listed_formats;
static void note_format(u32 format, Str name) { listed_formats.push_back({format, std::string(name.data, name.len)}); }

TEST_CASE("clipboard text round trips through SDL as the Unicode and plain text formats") {
    const char *text = "Fathomer \xc3\xa9t\xc3\xa9 \xe2\x86\x93";  // "Fathomer été ↓"
    REQUIRE(os_set_clipboard_text(Str{strlen(text), text}));

    ClipboardData got = os_get_clipboard_text();
    REQUIRE(got.data != nullptr);
    CHECK(std::string(got.data, got.len) == text);
    CHECK(got.data[got.len] == 0);
    os_free_clipboard_data(&got);
    CHECK(got.data == nullptr);

    ClipboardData plain = os_get_clipboard_data(CLIPBOARD_TEXT);
    REQUIRE(plain.len == strlen(text) + 1);
    CHECK(memcmp(plain.data, text, plain.len) == 0);
    os_free_clipboard_data(&plain);

    // "é" is one UTF-16 unit, "↓" too: 14 characters and the zero one.
    ClipboardData wide = os_get_clipboard_data(CLIPBOARD_UNICODE_TEXT);
    REQUIRE(wide.len == 15 * 2);
    u16 units[15];
    memcpy(units, wide.data, sizeof units);
    CHECK(units[0] == 'F');
    CHECK(units[9] == 0xe9);
    CHECK(units[13] == 0x2193);
    CHECK(units[14] == 0);
    os_free_clipboard_data(&wide);

    listed_formats.clear();
    CHECK(os_list_clipboard_formats(note_format) == 0);
    REQUIRE(listed_formats.size() == 2);
    CHECK(listed_formats[0] == std::make_pair(13u, std::string("UNICODETEXT")));
    CHECK(listed_formats[1] == std::make_pair(1u, std::string("TEXT")));
    capture_stdout_begin();
    int printed = os_print_clipboard_formats();
    std::string log = capture_stdout_end();
    CHECK(printed != 0);
    CHECK(log == "CLIP 13 = UNICODETEXT\nCLIP 1 = TEXT\n");

    // Text ends at its first zero byte: SDL carries C strings.
    REQUIRE(os_set_clipboard_text(Str{7, "ab\0cdef"}));
    got = os_get_clipboard_text();
    CHECK(std::string(got.data, got.len) == "ab");
    os_free_clipboard_data(&got);
}

TEST_CASE("formats SDL cannot carry give the clipboard's failure results") {
    REQUIRE(os_set_clipboard_text(STR("kept")));
    CHECK(os_get_clipboard_data(CLIPBOARD_DIB).data == nullptr);
    CHECK(os_get_clipboard_data(CLIPBOARD_BITMAP).len == 0);
    CHECK(os_get_clipboard_file_name().data == nullptr);
    CHECK(os_get_clipboard_png().data == nullptr);
    CHECK(os_get_clipboard_bmp().data == nullptr);
    CHECK_FALSE(os_set_clipboard_images(STR("BM0123456789"), STR(""), STR("\x89PNG")));
    CHECK_FALSE(os_copy_window_to_clipboard(nullptr));
    // The refused operations leave the text where it was.
    ClipboardData got = os_get_clipboard_text();
    CHECK(std::string(got.data ? got.data : "", got.len) == "kept");
    os_free_clipboard_data(&got);

    // Empty text empties the clipboard's text.
    REQUIRE(os_set_clipboard_text(Str{0, nullptr}));
    got = os_get_clipboard_text();
    CHECK(got.data == nullptr);
    CHECK(got.len == 0);
}
