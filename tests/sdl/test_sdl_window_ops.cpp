#include <SDL.h>
#include <string.h>

#include "os/backend.h"
#include "os/input.h"
#include "os/system.h"
#include "os/window_ops.h"
#include "tests/window_test_support.h"

static SDL_Window *sdl_of(Window *w) { return (SDL_Window *)w->hwnd; }

TEST_CASE("moving and resizing: outer rectangle and wanted client area, each reported once") {
    Window *w = open_test_window(320, 240, 0);
    os_move_window(w, 100, 80, 400, 300, false);
    CHECK((w->window_pos.x == 100));
    CHECK((w->window_pos.y == 80));
    CHECK((w->window_size.width == 400));
    CHECK((w->window_size.height == 300));
    os_pump_messages();
    // SDL reports the size once more through its queue; it is no change.
    CHECK(events_of_kind(EVENT_MOVED).size() == 1);
    CHECK(events_of_kind(EVENT_RESIZED).size() == 1);
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
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(sdl_of(w), &x, &y);
    SDL_GetWindowSize(sdl_of(w), &width, &height);
    CHECK(x == 210);
    CHECK(y == 160);
    CHECK(width == 320);
    CHECK(height == 160);
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

// The offscreen driver draws no frame and keeps no stacking order, so the
// border and topmost switches show in the record's flags and the client area.
TEST_CASE("border, topmost, visibility and popup reach the SDL window") {
    Window *w = open_test_window(320, 240, WINDOW_HIDDEN);
    CHECK((SDL_GetWindowFlags(sdl_of(w)) & SDL_WINDOW_HIDDEN) != 0);
    CHECK((SDL_GetWindowFlags(sdl_of(w)) & SDL_WINDOW_RESIZABLE) != 0);
    os_show_window(w, true);
    CHECK((SDL_GetWindowFlags(sdl_of(w)) & SDL_WINDOW_SHOWN) != 0);
    os_move_window(w, 200, 150, 320, 240, true);
    os_set_window_border(w, true);  // already bordered: nothing happens
    CHECK(((w->flags & WINDOW_BORDERLESS) == 0));
    os_set_window_border(w, false);
    CHECK(((w->flags & WINDOW_BORDERLESS) != 0));
    CHECK((w->client_pos.x == 200));
    CHECK((w->client_pos.y == 150));
    CHECK((w->client_size.width == 320));
    os_set_window_border(w, true);
    CHECK((w->client_pos.x == 200));
    os_set_window_topmost(w, true);
    CHECK(((w->flags & WINDOW_TOPMOST) != 0));
    os_set_window_topmost(w, false);
    os_show_window(w, false);
    CHECK((SDL_GetWindowFlags(sdl_of(w)) & SDL_WINDOW_HIDDEN) != 0);
    close_test_window(w);

    Window *p = open_test_window(640, 480, WINDOW_POPUP | WINDOW_FIXED_SIZE);
    CHECK((p->window_pos.x == 0));
    CHECK((p->window_pos.y == 0));
    CHECK((p->window_size.width == 100));
    CHECK((p->client_size.height == 100));
    CHECK((SDL_GetWindowFlags(sdl_of(p)) & SDL_WINDOW_BORDERLESS) != 0);
    CHECK((SDL_GetWindowFlags(sdl_of(p)) & SDL_WINDOW_RESIZABLE) == 0);
    close_test_window(p);
}

// The window's pixel at client (x, y) as 0xRRGGBB, read back from SDL's surface.
static u32 window_pixel(Window *w, int x, int y) {
    SDL_Surface *s = SDL_GetWindowSurface(sdl_of(w));
    REQUIRE(s != nullptr);
    Uint8 r, g, b;
    Uint32 raw = ((Uint32 *)((Uint8 *)s->pixels + y * s->pitch))[x];
    SDL_GetRGB(raw, s->format, &r, &g, &b);
    return (u32)r << 16 | (u32)g << 8 | b;
}

TEST_CASE("a presented framebuffer is stretched over the client area") {
    Window *w = open_test_window(1280, 800, WINDOW_FRAMEBUFFER | WINDOW_POPUP);
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
        CHECK(window_pixel(w, p[0] * 4 + 1, p[1] * 4 + 2) == want);
        CHECK(window_pixel(w, p[0] * 4 + 3, p[1] * 4 + 3) == want);
    }
    close_test_window(w);
    CHECK((w->framebuffer_pixels == nullptr));
    CHECK(((w->flags & WINDOW_FRAMEBUFFER) == 0));
}

