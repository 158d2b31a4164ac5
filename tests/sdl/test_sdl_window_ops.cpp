#include <SDL.h>
#include <string.h>

#include "os/backend.h"
#include "os/input.h"
#include "os/system.h"
#include "os/window_ops.h"
#include "tests/window_test_support.h"

static SDL_Window *sdl_of(Window *w) { return (SDL_Window *)w->hwnd; }

TEST_CASE("a move and a resize are reported once although SDL queues the size again") {
    Window *w = open_test_window(320, 240, 0);
    os_move_window(w, 100, 80, 400, 300, false);
    os_pump_messages();
    CHECK(events_of_kind(EVENT_MOVED).size() == 1);
    CHECK(events_of_kind(EVENT_RESIZED).size() == 1);
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(sdl_of(w), &x, &y);
    SDL_GetWindowSize(sdl_of(w), &width, &height);
    CHECK(x == 100);
    CHECK(y == 80);
    CHECK(width == 400);
    CHECK(height == 300);
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

TEST_CASE("SDL text and wheels: pairs beyond the BMP, broken UTF-8, flipped and sideways wheels") {
    Window *w = open_test_window(64, 64, 0);
    Uint32 id = SDL_GetWindowID(sdl_of(w));
    SDL_Event e = {};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = id;
    strcpy(e.text.text, "\xf0\x9f\x90\x9f" "\xe2\x82" "a");  // U+1F41F, a cut sequence, 'a'
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = id;
    e.wheel.y = 1;
    e.wheel.preciseY = 1.0f;
    e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;  // the system reports it turned: it goes down
    SDL_PushEvent(&e);
    e.wheel.y = 0;
    e.wheel.preciseY = 0.0f;
    e.wheel.x = 1;
    e.wheel.preciseX = 1.0f;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;  // sideways only: no step
    SDL_PushEvent(&e);
    os_pump_messages();
    std::vector<WindowEvent> text = events_of_kind(EVENT_TEXT);
    REQUIRE(text.size() == 4);
    CHECK(text[0].text.code == 0xD83D);
    CHECK(text[1].text.code == 0xDC1F);
    CHECK(text[2].text.code == 0xFFFD);
    CHECK(text[3].text.code == 'a');
    std::vector<WindowEvent> wheel = events_of_kind(EVENT_WHEEL);
    REQUIRE(wheel.size() == 1);
    CHECK(wheel[0].wheel.delta == -1);
    close_test_window(w);
}

// SDL's clock starts again at 0 with SDL_Init, so a press in the first
// millisecond carries the stamp 0; SDL_PeepEvents keeps the stamp given.
static void press_at(Window *w, Uint32 stamp, i32 x) {
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event e = {};
        e.type = type;
        e.button.timestamp = stamp;
        e.button.windowID = SDL_GetWindowID(sdl_of(w));
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = x;
        e.button.y = 30;
        REQUIRE(SDL_PeepEvents(&e, 1, SDL_ADDEVENT, 0, 0) == 1);
    }
}

TEST_CASE("double clicks from SDL's stamps: a first press at 0 and presses across the wrap pair") {
    Window *w = open_test_window(320, 240, 0);
    press_at(w, 0, 40);
    press_at(w, 100, 40);
    press_at(w, 0xFFFFFF00u, 40);
    press_at(w, 0x10u, 40);
    press_at(w, 0x20u, 40);  // a third quick press starts afresh
    os_pump_messages();
    std::vector<WindowEvent> b = events_of_kind(EVENT_MOUSE_BUTTON);
    REQUIRE(b.size() == 10);
    const u8 doubles[] = {0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    for (int i = 0; i < 10; i++) {
        CAPTURE(i);
        CHECK(b[i].mouse_button.double_click == doubles[i]);
    }
    close_test_window(w);
}
