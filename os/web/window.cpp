// The canvas as the program's one window, and the browser's events queued
// as they arrive and handed to the shared window rules at the frame's pump.
#include <emscripten.h>
#include <emscripten/html5.h>
#include <math.h>
#include <string.h>

#include "os/backend.h"
#include "os/log.h"
#include "os/web/web_shared.h"

Vec2i web_pointer;
bool web_buttons_down[3];

// The browser's own double-click limits are not exposed; these are the
// usual desktop defaults (half a second, a 4 x 4 pixel rectangle).
static const DoubleClickLimits DOUBLE_CLICK = {500, 4, 4};

// Any non-null value names the canvas in Window.hwnd.
static char canvas_token;
static bool canvas_taken;

#define QUEUE_SIZE 512
static WebMessage queue[QUEUE_SIZE];
static u32 queue_head, queue_count;

bool web_post(const WebMessage *message) {
    if (queue_count == QUEUE_SIZE) return false;
    queue[(queue_head + queue_count) % QUEUE_SIZE] = *message;
    queue_count++;
    return true;
}

Window *web_window(void) {
    Window *window = window_find(&canvas_token);
    return window_is_open(window) ? window : nullptr;
}

Size2i web_client_size;

Size2i web_drawing_buffer_size(void) {
    int width = 0, height = 0;
    emscripten_get_canvas_element_size(WEB_CANVAS, &width, &height);
    return Size2i{width, height};
}

void web_size_canvas(Size2i client) {
    web_client_size = Size2i{client.width > 0 ? client.width : 1, client.height > 0 ? client.height : 1};
    double ratio = emscripten_get_device_pixel_ratio();
    if (!(ratio >= 1.0 && ratio <= 8.0)) ratio = 1.0;
    emscripten_set_canvas_element_size(WEB_CANVAS, (int)lround(web_client_size.width * ratio),
                                       (int)lround(web_client_size.height * ratio));
}

// CSS pixels of an event over the canvas to the program's pixels: the page
// scales the canvas down where the browser window is smaller.
static Vec2i canvas_pixels(double css_x, double css_y) {
    double css_width = 0, css_height = 0;
    emscripten_get_element_css_size(WEB_CANVAS, &css_width, &css_height);
    double sx = css_width > 0 ? web_client_size.width / css_width : 1.0;
    double sy = css_height > 0 ? web_client_size.height / css_height : 1.0;
    return Vec2i{(i32)floor(css_x * sx), (i32)floor(css_y * sy)};
}

static u32 time_of(double ms) { return (u32)(u64)ms; }

// One UTF-8 code point of a KeyboardEvent.key as UTF-16 units; named keys
// ("Enter", "ArrowUp") are longer and give none.
static u32 key_text_units(const char *key, u32 units[2]) {
    const u8 *p = (const u8 *)key;
    u32 c = p[0];
    int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c == 0 || (c >= 0x80 && c < 0xC0)) return 0;
    if (more) c &= 0x3Fu >> more;
    for (int i = 1; i <= more; i++) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        c = c << 6 | (p[i] & 0x3F);
    }
    if (p[more + 1] != 0 || c < 32 || c == 127 || c > 0x10FFFF) return 0;
    if (c < 0x10000) {
        units[0] = c;
        return 1;
    }
    c -= 0x10000;
    units[0] = 0xD800 + (c >> 10);
    units[1] = 0xDC00 + (c & 0x3FF);
    return 2;
}

// The browser gives no text for control keys; the system's key translation
// does, so they come from the keys here.
static u32 control_char_of(u8 vk) {
    switch (vk) {
    case 0x0D: return 13;
    case 0x08: return 8;
    case 0x09: return 9;
    case 0x1B: return 27;
    default: return 0;
    }
}

// The page keeps its own shortcuts (reload, developer tools and
// anything with Ctrl, Alt or Meta); every other key is the game's and must
// not scroll the page.
static bool page_keeps(const EmscriptenKeyboardEvent *e, u8 vk) {
    if (e->ctrlKey || e->altKey || e->metaKey) return true;
    return vk == 0 || vk == 0x74 || vk == 0x7B;
}

// F11 is the browser's own fullscreen, which shows the whole page: the game
// goes fullscreen in the page through Alt+Enter or the page's button instead.
#define WEB_BROWSER_FULLSCREEN_KEY 0x7A

