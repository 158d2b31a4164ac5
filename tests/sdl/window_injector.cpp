// The injector of the shared window tests natively: events pushed onto SDL's
// queue, as SDL's own video driver would queue them.
#include <SDL.h>

#include "tests/window_test_support.h"

static Uint32 id_of(Window *window) { return SDL_GetWindowID((SDL_Window *)window->hwnd); }

static SDL_Scancode scancode_of(u32 vk) {
    if (vk >= 'A' && vk <= 'Z') return (SDL_Scancode)(SDL_SCANCODE_A + (vk - 'A'));
    switch (vk) {
    case 0x10: return SDL_SCANCODE_LSHIFT;
    case 0x12: return SDL_SCANCODE_LALT;
    case 0x0D: return SDL_SCANCODE_RETURN;
    case 0x08: return SDL_SCANCODE_BACKSPACE;
    case 0xBB: return SDL_SCANCODE_EQUALS;
    case 0xBD: return SDL_SCANCODE_MINUS;
    case 0x70: return SDL_SCANCODE_F1;
    default: return SDL_SCANCODE_UNKNOWN;
    }
}

static void push(SDL_Event *e) {
    // The timestamp the video driver would stamp.
    e->common.timestamp = SDL_GetTicks();
    REQUIRE(SDL_PushEvent(e) == 1);
}

void inject_key(Window *window, u32 vk, u8 action) {
    SDL_Event e = {};
    e.type = action == ACTION_UP ? SDL_KEYUP : SDL_KEYDOWN;
    e.key.windowID = id_of(window);
    e.key.state = action == ACTION_UP ? SDL_RELEASED : SDL_PRESSED;
    e.key.repeat = action == ACTION_REPEAT;
    e.key.keysym.scancode = scancode_of(vk);
    push(&e);
}

void inject_char(Window *window, u32 code) {
    SDL_Event e = {};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = id_of(window);
    char *t = e.text.text;
    if (code < 0x80) {
        t[0] = (char)code;
    } else if (code < 0x800) {
        t[0] = (char)(0xC0 | code >> 6);
        t[1] = (char)(0x80 | (code & 0x3F));
    } else {
        t[0] = (char)(0xE0 | code >> 12);
        t[1] = (char)(0x80 | ((code >> 6) & 0x3F));
        t[2] = (char)(0x80 | (code & 0x3F));
    }
    push(&e);
}

void inject_wheel(Window *window, i32 amount, i32 x, i32 y) {
    SDL_Event e = {};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = id_of(window);
    e.wheel.y = amount / 120;
    e.wheel.preciseY = (float)amount / 120.0f;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    e.wheel.mouseX = x;
    e.wheel.mouseY = y;
    push(&e);
}

void inject_mouse_button(Window *window, u16 button, bool down, i32 x, i32 y) {
    static const Uint8 BUTTONS[] = {SDL_BUTTON_LEFT, SDL_BUTTON_MIDDLE, SDL_BUTTON_RIGHT};
    SDL_Event e = {};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = id_of(window);
    e.button.button = BUTTONS[button - BUTTON_MOUSE_LEFT];
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    push(&e);
}

void inject_pointer_move(Window *window, i32 x, i32 y) {
    SDL_Event e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = id_of(window);
    e.motion.x = x;
    e.motion.y = y;
    push(&e);
}

static void push_window_event(Window *window, Uint8 kind) {
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id_of(window);
    e.window.event = kind;
    push(&e);
}

void inject_pointer_leave(Window *window) { push_window_event(window, SDL_WINDOWEVENT_LEAVE); }

void inject_focus(Window *window, bool gained) {
    push_window_event(window, gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
    os_pump_messages();
}

void inject_close(Window *window) { push_window_event(window, SDL_WINDOWEVENT_CLOSE); }

// SDL gives no drop point: the pointer is moved there first, as a real drag would.
void inject_drop(Window *window, const std::vector<std::string> &paths, i32 x, i32 y) {
    inject_pointer_move(window, x, y);
    SDL_Event e = {};
    e.type = SDL_DROPBEGIN;
    e.drop.windowID = id_of(window);
    push(&e);
    for (const std::string &path : paths) {
        e.type = SDL_DROPFILE;
        e.drop.file = SDL_strdup(path.c_str());
        push(&e);
    }
    e.type = SDL_DROPCOMPLETE;
    e.drop.file = nullptr;
    push(&e);
}

Vec2i injected_pointer_screen(Window *window, i32 x, i32 y) {
    return Vec2i{window->client_pos.x + x, window->client_pos.y + y};
}

// The offscreen driver has no pointer of its own.
void hold_pointer_inside(Window *window) {
    window->input_flags &= (u8)~POINTER_INSIDE;
    recorded_events.clear();
}

void test_sleep_ms(int ms) { SDL_Delay((Uint32)ms); }

bool test_window_visible(Window *window) {
    return (SDL_GetWindowFlags((SDL_Window *)window->hwnd) & SDL_WINDOW_SHOWN) != 0;
}

// Read back from the window surface that presenting draws on.
u32 test_window_pixel(Window *window, i32 x, i32 y) {
    SDL_Surface *s = SDL_GetWindowSurface((SDL_Window *)window->hwnd);
    if (!s || x < 0 || y < 0 || x >= s->w || y >= s->h) return 0xFFFFFFFF;
    Uint8 r, g, b;
    Uint32 raw = ((Uint32 *)((Uint8 *)s->pixels + y * s->pitch))[x];
    SDL_GetRGB(raw, s->format, &r, &g, &b);
    return (u32)r << 16 | (u32)g << 8 | b;
}
