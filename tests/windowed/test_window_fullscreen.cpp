// Fullscreen and fitting on a real window of whichever display backend is built.
#include "os/backend.h"
#include "os/system.h"
#include "os/window_ops.h"
#include "tests/window_test_support.h"

TEST_SUITE_BEGIN("desktop");

TEST_CASE("fullscreen covers the window's monitor without a border, and leaving it restores place and size") {
    Window *w = open_test_window(640, 400, 0);
    os_move_window(w, 120, 90, 640, 400, true);
    os_pump_messages();
    const Vec2i pos = {w->window_pos.x, w->window_pos.y};
    const Size2i size = {w->window_size.width, w->window_size.height};
    Monitor *m = os_get_default_monitor();

    os_set_window_fullscreen(w, true);
    CHECK(pump_until([&] { return w->client_size.width == m->rect_size.width; }));
    CHECK((w->flags & WINDOW_FULLSCREEN) != 0);
    CHECK((w->client_pos.x == m->rect_pos.x));
    CHECK((w->client_pos.y == m->rect_pos.y));
    CHECK((w->client_size.width == m->rect_size.width));
    CHECK((w->client_size.height == m->rect_size.height));
    // Asked again: nothing changes.
    os_set_window_fullscreen(w, true);
    CHECK((w->client_size.width == m->rect_size.width));

    os_set_window_fullscreen(w, false);
    CHECK(pump_until([&] { return w->window_size.width == size.width && w->window_pos.x == pos.x; }));
    CHECK((w->flags & WINDOW_FULLSCREEN) == 0);
    CHECK((w->window_pos.x == pos.x));
    CHECK((w->window_pos.y == pos.y));
    CHECK((w->window_size.width == size.width));
    CHECK((w->window_size.height == size.height));
    CHECK((w->client_size.width == 640));
    CHECK((w->client_size.height == 400));
    close_test_window(w);
}

TEST_CASE("a window larger than the work area is fitted into it with its aspect; one that fits stays") {
    Monitor *m = os_get_default_monitor();
    Window *w = open_test_window(m->work_size.width, m->work_size.height, 0);
    os_show_window(w, true);
    os_pump_messages();
    const Size2i wanted = {m->work_size.width, m->work_size.height};
    const double aspect = (double)wanted.width / wanted.height;
    os_fit_window(w, wanted.width, wanted.height);
    os_pump_messages();
    CHECK((w->window_pos.x >= m->work_pos.x));
    CHECK((w->window_pos.y >= m->work_pos.y));
    CHECK((w->window_pos.x + w->window_size.width <= m->work_pos.x + m->work_size.width));
    CHECK((w->window_pos.y + w->window_size.height <= m->work_pos.y + m->work_size.height));
    CHECK((double)w->client_size.width / w->client_size.height == doctest::Approx(aspect).epsilon(0.01));
    const Vec2i pos = {w->window_pos.x, w->window_pos.y};
    const Size2i client = {w->client_size.width, w->client_size.height};
    os_fit_window(w, wanted.width, wanted.height);
    os_pump_messages();
    CHECK((w->window_pos.x == pos.x));
    CHECK((w->window_pos.y == pos.y));
    CHECK((w->client_size.width == client.width));
    CHECK((w->client_size.height == client.height));
    close_test_window(w);

    // A client that fits, left whole by the system, stays where it is.
    Window *small = open_test_window(320, 200, 0);
    os_show_window(small, true);
    os_move_window(small, m->work_pos.x + 40, m->work_pos.y + 50, 320, 200, true);
    os_pump_messages();
    const Vec2i at = {small->window_pos.x, small->window_pos.y};
    os_fit_window(small, 320, 200);
    os_pump_messages();
    CHECK((small->window_pos.x == at.x));
    CHECK((small->window_pos.y == at.y));
    CHECK((small->client_size.width == 320));
    close_test_window(small);
}

TEST_SUITE_END();
