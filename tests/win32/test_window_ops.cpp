#include <windows.h>

#include "os/system.h"
#include "os/window_ops.h"
#include "tests/win32/window_test_support.h"

TEST_SUITE_BEGIN("desktop");

TEST_CASE("switching the border keeps the client area on the same pixels") {
    Window *w = open_test_window(320, 240, 0);
    os_move_window(w, 200, 150, 320, 240, true);
    pump_until([&] { return w->client_size.width == 320 && w->client_size.height == 240; });
    Vec2i client = w->client_pos;
    Size2i size = w->client_size;
    Size2i outer = w->window_size;
    REQUIRE(outer.width > size.width);

    os_set_window_border(w, true);  // already bordered: nothing happens
    os_pump_messages();
    CHECK(w->window_size.width == outer.width);
    CHECK((w->flags & WINDOW_BORDERLESS) == 0);

    // A window manager re-frames the window on its own time, moving and
    // sizing it in separate steps: wait until the client area is back in place
    // and at its size (or two seconds have passed).
    auto client_back = [&] {
        return w->client_pos.x == client.x && w->client_pos.y == client.y && w->client_size.width == size.width &&
               w->client_size.height == size.height;
    };
    os_set_window_border(w, false);
    pump_until(client_back);
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
    pump_until(client_back);
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
