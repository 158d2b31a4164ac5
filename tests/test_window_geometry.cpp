#include <doctest/doctest.h>

#include "os/double_click.h"
#include "os/memory.h"
#include "os/window_ops.h"

// A bordered window: 8-pixel frame, 31-pixel caption.
static Window framed(i32 x, i32 y, i32 client_w, i32 client_h) {
    Window w = {};
    w.flags = WINDOW_OPEN;
    w.window_pos = Vec2i{x, y};
    w.client_pos = Vec2i{x + 8, y + 31};
    w.client_size = Size2i{client_w, client_h};
    w.window_size = Size2i{client_w + 16, client_h + 39};
    return w;
}

TEST_CASE("framebuffer capacity is the smallest power of two that holds the pixels") {
    CHECK(os_framebuffer_capacity_for(0, 0) == 1);
    CHECK(os_framebuffer_capacity_for(0, 100) == 1);
    CHECK(os_framebuffer_capacity_for(-3, 10) == 1);
    CHECK(os_framebuffer_capacity_for(1, 1) == 4);
    CHECK(os_framebuffer_capacity_for(3, 1) == 16);
    CHECK(os_framebuffer_capacity_for(320, 200) == 262144);
    CHECK(os_framebuffer_capacity_for(1280, 800) == 4194304);
    CHECK(os_framebuffer_capacity_for(1024, 1024) == 4194304);
    CHECK(os_framebuffer_capacity_for(1025, 1024) == 8388608);
}

TEST_CASE("resizing about the centre") {
    Window w = framed(100, 50, 384, 300);  // outer 400 wide
    Rect32 r = os_resized_about_centre(&w, 200, 339, false);
    CHECK(r.x == 200);
    CHECK(r.y == 50);
    CHECK(r.width == 200);
    // Growing by an odd amount truncates toward zero.
    r = os_resized_about_centre(&w, 403, 339, false);
    CHECK(r.x == 99);
    // With client set the client area keeps its centre and the frame is added around it.
    r = os_resized_about_centre(&w, 184, 100, true);
    CHECK(r.x == 200);
    CHECK(r.y == 150);
    CHECK(r.width == 200);
    CHECK(r.height == 139);
}

TEST_CASE("a wanted client rectangle becomes the outer rectangle") {
    Window w = framed(10, 20, 640, 480);
    Rect32 r = os_outer_rect_for_client(&w, Rect32{100, 100, 320, 200});
    CHECK(r.x == 92);
    CHECK(r.y == 69);
    CHECK(r.width == 336);
    CHECK(r.height == 239);
}

TEST_CASE("centring halves the monitor and the window separately") {
    Vec2i at = os_centred_position(Size2i{1920, 1080}, Size2i{1296, 839});
    CHECK(at.x == 960 - 648);
    CHECK(at.y == 540 - 419);
    at = os_centred_position(Size2i{1921, 1081}, Size2i{3001, 1});
    CHECK(at.x == 960 - 1500);
    CHECK(at.y == 540);
}

TEST_CASE("the cursor table: 13 system entries, then loads from 13, doubling at 32") {
    CursorTable t = {};
    CHECK(cursor_table_add(&t, (void *)1) == 0);  // no table yet
    REQUIRE(cursor_table_create(&t));
    CHECK(t.count == 13);
    CHECK(t.capacity == 32);
    for (int i = 0; i < 32; i++) CHECK(t.handles[i] == nullptr);
    CHECK(cursor_table_add(&t, (void *)0x100) == 13);
    CHECK(cursor_table_add(&t, (void *)0x101) == 14);
    for (int i = 2; i < 19; i++) cursor_table_add(&t, (void *)0x100);
    CHECK(t.capacity == 32);
    CHECK(cursor_table_add(&t, (void *)0x120) == 32);  // the 20th load
    CHECK(t.capacity == 64);
    CHECK(t.handles[32] == (void *)0x120);
    CHECK(t.handles[63] == nullptr);
    CHECK(t.handles[13] == (void *)0x100);
    // Past 128 the byte-sized capacity stops at 255 and the 255th entry is refused.
    while (t.count < 129) cursor_table_add(&t, (void *)0x200);
    CHECK(t.capacity == 255);
    while (t.count < 255) CHECK(cursor_table_add(&t, (void *)0x300) != 0);
    CHECK(t.handles[254] == (void *)0x300);
    CHECK(cursor_table_add(&t, (void *)0x400) == 0);
    CHECK(t.count == 255);
    os_free(t.handles);
}

TEST_CASE("double clicks: time and rectangle, and a third press starts afresh") {
    DoubleClickRecord last = {};
    CHECK_FALSE(double_click_test(&last, 50, 50, 10000, 500, 4, 4));
    CHECK(double_click_test(&last, 52, 48, 10499, 500, 4, 4));
    CHECK_FALSE(last.has_last);
    CHECK_FALSE(double_click_test(&last, 52, 48, 10600, 500, 4, 4));
    CHECK(last.time == 10600);
    // Too late, then too far away.
    CHECK_FALSE(double_click_test(&last, 52, 48, 11100, 500, 4, 4));
    CHECK_FALSE(double_click_test(&last, 56, 48, 11200, 500, 4, 4));
    CHECK(last.x == 56);
    CHECK_FALSE(double_click_test(&last, 56, 44, 11300, 500, 4, 4));
    CHECK(double_click_test(&last, 56, 45, 11400, 500, 4, 4));
}

TEST_CASE("double clicks at every clock value: 0 is a time like any other") {
    // A clock that starts with the program reads 0 for its first millisecond.
    DoubleClickRecord first = {};
    CHECK_FALSE(double_click_test(&first, 0, 0, 0, 500, 4, 4));
    CHECK(double_click_test(&first, 0, 0, 100, 500, 4, 4));
    // After a double click near the start, a third press must not pair with it.
    CHECK_FALSE(double_click_test(&first, 0, 0, 200, 500, 4, 4));
    // A fresh record has no press to pair with, whatever the time.
    DoubleClickRecord fresh = {};
    CHECK_FALSE(double_click_test(&fresh, 0, 0, 5, 500, 4, 4));
    // Across the 32-bit wrap, in both places the wrap can fall.
    DoubleClickRecord wrap = {};
    CHECK_FALSE(double_click_test(&wrap, 9, 9, 0xFFFFFF00u, 500, 4, 4));
    CHECK(double_click_test(&wrap, 9, 9, 0x00000010u, 500, 4, 4));
    CHECK_FALSE(double_click_test(&wrap, 9, 9, 0xFFFFFFFFu, 500, 4, 4));
    CHECK(double_click_test(&wrap, 9, 9, 0u, 500, 4, 4));
    // Too late across the wrap.
    CHECK_FALSE(double_click_test(&wrap, 9, 9, 0xFFFFFE00u, 500, 4, 4));
    CHECK_FALSE(double_click_test(&wrap, 9, 9, 0x00000100u, 500, 4, 4));
}