static EM_BOOL on_key(int type, const EmscriptenKeyboardEvent *e, void *) {
    u8 vk = web_vk_from_code(e->code);
    if (vk == WEB_BROWSER_FULLSCREEN_KEY) return EM_FALSE;
    if (vk) {
        WebMessage m = {};
        m.kind = WEB_MESSAGE_KEY;
        m.button = vk;
        m.action = type == EMSCRIPTEN_EVENT_KEYUP ? ACTION_UP : e->repeat ? ACTION_REPEAT : ACTION_DOWN;
        web_post(&m);
    }
    if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
        u32 units[2] = {control_char_of(vk), 0};
        u32 count = units[0] ? 1 : (e->ctrlKey || e->metaKey) ? 0 : key_text_units(e->key, units);
        for (u32 i = 0; i < count; i++) {
            WebMessage m = {};
            m.kind = WEB_MESSAGE_CHAR;
            m.code = units[i];
            web_post(&m);
        }
    }
    return page_keeps(e, vk) ? EM_FALSE : EM_TRUE;
}

static u16 button_of(unsigned short dom_button) {
    switch (dom_button) {
    case 0: return BUTTON_MOUSE_LEFT;
    case 1: return BUTTON_MOUSE_MIDDLE;
    case 2: return BUTTON_MOUSE_RIGHT;
    default: return 0;
    }
}

static EM_BOOL on_mouse(int type, const EmscriptenMouseEvent *e, void *) {
    WebMessage m = {};
    Vec2i at = canvas_pixels(e->targetX, e->targetY);
    m.x = at.x;
    m.y = at.y;
    m.time = time_of(e->timestamp);
    switch (type) {
    case EMSCRIPTEN_EVENT_MOUSEDOWN:
    case EMSCRIPTEN_EVENT_MOUSEUP: {
        m.kind = WEB_MESSAGE_BUTTON;
        m.button = button_of(e->button);
        if (!m.button) return EM_FALSE;
        m.action = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
        web_buttons_down[m.button - BUTTON_MOUSE_LEFT] = m.action;
        // A click gives the canvas the keyboard.
        if (m.action) EM_ASM(if (Module.canvas) Module.canvas.focus(););
        break;
    }
    case EMSCRIPTEN_EVENT_MOUSEMOVE:
    case EMSCRIPTEN_EVENT_MOUSEENTER: m.kind = WEB_MESSAGE_MOVE; break;
    case EMSCRIPTEN_EVENT_MOUSELEAVE: m.kind = WEB_MESSAGE_LEAVE; break;
    default: return EM_FALSE;
    }
    web_post(&m);
    return type == EMSCRIPTEN_EVENT_MOUSEDOWN || type == EMSCRIPTEN_EVENT_MOUSEUP;
}

// Pixel deltas count 100 to a notch, as Chromium and Firefox send a notch;
// lines count three to a notch and a page one.
static EM_BOOL on_wheel(int, const EmscriptenWheelEvent *e, void *) {
    double per_notch = e->deltaMode == DOM_DELTA_PIXEL ? 100.0 : e->deltaMode == DOM_DELTA_LINE ? 3.0 : 1.0;
    // A purely sideways turn is no wheel step.
    if (e->deltaY == 0.0) return EM_TRUE;
    double amount = -e->deltaY / per_notch * 120.0;
    WebMessage m = {};
    m.kind = WEB_MESSAGE_WHEEL;
    Vec2i at = canvas_pixels(e->mouse.targetX, e->mouse.targetY);
    m.x = at.x;
    m.y = at.y;
    m.amount = (i32)lround(fmax(-1e6, fmin(1e6, amount)));
    web_post(&m);
    return EM_TRUE;
}

static EM_BOOL on_focus(int type, const EmscriptenFocusEvent *, void *) {
    WebMessage m = {};
    m.kind = WEB_MESSAGE_FOCUS;
    m.action = type == EMSCRIPTEN_EVENT_FOCUS;
    web_post(&m);
    return EM_FALSE;
}

static EM_BOOL on_resize(int, const EmscriptenUiEvent *, void *) {
    WebMessage m = {};
    m.kind = WEB_MESSAGE_RESIZE;
    web_post(&m);
    return EM_FALSE;
}

static EM_BOOL on_fullscreen_change(int, const EmscriptenFullscreenChangeEvent *e, void *) {
    WebMessage m = {};
    m.kind = WEB_MESSAGE_FULLSCREEN;
    m.action = e->isFullscreen;
    web_post(&m);
    return EM_FALSE;
}

