#include <windows.h>

#include "os/system.h"
#include "os/window_ops.h"
#include "tests/win32/window_test_support.h"

TEST_SUITE_BEGIN("desktop");

TEST_CASE("moving and resizing: outer rectangle and wanted client area") {
    Window *w = open_test_window(320, 240, 0);
    os_move_window(w, 100, 80, 400, 300, false);
    os_pump_messages();
    CHECK(w->window_pos.x == 100);
    CHECK(w->window_pos.y == 80);
    CHECK(w->window_size.width == 400);
    CHECK(w->window_size.height == 300);
    // Resizing keeps the centre: 400 wide at x 100 to 200 wide puts it at x 200.
    os_set_window_size(w, 200, 300, false);
    os_pump_messages();
    CHECK(w->window_pos.x == 200);
    CHECK(w->window_size.width == 200);

    os_move_window(w, 300, 200, 640, 360, true);
    os_pump_messages();
    CHECK(w->client_pos.x == 300);
    CHECK(w->client_pos.y == 200);
    CHECK(w->client_size.width == 640);
    CHECK(w->client_size.height == 360);

    os_set_window_position(w, 50, 60, true);
    os_pump_messages();
    CHECK(w->client_pos.x == 50);
    CHECK(w->client_pos.y == 60);
    CHECK(w->client_size.width == 640);

    os_set_window_size(w, 320, 160, true);
    os_pump_messages();
    CHECK(w->client_size.width == 320);
    CHECK(w->client_size.height == 160);
    CHECK(w->client_pos.x == 50 + 160);
    CHECK(w->client_pos.y == 60 + 100);

    os_set_window_position(w, 10, 20, false);
    os_pump_messages();
    CHECK(w->window_pos.x == 10);
    CHECK(w->window_pos.y == 20);
    CHECK(w->client_size.width == 320);
    close_test_window(w);
}

TEST_CASE("centring puts the outer window in the middle of the first monitor") {
    Window *w = open_test_window(1280, 800, 0);
    os_center_window(w);
    os_pump_messages();
    Monitor *m = os_get_default_monitor();
    REQUIRE(m != nullptr);
    CHECK(w->window_pos.x == m->rect_size.width / 2 - w->window_size.width / 2);
    CHECK(w->window_pos.y == m->rect_size.height / 2 - w->window_size.height / 2);
    CHECK(w->client_size.width == 1280);
    CHECK(w->client_size.height == 800);
    close_test_window(w);
}

TEST_CASE("switching the border keeps the client area on the same pixels") {
    Window *w = open_test_window(320, 240, 0);
    os_move_window(w, 200, 150, 320, 240, true);
    os_pump_messages();
    Vec2i client = w->client_pos;
    Size2i size = w->client_size;
    Size2i outer = w->window_size;
    REQUIRE(outer.width > size.width);

    os_set_window_border(w, true);  // already bordered: nothing happens
    os_pump_messages();
    CHECK(w->window_size.width == outer.width);
    CHECK((w->flags & WINDOW_BORDERLESS) == 0);

    // A window manager re-frames the window on its own time: wait until the
    // client area is back in place (or two seconds have passed).
    os_set_window_border(w, false);
    pump_until([&] { return w->client_pos.x == client.x && w->client_pos.y == client.y; });
    CHECK((w->flags & WINDOW_BORDERLESS) != 0);
    CHECK((GetWindowLongW(hwnd_of(w), GWL_STYLE) & WS_CAPTION) == 0);
    CHECK(w->client_pos.x == client.x);
    CHECK(w->client_pos.y == client.y);
    CHECK(w->client_size.width == size.width);
    CHECK(w->client_size.height == size.height);
    CHECK(w->window_pos.x == client.x);
    CHECK(w->window_size.width == size.width);
    CHECK(IsWindowVisible(hwnd_of(w)));

    os_set_window_border(w, true);
    pump_until([&] { return w->client_pos.x == client.x && w->client_pos.y == client.y; });
    CHECK((w->flags & WINDOW_BORDERLESS) == 0);
    CHECK((GetWindowLongW(hwnd_of(w), GWL_STYLE) & WS_CAPTION) == WS_CAPTION);
    CHECK(w->client_pos.x == client.x);
    CHECK(w->client_pos.y == client.y);
    CHECK(w->client_size.width == size.width);
    CHECK(w->client_size.height == size.height);
    CHECK(w->window_size.width == outer.width);
    CHECK(w->window_size.height == outer.height);
    close_test_window(w);
}

