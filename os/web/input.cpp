// Pointer queries and synthetic input in a page.  A page cannot inject into
// the system, so synthetic keys, typing and mouse moves join the queue of
// browser events and reach the program's own window at the next pump.
#include "os/backend.h"
#include "os/web/web_shared.h"

Vec2i backend_cursor_position(void) { return web_pointer; }

bool backend_mouse_button_down(u16 button) { return web_buttons_down[button - BUTTON_MOUSE_LEFT]; }

// Keys this program holds down, so that a second down is a repeat as the
// system's own key state would make it.
static bool keys_down[256];

static void post_key(u16 vk, bool up) {
    if (vk == 0 || vk > 255) return;
    WebMessage m = {};
    m.kind = WEB_MESSAGE_KEY;
    m.button = vk;
    m.action = up ? ACTION_UP : keys_down[vk] ? ACTION_REPEAT : ACTION_DOWN;
    keys_down[vk] = !up;
    web_post(&m);
}

static void post_char(u32 code) {
    WebMessage m = {};
    m.kind = WEB_MESSAGE_CHAR;
    m.code = code;
    web_post(&m);
}

void backend_send_key(KeyStroke stroke) {
    if (web_window()) post_key(stroke.vk, stroke.up);
}

// Typing follows the shared key plan; each character's text follows the down
// of its key, as the browser's keydown carries it.
static void type_stroke(KeyStroke stroke, void *user) {
    post_key(stroke.vk, stroke.up);
    u8 c = typed_text_after((TypedText *)user, stroke);
    // Return, tab and the like bring their control characters as real keys do.
    if (c == '\n') post_char(13);
    else if (c == '\t') post_char(9);
    else if (c >= 32) post_char(c);
}

void backend_type_text(const char *text) {
    TypedText typed = {text, false};
    if (web_window()) type_text_strokes(text, type_stroke, &typed);
}

static void post_pointer(Vec2i to) {
    WebMessage m = {};
    m.kind = WEB_MESSAGE_MOVE;
    m.x = to.x;
    m.y = to.y;
    web_post(&m);
}

void backend_send_mouse_move(i32 dx, i32 dy) {
    if (web_window()) post_pointer(Vec2i{web_pointer.x + dx, web_pointer.y + dy});
}

// 0 to 65535 spans the monitor, which is the canvas's screen.
void backend_send_mouse_position(i32 x, i32 y) {
    Window *window = web_window();
    if (!window) return;
    Monitor *monitor = os_get_default_monitor();
    i32 px = monitor->rect_pos.x + (i32)((i64)x * monitor->rect_size.width / 65536);
    i32 py = monitor->rect_pos.y + (i32)((i64)y * monitor->rect_size.height / 65536);
    post_pointer(Vec2i{px, py});
}