static void listen(bool on) {
    const char *c = WEB_CANVAS;
    em_key_callback_func key = on ? on_key : nullptr;
    em_mouse_callback_func mouse = on ? on_mouse : nullptr;
    emscripten_set_keydown_callback(c, nullptr, false, key);
    emscripten_set_keyup_callback(c, nullptr, false, key);
    emscripten_set_mousedown_callback(c, nullptr, false, mouse);
    emscripten_set_mouseup_callback(c, nullptr, false, mouse);
    emscripten_set_mousemove_callback(c, nullptr, false, mouse);
    emscripten_set_mouseenter_callback(c, nullptr, false, mouse);
    emscripten_set_mouseleave_callback(c, nullptr, false, mouse);
    emscripten_set_wheel_callback(c, nullptr, false, on ? on_wheel : nullptr);
    emscripten_set_focus_callback(c, nullptr, false, on ? on_focus : nullptr);
    emscripten_set_blur_callback(c, nullptr, false, on ? on_focus : nullptr);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, false, on ? on_resize : nullptr);
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, false,
                                             on ? on_fullscreen_change : nullptr);
}

void backend_read_geometry(Window *window) {
    // The canvas has no frame and is the whole of its screen.
    window->client_pos = Vec2i{0, 0};
    window->client_size = web_client_size;
    window->window_pos = Vec2i{0, 0};
    window->window_size = web_client_size;
}

static void sync_geometry(Window *window) {
    Size2i old = window->client_size;
    backend_read_geometry(window);
    if (window->client_size.width != old.width || window->client_size.height != old.height)
        window_resized(window, window->client_size.width, window->client_size.height);
}

static void translate(const WebMessage *m) {
    Window *window = web_window();
    if (!window) return;
    switch (m->kind) {
    case WEB_MESSAGE_KEY: window_key(window, m->button, m->action); break;
    case WEB_MESSAGE_CHAR: window_char(window, m->code); break;
    case WEB_MESSAGE_BUTTON:
        window_mouse_button(window, m->button, m->action != 0, Vec2i{m->x, m->y}, Vec2i{m->x, m->y}, m->time,
                            DOUBLE_CLICK);
        break;
    case WEB_MESSAGE_MOVE:
        web_pointer = Vec2i{m->x, m->y};
        window_pointer_moved(window, web_pointer);
        break;
    case WEB_MESSAGE_LEAVE: window_pointer_left(window, Vec2i{m->x, m->y}); break;
    case WEB_MESSAGE_WHEEL: window_wheel(window, m->amount, Vec2i{m->x, m->y}); break;
    case WEB_MESSAGE_FOCUS: window_focus(window, m->action != 0); break;
    case WEB_MESSAGE_FULLSCREEN:
        // The browser ends fullscreen on Escape, and the page's button starts
        // it: the window's flag follows the page.
        os_set_window_fullscreen(window, m->action != 0);
        break;
    case WEB_MESSAGE_RESIZE:
        // A page zoom or another screen changes the pixel ratio.
        web_size_canvas(web_client_size);
        sync_geometry(window);
        break;
    default: break;
    }
}

bool backend_handle_message(void) {
    if (queue_count == 0) return false;
    WebMessage m = queue[queue_head];
    queue_head = (queue_head + 1) % QUEUE_SIZE;
    queue_count--;
    translate(&m);
    return true;
}

// A page cannot block: the next animation frame is the wait.
void backend_wait_message(void) {}

void backend_register_raw_mouse(Window *) {}
void backend_unregister_raw_mouse(void) {}

void backend_release_window(Window *window, bool) {
    listen(false);
    canvas_taken = false;
    window->hdc = nullptr;
}

bool backend_display_ready(void) {
    return EM_ASM_INT(return Module.canvas ? 1 : 0;) != 0;
}

EM_JS(void, web_set_title, (const char *title), { document.title = UTF8ToString(title); });

SystemWindow backend_create_window(const WindowRequest *request) {
    if (canvas_taken) {
        os_printf("FAILED backend_create_window the page has one canvas, and it is the program's window already\n");
        return SystemWindow{nullptr, nullptr};
    }
    int width = 0, height = 0;
    if (emscripten_get_canvas_element_size(WEB_CANVAS, &width, &height) != EMSCRIPTEN_RESULT_SUCCESS) {
        os_printf("FAILED backend_create_window the page has no canvas %s\n", WEB_CANVAS);
        return SystemWindow{nullptr, nullptr};
    }
    web_size_canvas(request->client_size);
    char title[256];
    u64 len = request->title.len < sizeof(title) - 1 ? request->title.len : sizeof(title) - 1;
    memcpy(title, request->title.data, len);
    title[len] = 0;
    web_set_title(title);
    queue_head = queue_count = 0;
    listen(true);
    canvas_taken = true;
    return SystemWindow{&canvas_token, nullptr};
}
