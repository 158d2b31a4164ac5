// SDL windows: creation and the event pump, which translates SDL's events
// into the shared event rules.
#include <math.h>
#include <string.h>

#include "os/backend.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/sdl/sdl_shared.h"

Vec2i sdl_pointer;

// SDL keeps no double-click limits of its own that it shares; these are the
// usual desktop defaults (half a second, a 4 x 4 pixel rectangle).
static const DoubleClickLimits DOUBLE_CLICK = {500, 4, 4};

// Files of the drop in progress, collected until SDL says the drop is complete.
static struct {
    Str *paths;
    u32 count;
    u32 capacity;
    Uint32 window_id;
} pending_drop;

Window *sdl_find_window(Uint32 window_id) {
    SDL_Window *sdl_window = window_id ? SDL_GetWindowFromID(window_id) : nullptr;
    return sdl_window ? window_find(sdl_window) : nullptr;
}

Window *sdl_keyboard_window(void) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
    Window *focus = window_find(SDL_GetKeyboardFocus());
    if (window_is_open(focus)) return focus;
    for (u32 i = window_count(); i > 0; i--) {
        Window *window = window_at(i - 1);
        if (window_is_open(window) && (window->flags & WINDOW_FOCUSED)) return window;
    }
    return nullptr;
}

// Keys and text name the window SDL thinks has the focus; without a window
// manager it may think none has: they then go to the program's focused window.
static Window *keyboard_window_of(Uint32 window_id) {
    Window *window = sdl_find_window(window_id);
    return window ? window : sdl_keyboard_window();
}

void backend_read_geometry(Window *window) {
    SDL_Window *sw = sdl_window_of(window);
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(sw, &x, &y);
    SDL_GetWindowSize(sw, &w, &h);
    int top = 0, left = 0, bottom = 0, right = 0;
    // Drivers that draw no frame (offscreen, or a window not yet mapped) report none.
    if (SDL_GetWindowBordersSize(sw, &top, &left, &bottom, &right) != 0) top = left = bottom = right = 0;
    window->client_pos = Vec2i{x, y};
    window->client_size = Size2i{w, h};
    window->window_pos = Vec2i{x - left, y - top};
    window->window_size = Size2i{w + left + right, h + top + bottom};
}

void sdl_sync_geometry(Window *window) {
    if (!window_is_open(window)) return;
    Vec2i old_pos = {window->client_pos.x, window->client_pos.y};
    Size2i old_size = {window->client_size.width, window->client_size.height};
    backend_read_geometry(window);
    if (window->client_pos.x != old_pos.x || window->client_pos.y != old_pos.y)
        window_moved(window, window->client_pos.x, window->client_pos.y);
    if (window->client_size.width != old_size.width || window->client_size.height != old_size.height)
        window_resized(window, window->client_size.width, window->client_size.height);
}

// SDL has no raw mouse device to route; the shared flags are kept all the same.
void backend_register_raw_mouse(Window *) {}
void backend_unregister_raw_mouse(void) {}

void backend_release_window(Window *window, bool) {
    if (window->hwnd) SDL_DestroyWindow(sdl_window_of(window));
    window->hdc = nullptr;
}

bool backend_set_window_icon(Window *window, const u8 *rgba, i32 width, i32 height) {
    SDL_Surface *surface =
        SDL_CreateRGBSurfaceWithFormatFrom((void *)rgba, width, height, 32, width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) {
        os_printf("FAILED SDL_CreateRGBSurfaceWithFormatFrom %s\n", SDL_GetError());
        return false;
    }
    // SDL keeps a copy of its own; the driver hands it to the window manager.
    SDL_SetWindowIcon(sdl_window_of(window), surface);
    SDL_FreeSurface(surface);
    return true;
}

static Vec2i screen_of(Window *window, int x, int y) { return Vec2i{window->client_pos.x + x, window->client_pos.y + y}; }