TEST_CASE("presenting a rectangle copies only that rectangle, counted from the top") {
    Window *w = open_test_window(200, 150, WINDOW_FRAMEBUFFER | WINDOW_POPUP);
    os_move_window(w, 0, 0, 200, 150, true);
    REQUIRE((w->framebuffer_size.width == 200));
    u32 *px = w->framebuffer_pixels;
    for (int i = 0; i < 200 * 150; i++) px[i] = 0x0000FF;  // blue
    os_present_framebuffer(w);
    for (int y = 0; y < 150; y++)
        for (int x = 0; x < 200; x++) px[y * 200 + x] = (u32)(0x800000 | x << 8 | y);
    os_present_framebuffer_rect(w, 10, 20, 30, 40);
    CHECK(window_pixel(w, 10, 20) == (0x800000u | 10 << 8 | 20));
    CHECK(window_pixel(w, 39, 59) == (0x800000u | 39 << 8 | 59));
    CHECK(window_pixel(w, 9, 20) == 0x0000FF);
    CHECK(window_pixel(w, 40, 20) == 0x0000FF);
    CHECK(window_pixel(w, 10, 19) == 0x0000FF);
    CHECK(window_pixel(w, 10, 60) == 0x0000FF);
    // A rectangle reaching past the edges is clipped, not read past the pixels.
    os_present_framebuffer_rect(w, 190, 140, 500, 500);
    CHECK(window_pixel(w, 199, 149) == (0x800000u | 199 << 8 | 149));
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
    os_destroy_framebuffer(w);
    CHECK((w->framebuffer_capacity == 0));
    os_present_framebuffer(w);  // nothing to present: ignored
    close_test_window(w);
}

TEST_CASE("the cursor table: system entries from SDL where its driver has cursors - indices past it ignored") {
    Window *w = open_test_window(64, 64, 0);
    cursor_table_ensure();
    REQUIRE(cursor_table.handles != nullptr);
    CHECK(cursor_table.count == CURSOR_SYSTEM_COUNT);
    CHECK(cursor_table.handles[CURSOR_NONE] == nullptr);
    bool driver_has_cursors = SDL_GetDefaultCursor() != nullptr;
    // The X11 driver has cursors; the offscreen one has none.
    if (strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) CHECK(driver_has_cursors);
    for (u8 i = 1; i < CURSOR_SYSTEM_COUNT; i++) CHECK((cursor_table.handles[i] != nullptr) == driver_has_cursors);
    os_set_cursor(200);  // beyond the capacity: nothing
    CHECK(os_load_cursor(STR("/no/such/cursor.cur")) == 0);
    CHECK(os_load_cursor(Str{0, nullptr}) == 0);
    if (driver_has_cursors) {
        os_set_cursor(CURSOR_SIZE_NESW);
        CHECK(SDL_GetCursor() == (SDL_Cursor *)cursor_table.handles[CURSOR_SIZE_NESW]);
        os_set_cursor(13);  // not loaded: a blank cursor, not the old shape
        CHECK(SDL_GetCursor() != (SDL_Cursor *)cursor_table.handles[CURSOR_SIZE_NESW]);
        os_set_cursor(CURSOR_ARROW);
        CHECK(SDL_GetCursor() == (SDL_Cursor *)cursor_table.handles[CURSOR_ARROW]);
    }
    close_test_window(w);
}

TEST_CASE("keys and text that name no window go to the focused one") {
    Window *w = open_test_window(64, 64, 0);
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = SDL_SCANCODE_X;
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_TEXTINPUT;
    e.text.text[0] = 'x';
    SDL_PushEvent(&e);
    os_pump_messages();
    std::vector<WindowEvent> keys = events_of_kind(EVENT_KEY);
    REQUIRE(keys.size() == 1);
    CHECK(keys[0].key.key == 'X');
    CHECK(keys[0].window == w);
    REQUIRE(events_of_kind(EVENT_TEXT).size() == 1);
    CHECK(events_of_kind(EVENT_TEXT)[0].window == w);
    close_test_window(w);
}