TEST_CASE("a hidden window stays hidden across a border switch and shows when asked") {
    Window *w = open_test_window(200, 100, WINDOW_HIDDEN);
    CHECK_FALSE(IsWindowVisible(hwnd_of(w)));
    os_set_window_border(w, false);
    os_pump_messages();
    CHECK_FALSE(IsWindowVisible(hwnd_of(w)));
    os_show_window(w, true);
    os_pump_messages();
    CHECK(IsWindowVisible(hwnd_of(w)));
    os_set_window_border(w, true);
    os_pump_messages();
    CHECK(IsWindowVisible(hwnd_of(w)));
    os_show_window(w, false);
    CHECK_FALSE(IsWindowVisible(hwnd_of(w)));
    close_test_window(w);
}

TEST_CASE("the topmost switch") {
    Window *w = open_test_window(200, 100, 0);
    CHECK((GetWindowLongW(hwnd_of(w), GWL_EXSTYLE) & WS_EX_TOPMOST) == 0);
    os_set_window_topmost(w, true);
    CHECK((w->flags & WINDOW_TOPMOST) != 0);
    CHECK((GetWindowLongW(hwnd_of(w), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    os_set_window_topmost(w, false);
    CHECK((w->flags & WINDOW_TOPMOST) == 0);
    CHECK((GetWindowLongW(hwnd_of(w), GWL_EXSTYLE) & WS_EX_TOPMOST) == 0);
    close_test_window(w);
    Window *t = open_test_window(200, 100, WINDOW_TOPMOST | WINDOW_TOOL);
    CHECK((GetWindowLongW(hwnd_of(t), GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW)) ==
          (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    close_test_window(t);
}

TEST_CASE("popup windows are 100 x 100 at the origin whatever size is asked") {
    Window *w = open_test_window(640, 480, WINDOW_POPUP);
    CHECK(w->window_pos.x == 0);
    CHECK(w->window_pos.y == 0);
    CHECK(w->window_size.width == 100);
    CHECK(w->window_size.height == 100);
    CHECK(w->client_size.width == 100);
    close_test_window(w);
}

// The window's pixel at client (x, y) as 0xRRGGBB.
static u32 window_pixel(Window *w, int x, int y) {
    COLORREF c = GetPixel((HDC)w->hdc, x, y);
    return (u32)GetRValue(c) << 16 | (u32)GetGValue(c) << 8 | GetBValue(c);
}

TEST_CASE("a presented framebuffer is stretched over the client area") {
    Window *w = open_test_window(1280, 800, WINDOW_FRAMEBUFFER | WINDOW_TOPMOST | WINDOW_POPUP);
    os_move_window(w, 0, 0, 1280, 800, true);
    os_pump_messages();
    REQUIRE(w->framebuffer_pixels != nullptr);
    CHECK(w->framebuffer_size.width == 1280);
    CHECK(w->framebuffer_capacity == 4194304);
    // Draw a 320 x 200 picture into the larger block: four times in each direction.
    w->framebuffer_size = Size2i{320, 200};
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 320; x++) w->framebuffer_pixels[y * 320 + x] = (u32)(x * 0x000100 + y + 0x400000);
    os_present_framebuffer(w);
    GdiFlush();
    const int points[][2] = {{0, 0}, {319, 0}, {0, 199}, {160, 100}, {17, 123}, {319, 199}};
    for (const auto &p : points) {
        CAPTURE(p[0]);
        CAPTURE(p[1]);
        u32 want = w->framebuffer_pixels[p[1] * 320 + p[0]] & 0xFFFFFF;
        CHECK(window_pixel(w, p[0] * 4 + 1, p[1] * 4 + 2) == want);
        CHECK(window_pixel(w, p[0] * 4 + 3, p[1] * 4 + 3) == want);
    }
    close_test_window(w);
    CHECK(w->framebuffer_pixels == nullptr);
    CHECK((w->flags & WINDOW_FRAMEBUFFER) == 0);
}

TEST_CASE("presenting a rectangle copies only that rectangle, counted from the top") {
    Window *w = open_test_window(200, 150, WINDOW_FRAMEBUFFER | WINDOW_TOPMOST | WINDOW_POPUP);
    os_move_window(w, 0, 0, 200, 150, true);
    os_pump_messages();
    REQUIRE(w->framebuffer_size.width == 200);
    REQUIRE(w->framebuffer_size.height == 150);
    u32 *px = w->framebuffer_pixels;
    for (int i = 0; i < 200 * 150; i++) px[i] = 0x0000FF;  // blue
    os_present_framebuffer(w);
    for (int y = 0; y < 150; y++)
        for (int x = 0; x < 200; x++) px[y * 200 + x] = (u32)(0x800000 | x << 8 | y);
    os_present_framebuffer_rect(w, 10, 20, 30, 40);
    GdiFlush();
    CHECK(window_pixel(w, 10, 20) == (0x800000u | 10 << 8 | 20));
    CHECK(window_pixel(w, 39, 59) == (0x800000u | 39 << 8 | 59));
    CHECK(window_pixel(w, 25, 33) == (0x800000u | 25 << 8 | 33));
    CHECK(window_pixel(w, 9, 20) == 0x0000FF);
    CHECK(window_pixel(w, 40, 20) == 0x0000FF);
    CHECK(window_pixel(w, 10, 19) == 0x0000FF);
    CHECK(window_pixel(w, 10, 60) == 0x0000FF);
    CHECK(window_pixel(w, 150, 120) == 0x0000FF);
    close_test_window(w);
}

TEST_CASE("the framebuffer follows the client size and only grows") {
    Window *w = open_test_window(100, 100, WINDOW_FRAMEBUFFER | WINDOW_POPUP);
    CHECK(w->framebuffer_capacity == 65536);
    os_move_window(w, 0, 0, 300, 200, true);
    os_pump_messages();
    CHECK(w->framebuffer_size.width == 300);
    CHECK(w->framebuffer_size.height == 200);
    CHECK(w->framebuffer_capacity == 262144);
    os_move_window(w, 0, 0, 0, 0, true);
    os_pump_messages();
    CHECK(w->framebuffer_size.width == 0);
    CHECK(w->framebuffer_capacity == 262144);
    os_destroy_framebuffer(w);
    CHECK(w->framebuffer_capacity == 0);
    CHECK((w->flags & WINDOW_FRAMEBUFFER) == 0);
    os_present_framebuffer(w);  // nothing to present: ignored
    close_test_window(w);
}

TEST_CASE("cursor shapes come from the table - empty entries hide it and large indices are ignored") {
    Window *w = open_test_window(200, 100, 0);
    os_set_cursor(CURSOR_ARROW);
    CHECK(GetCursor() == LoadCursorW(nullptr, IDC_ARROW));
    os_set_cursor(CURSOR_SIZE_NESW);
    CHECK(GetCursor() == LoadCursorW(nullptr, IDC_SIZENESW));
    os_set_cursor(200);  // beyond the capacity: unchanged
    CHECK(GetCursor() == LoadCursorW(nullptr, IDC_SIZENESW));
    os_set_cursor(13);  // not loaded yet: hidden
    CHECK(GetCursor() == nullptr);
    os_set_cursor(CURSOR_NONE);
    CHECK(GetCursor() == nullptr);
    CHECK(os_load_cursor(STR("C:/no/such/cursor.cur")) == 0);
    CHECK(os_load_cursor(Str{0, nullptr}) == 0);
    close_test_window(w);
}

TEST_SUITE_END();