// UTF-8 text of one SDL text event to UTF-16 code units; a malformed sequence
// gives U+FFFD.
static void deliver_text(Window *window, const char *text) {
    const u8 *p = (const u8 *)text;
    const u8 *end = p + strnlen(text, sizeof(SDL_TextInputEvent::text));
    while (p < end) {
        u32 c = *p++;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (c >= 0x80 && c < 0xC0) c = 0xFFFD;
        else if (more) c &= 0x3F >> more;
        for (int i = 0; i < more; i++) {
            if (p >= end || (*p & 0xC0) != 0x80) {
                c = 0xFFFD;
                break;
            }
            c = c << 6 | (*p++ & 0x3F);
        }
        if (c > 0x10FFFF) c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            window_char(window, 0xD800 + (c >> 10));
            window_char(window, 0xDC00 + (c & 0x3FF));
        } else {
            window_char(window, c);
        }
    }
}

// SDL gives no text for control keys; the system's key translation does, so
// they are produced here from the keys.
static u32 control_char_of(SDL_Scancode scancode) {
    switch (scancode) {
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return 13;
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_ESCAPE: return 27;
    default: return 0;
    }
}

static void translate_key(const SDL_KeyboardEvent *key) {
    Window *window = keyboard_window_of(key->windowID);
    u8 vk = sdl_vk_from_scancode(key->keysym.scancode);
    if (!window || !vk) return;
    bool down = key->type == SDL_KEYDOWN;
    window_key(window, vk, down ? (key->repeat ? ACTION_REPEAT : ACTION_DOWN) : ACTION_UP);
    u32 control = down ? control_char_of(key->keysym.scancode) : 0;
    if (control) window_char(window, control);
}

static u16 button_of(Uint8 sdl_button) {
    switch (sdl_button) {
    case SDL_BUTTON_LEFT: return BUTTON_MOUSE_LEFT;
    case SDL_BUTTON_MIDDLE: return BUTTON_MOUSE_MIDDLE;
    case SDL_BUTTON_RIGHT: return BUTTON_MOUSE_RIGHT;
    default: return 0;
    }
}

static void drop_clear(void) {
    for (u32 i = 0; i < pending_drop.count; i++) os_free((void *)pending_drop.paths[i].data);
    pending_drop.count = 0;
    pending_drop.window_id = 0;
}

static void drop_add(Uint32 window_id, char *file) {
    pending_drop.window_id = window_id;
    u64 len = strlen(file);
    char *copy = (char *)os_alloc(len + 1);
    if (copy) memcpy(copy, file, len + 1);
    SDL_free(file);
    if (!copy) return;
    if (pending_drop.count == pending_drop.capacity) {
        u32 capacity = pending_drop.capacity ? pending_drop.capacity * 2 : 8;
        Str *paths = (Str *)(pending_drop.paths ? os_realloc(pending_drop.paths, capacity * sizeof(Str))
                                                : os_alloc(capacity * sizeof(Str)));
        if (!paths) {
            os_free(copy);
            return;
        }
        pending_drop.paths = paths;
        pending_drop.capacity = capacity;
    }
    pending_drop.paths[pending_drop.count++] = Str{len, copy};
}

static void drop_complete(Uint32 window_id) {
    Window *window = sdl_find_window(window_id ? window_id : pending_drop.window_id);
    // SDL tells no drop point: the pointer's last place stands for it.
    if (window) {
        Vec2i at = {sdl_pointer.x - window->client_pos.x, sdl_pointer.y - window->client_pos.y};
        window_drop(window, at, pending_drop.paths, pending_drop.count);
    }
    drop_clear();
}

static void translate_window_event(const SDL_WindowEvent *we) {
    Window *window = sdl_find_window(we->windowID);
    if (!window) return;
    switch (we->event) {
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        sdl_sync_geometry(window);
        break;
    case SDL_WINDOWEVENT_LEAVE:
        window_pointer_left(window, sdl_pointer);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        window_focus(window, true);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        window_focus(window, false);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        window_close(window, false);
        break;
    default:
        break;
    }
}

// SIGINT and SIGTERM arrive as SDL_QUIT: every window is closed, as if the
// user had closed each one.
static void close_all_windows(void) {
    u32 count = window_count();
    for (u32 i = 0; i < count && window_count() > 0; i++) window_close(window_at(0), false);
}

