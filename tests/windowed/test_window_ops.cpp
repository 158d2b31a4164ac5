// Window operations on a real window of whichever display backend is built.
#include "os/backend.h"
#include "os/system.h"
#include "os/window_ops.h"
#include "tests/window_test_support.h"

TEST_SUITE_BEGIN("desktop");

TEST_CASE("moving and resizing: outer rectangle and wanted client area") {
    Window *w = open_test_window(320, 240, 0);
    os_move_window(w, 100, 80, 400, 300, false);
    CHECK((w->window_pos.x == 100));
    CHECK((w->window_pos.y == 80));
    CHECK((w->window_size.width == 400));
    CHECK((w->window_size.height == 300));
    os_pump_messages();
    CHECK(!events_of_kind(EVENT_MOVED).empty());
    CHECK(!events_of_kind(EVENT_RESIZED).empty());
    // Resizing keeps the centre: 400 wide at x 100 to 200 wide puts it at x 200.
    os_set_window_size(w, 200, 300, false);
    CHECK((w->window_pos.x == 200));
    CHECK((w->window_size.width == 200));

    os_move_window(w, 300, 200, 640, 360, true);
    CHECK((w->client_pos.x == 300));
    CHECK((w->client_pos.y == 200));
    CHECK((w->client_size.width == 640));
    CHECK((w->client_size.height == 360));
    os_set_window_position(w, 50, 60, true);
    CHECK((w->client_pos.x == 50));
    CHECK((w->client_size.width == 640));
    os_set_window_size(w, 320, 160, true);
    CHECK((w->client_pos.x == 50 + 160));
    CHECK((w->client_pos.y == 60 + 100));
    os_set_window_position(w, 10, 20, false);
    CHECK((w->window_pos.x == 10));
    CHECK((w->window_pos.y == 20));
    CHECK((w->client_size.width == 320));
    close_test_window(w);
}

TEST_CASE("centring puts the outer window in the middle of the first monitor") {
    Window *w = open_test_window(1280, 800, 0);
    os_center_window(w);
    Monitor *m = os_get_default_monitor();
    REQUIRE(m != nullptr);
    CHECK((w->window_pos.x == m->rect_size.width / 2 - w->window_size.width / 2));
    CHECK((w->window_pos.y == m->rect_size.height / 2 - w->window_size.height / 2));
    CHECK((w->client_size.width == 1280));
    close_test_window(w);
}

TEST_CASE("a presented framebuffer is stretched over the client area") {
    Window *w = open_test_window(1280, 800, WINDOW_FRAMEBUFFER | WINDOW_POPUP | WINDOW_TOPMOST);
    os_move_window(w, 0, 0, 1280, 800, true);
    REQUIRE((w->framebuffer_pixels != nullptr));
    CHECK((w->framebuffer_size.width == 1280));
    CHECK((w->framebuffer_capacity == 4194304));
    // Draw a 320 x 200 picture into the larger block: four times in each direction.
    w->framebuffer_size = Size2i{320, 200};
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 320; x++) w->framebuffer_pixels[y * 320 + x] = (u32)(x * 0x000100 + y + 0x400000);
    os_present_framebuffer(w);
    const int points[][2] = {{0, 0}, {319, 0}, {0, 199}, {160, 100}, {17, 123}, {319, 199}};
    for (const auto &p : points) {
        CAPTURE(p[0]);
        CAPTURE(p[1]);
        u32 want = w->framebuffer_pixels[p[1] * 320 + p[0]] & 0xFFFFFF;
        CHECK(test_window_pixel(w, p[0] * 4 + 1, p[1] * 4 + 2) == want);
        CHECK(test_window_pixel(w, p[0] * 4 + 3, p[1] * 4 + 3) == want);
    }
    close_test_window(w);
    CHECK((w->framebuffer_pixels == nullptr));
    CHECK(((w->flags & WINDOW_FRAMEBUFFER) == 0));
}

TEST_CASE("presenting a rectangle copies only that rectangle, counted from the top") {
    Window *w = open_test_window(200, 150, WINDOW_FRAMEBUFFER | WINDOW_POPUP | WINDOW_TOPMOST);
    os_move_window(w, 0, 0, 200, 150, true);
    REQUIRE((w->framebuffer_size.width == 200));
    u32 *px = w->framebuffer_pixels;
    for (int i = 0; i < 200 * 150; i++) px[i] = 0x0000FF;  // blue
    os_present_framebuffer(w);
    for (int y = 0; y < 150; y++)
        for (int x = 0; x < 200; x++) px[y * 200 + x] = (u32)(0x800000 | x << 8 | y);
    os_present_framebuffer_rect(w, 10, 20, 30, 40);
    CHECK(test_window_pixel(w, 10, 20) == (0x800000u | 10 << 8 | 20));
    CHECK(test_window_pixel(w, 39, 59) == (0x800000u | 39 << 8 | 59));
    CHECK(test_window_pixel(w, 9, 20) == 0x0000FF);
    CHECK(test_window_pixel(w, 40, 20) == 0x0000FF);
    CHECK(test_window_pixel(w, 10, 19) == 0x0000FF);
    CHECK(test_window_pixel(w, 10, 60) == 0x0000FF);
    // A rectangle reaching past the edges is clipped, not read past the pixels.
    os_present_framebuffer_rect(w, 190, 140, 500, 500);
    CHECK(test_window_pixel(w, 199, 149) == (0x800000u | 199 << 8 | 149));
    close_test_window(w);
}

TEST_CASE("the framebuffer follows the client size and only grows") {
    Window *w = open_test_window(100, 100, WINDOW_FRAMEBUFFER | WINDOW_POPUP);
    CHECK((w->framebuffer_capacity == 65536));
    os_move_window(w, 0, 0, 300, 200, true);
    CHECK((w->framebuffer_size.width == 300));
    CHECK((w->framebuffer_capacity == 262144));
    os_move_window(w, 0, 0, 10, 10, true);
    CHECK((w->framebuffer_size.width == 10));
    CHECK((w->framebuffer_capacity == 262144));
    // As small as the system makes it (SDL keeps one pixel): the memory stays.
    os_move_window(w, 0, 0, 0, 0, true);
    CHECK((w->framebuffer_size.width == w->client_size.width));
    CHECK((w->framebuffer_size.width <= 1));
    CHECK((w->framebuffer_capacity == 262144));
    os_destroy_framebuffer(w);
    CHECK((w->framebuffer_capacity == 0));
    os_present_framebuffer(w);  // nothing to present: ignored
    close_test_window(w);
}

TEST_SUITE_END();