static Window *focused_window(void) {
    Window *w = open_test_window(320, 240, 0);
    os_focus_window(w);
    os_pump_messages();
    recorded_events.clear();
    return w;
}

TEST_CASE("typed text arrives as the layout's key sequence with its text") {
    Window *w = focused_window();
    os_type_text("Hi!^a\n");
    os_pump_messages();
    std::vector<WindowEvent> keys = events_of_kind(EVENT_KEY);
    // Shift, H, H, Shift, I, I, Shift, 1, 1, OEM_1, OEM_1, Space, Space, Shift, A, A, Return, Return.
    const u16 vk[] = {0x10, 'H', 'H', 0x10, 'I', 'I', 0x10, '1', '1', 0xBA, 0xBA, 0x20, 0x20, 0x10, 'A', 'A', 0x0D, 0x0D};
    const u8 up[] = {0, 0, 1, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1};
    REQUIRE(keys.size() == COUNT_OF(vk));
    for (size_t i = 0; i < COUNT_OF(vk); i++) {
        CAPTURE(i);
        CHECK(keys[i].key.key == vk[i]);
        CHECK(keys[i].key.action == (up[i] ? ACTION_UP : ACTION_DOWN));
        CHECK(keys[i].window == w);
    }
    std::vector<WindowEvent> text = events_of_kind(EVENT_TEXT);
    REQUIRE(text.size() == 6);
    const u32 codes[] = {'H', 'i', '!', '^', 'a', 10};
    for (int i = 0; i < 6; i++) CHECK(text[i].text.code == codes[i]);
    close_test_window(w);
}

TEST_CASE("single keys: listed keys are sent, others such as F1 are not - a second down repeats") {
    Window *w = focused_window();
    os_send_key(0x70, true);  // F1
    os_send_key(0x70, false);
    os_send_key('Q', true);
    os_send_key('Q', true);
    os_send_key('Q', false);
    os_pump_messages();
    std::vector<WindowEvent> keys = events_of_kind(EVENT_KEY);
    REQUIRE(keys.size() == 3);
    CHECK(keys[0].key.key == 'Q');
    CHECK(keys[0].key.action == ACTION_DOWN);
    CHECK(keys[1].key.action == ACTION_REPEAT);
    CHECK(keys[2].key.action == ACTION_UP);
    close_test_window(w);
}

TEST_CASE("synthetic mouse moves reach the window under the point") {
    Monitor *m = os_get_default_monitor();
    REQUIRE(m != nullptr);
    Window *w = focused_window();
    // Over the middle of the first monitor, then 5 pixels right and 3 up.
    Vec2i middle = {m->rect_pos.x + m->rect_size.width / 2, m->rect_pos.y + m->rect_size.height / 2};
    os_move_window(w, middle.x - 50, middle.y - 50, 100, 100, true);
    recorded_events.clear();
    os_send_mouse_position(32768, 32768);
    os_send_mouse_move(5, -3);
    os_pump_messages();
    std::vector<WindowEvent> p = events_of_kind(EVENT_POINTER);
    REQUIRE(p.size() == 2);
    CHECK(p[0].pointer.position.x == middle.x);
    CHECK(p[0].pointer.position.y == middle.y);
    CHECK(p[0].pointer.pointer_flags == 1);
    CHECK(p[1].pointer.position.x == middle.x + 5);
    CHECK(p[1].pointer.position.y == middle.y - 3);
    // Outside every window of the program: nothing arrives.
    os_send_mouse_position(0, 0);
    os_pump_messages();
    CHECK(events_of_kind(EVENT_POINTER).size() == 2);
    CHECK_FALSE(os_is_mouse_button_down(999));
    close_test_window(w);
}

TEST_CASE("SDL_QUIT, as SIGINT and SIGTERM arrive, closes every window") {
    Window *a = open_test_window(64, 64, 0);
    Window *b = open_test_window(64, 64, WINDOW_OPENGL);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    os_pump_messages();
    CHECK(events_of_kind(EVENT_CLOSED).size() == 2);
    CHECK(((a->flags & WINDOW_OPEN) == 0));
    CHECK(((b->flags & WINDOW_OPEN) == 0));
    CHECK(window_count() == 0);
}
