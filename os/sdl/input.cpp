// Pointer queries and synthetic input over SDL.  SDL cannot inject into the
// system, so synthetic keys, typing and mouse moves are pushed onto SDL's event
// queue and reach the program's own windows at the next pump.
#include "os/backend.h"
#include "os/sdl/sdl_shared.h"

Vec2i backend_cursor_position(void) {
    int x = 0, y = 0;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_GetGlobalMouseState(&x, &y);
    return Vec2i{x, y};
}

bool backend_mouse_button_down(u16 button) {
    static const Uint32 MASKS[] = {SDL_BUTTON_LMASK, SDL_BUTTON_MMASK, SDL_BUTTON_RMASK};
    Uint32 mask = MASKS[button - BUTTON_MOUSE_LEFT];
    return SDL_WasInit(SDL_INIT_VIDEO) && (SDL_GetGlobalMouseState(nullptr, nullptr) & mask) != 0;
}

// Keys this program holds down, so that a second down is a repeat as the
// system's own key state would make it.
static bool keys_down[256];

static void push_key(Window *target, u16 vk, bool up) {
    SDL_Scancode scancode = sdl_scancode_from_vk(vk);
    if (!target || scancode == SDL_SCANCODE_UNKNOWN) return;
    SDL_Event e = {};
    e.type = up ? SDL_KEYUP : SDL_KEYDOWN;
    e.key.timestamp = SDL_GetTicks();
    e.key.windowID = SDL_GetWindowID(sdl_window_of(target));
    e.key.state = up ? SDL_RELEASED : SDL_PRESSED;
    e.key.repeat = !up && keys_down[vk];
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    keys_down[vk] = !up;
    SDL_PushEvent(&e);
}

static void push_text(Window *target, char c) {
    SDL_Event e = {};
    e.type = SDL_TEXTINPUT;
    e.text.timestamp = SDL_GetTicks();
    e.text.windowID = SDL_GetWindowID(sdl_window_of(target));
    e.text.text[0] = c;
    SDL_PushEvent(&e);
}

void backend_send_key(KeyStroke stroke) { push_key(sdl_keyboard_window(), stroke.vk, stroke.up); }

// Typing follows the shared key plan; SDL makes no text of pushed keys, so
// each printable character's text follows the down of its key.  Control
// characters (tab, line feed) come from their keys in the pump.
struct Typing {
    Window *target;
    TypedText text;
};

static void type_stroke(KeyStroke stroke, void *user) {
    Typing *typing = (Typing *)user;
    push_key(typing->target, stroke.vk, stroke.up);
    u8 c = typed_text_after(&typing->text, stroke);
    if (c >= 32) push_text(typing->target, (char)c);
}

void backend_type_text(const char *text) {
    Typing typing = {sdl_keyboard_window(), {text, false}};
    if (typing.target) type_text_strokes(text, type_stroke, &typing);
}

// The program's open window whose client area holds a screen point.
static Window *window_at_point(Vec2i p) {
    for (u32 i = window_count(); i > 0; i--) {
        Window *w = window_at(i - 1);
        if (window_is_open(w) && p.x >= w->client_pos.x && p.y >= w->client_pos.y &&
            p.x < w->client_pos.x + w->client_size.width && p.y < w->client_pos.y + w->client_size.height)
            return w;
    }
    return nullptr;
}

static void push_pointer(Vec2i to) {
    Vec2i from = sdl_pointer;
    sdl_pointer = to;
    Window *target = window_at_point(to);
    if (!target) return;
    SDL_Event e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.timestamp = SDL_GetTicks();
    e.motion.windowID = SDL_GetWindowID(sdl_window_of(target));
    e.motion.x = to.x - target->client_pos.x;
    e.motion.y = to.y - target->client_pos.y;
    e.motion.xrel = to.x - from.x;
    e.motion.yrel = to.y - from.y;
    SDL_PushEvent(&e);
}

void backend_send_mouse_move(i32 dx, i32 dy) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) push_pointer(Vec2i{sdl_pointer.x + dx, sdl_pointer.y + dy});
}

// 0 to 65535 spans the first monitor, as the system's absolute moves do.
void backend_send_mouse_position(i32 x, i32 y) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    Monitor *monitor = os_get_default_monitor();
    if (!monitor) return;
    i32 px = monitor->rect_pos.x + (i32)((i64)x * monitor->rect_size.width / 65536);
    i32 py = monitor->rect_pos.y + (i32)((i64)y * monitor->rect_size.height / 65536);
    push_pointer(Vec2i{px, py});
}