static void translate(const SDL_Event *e) {
    switch (e->type) {
    case SDL_WINDOWEVENT:
        translate_window_event(&e->window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translate_key(&e->key);
        break;
    case SDL_TEXTINPUT:
        if (Window *window = keyboard_window_of(e->text.windowID)) deliver_text(window, e->text.text);
        break;
    case SDL_MOUSEMOTION:
        if (Window *window = sdl_find_window(e->motion.windowID)) {
            sdl_pointer = screen_of(window, e->motion.x, e->motion.y);
            window_pointer_moved(window, sdl_pointer);
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (Window *window = sdl_find_window(e->button.windowID)) {
            u16 button = button_of(e->button.button);
            if (!button) break;
            Vec2i client = {e->button.x, e->button.y};
            window_mouse_button(window, button, e->type == SDL_MOUSEBUTTONDOWN, client,
                                screen_of(window, client.x, client.y), e->button.timestamp, DOUBLE_CLICK);
        }
        break;
    case SDL_MOUSEWHEEL:
        if (Window *window = sdl_find_window(e->wheel.windowID)) {
            float notches = e->wheel.preciseY;
            if (e->wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            // A purely sideways turn is no wheel step.
            if (notches == 0.0f && e->wheel.preciseX != 0.0f) break;
            i32 amount = (i32)lroundf(fmaxf(-1e6f, fminf(1e6f, notches * 120.0f)));
            window_wheel(window, amount, screen_of(window, e->wheel.mouseX, e->wheel.mouseY));
        }
        break;
    case SDL_DROPBEGIN:
        drop_clear();
        pending_drop.window_id = e->drop.windowID;
        break;
    case SDL_DROPFILE:
        drop_add(e->drop.windowID, e->drop.file);
        break;
    case SDL_DROPTEXT:
        SDL_free(e->drop.file);
        break;
    case SDL_DROPCOMPLETE:
        drop_complete(e->drop.windowID);
        break;
    case SDL_QUIT:
        close_all_windows();
        break;
    default:
        break;
    }
}

bool backend_handle_message(void) {
    SDL_Event e;
    if (!SDL_WasInit(SDL_INIT_EVENTS) || !SDL_PollEvent(&e)) return false;
    translate(&e);
    return true;
}

void backend_wait_message(void) {
    if (SDL_WasInit(SDL_INIT_EVENTS)) SDL_WaitEvent(nullptr);
}

static Uint32 sdl_flags_for(u16 flags) {
    Uint32 f = (flags & WINDOW_HIDDEN) ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
    if (flags & (WINDOW_POPUP | WINDOW_BORDERLESS)) f |= SDL_WINDOW_BORDERLESS;
    else if (!(flags & WINDOW_FIXED_SIZE)) f |= SDL_WINDOW_RESIZABLE;
    if (flags & WINDOW_TOPMOST) f |= SDL_WINDOW_ALWAYS_ON_TOP;
    if (flags & WINDOW_TOOL) f |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
    return f;
}

bool backend_display_ready(void) { return sdl_ensure_video(); }

SystemWindow backend_create_window(const WindowRequest *request) {
    int x = request->placed ? request->position.x : SDL_WINDOWPOS_UNDEFINED;
    int y = request->placed ? request->position.y : SDL_WINDOWPOS_UNDEFINED;
    Uint32 sdl_flags = sdl_flags_for(request->flags);
    if (request->opengl) {
        sdl_flags |= SDL_WINDOW_OPENGL;
        sdl_gl_set_window_attributes();
    }
    // SDL takes a C string and refuses sizes below one pixel.
    char *title = (char *)os_alloc(request->title.len + 1);
    if (!title) return SystemWindow{nullptr, nullptr};
    memcpy(title, request->title.data, request->title.len);
    title[request->title.len] = 0;
    Size2i size = request->client_size;
    SDL_Window *sdl_window =
        SDL_CreateWindow(title, x, y, size.width > 0 ? size.width : 1, size.height > 0 ? size.height : 1, sdl_flags);
    os_free(title);
    if (!sdl_window) os_printf("FAILED SDL_CreateWindow %s\n", SDL_GetError());
    return SystemWindow{sdl_window, nullptr};
}
