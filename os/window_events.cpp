// The window list, the one event callback, the message pump and the rules
// that turn a window system's messages into WindowEvents.  The backends
// translate; this decides.
#include "os/backend.h"
#include "os/double_click.h"
#include "os/gl_context.h"
#include "os/memory.h"
#include "os/wheel_steps.h"

struct WindowList {
    Window **items;
    u32 count;
    u32 capacity;
};

static WindowList window_list;
static WindowEventCallback event_callback;
// Left, middle and right button.
static DoubleClickRecord last_clicks[3];

static bool add_to_list(Window *window) {
    if (window_list.count == window_list.capacity) {
        u32 capacity = window_list.capacity ? window_list.capacity * 2 : 4;
        Window **items = (Window **)(window_list.items ? os_realloc(window_list.items, capacity * sizeof(Window *))
                                                       : os_alloc(capacity * sizeof(Window *)));
        if (!items) return false;
        window_list.items = items;
        window_list.capacity = capacity;
    }
    window_list.items[window_list.count++] = window;
    return true;
}

static void remove_from_list(Window *window) {
    for (u32 i = 0; i < window_list.count; i++) {
        if (window_list.items[i] != window) continue;
        for (u32 j = i + 1; j < window_list.count; j++) window_list.items[j - 1] = window_list.items[j];
        window_list.count--;
        return;
    }
}

Window *window_find(void *hwnd) {
    if (!hwnd) return nullptr;
    for (u32 i = 0; i < window_list.count; i++)
        if (window_list.items[i]->hwnd == hwnd) return window_list.items[i];
    return nullptr;
}

bool window_is_open(const Window *window) { return window && (window->flags & WINDOW_OPEN); }

u32 window_count(void) { return window_list.count; }

Window *window_at(u32 index) { return index < window_list.count ? window_list.items[index] : nullptr; }

void os_set_event_callback(WindowEventCallback callback) { event_callback = callback; }

void window_deliver(WindowEvent *event) {
    if (event_callback) event_callback(event);
}

int os_pump_messages(void) {
    int handled = 0;
    while (backend_handle_message()) handled++;
    backend_poll_gamepads();
    return handled;
}

void os_wait_message(void) { backend_wait_message(); }

static WindowEvent event_for(Window *window, u8 kind) {
    WindowEvent event = {};
    event.kind = kind;
    event.window = window;
    return event;
}

Window *window_add(void *hwnd, void *hdc, u16 flags) {
    Window *window = (Window *)os_alloc_zeroed(sizeof(Window));
    if (!window || !add_to_list(window)) {
        os_free(window);
        return nullptr;
    }
    window->hdc = hdc;
    window->hwnd = hwnd;
    window->flags = (u16)(flags | WINDOW_OPEN | WINDOW_FOCUSED);
    backend_read_geometry(window);
    return window;
}

static void raw_mouse_off(void) {
    backend_unregister_raw_mouse();
    for (u32 i = 0; i < window_list.count; i++) window_list.items[i]->input_flags &= (u8)~RAW_MOUSE_REGISTERED;
}

static void raw_mouse_on(Window *window) {
    if (!(window->input_flags & RAW_MOUSE_REGISTERED)) {
        backend_register_raw_mouse(window);
        window->input_flags |= RAW_MOUSE_REGISTERED;
    }
    window->input_flags |= RAW_MOUSE_ACTIVE;
}

void os_set_raw_mouse(Window *window, bool on) {
    if (!window) return;
    if (on) {
        window->input_flags |= RAW_MOUSE_WANTED;
        raw_mouse_on(window);
    } else {
        window->input_flags &= (u8)~RAW_MOUSE_WANTED;
        if (window->input_flags & RAW_MOUSE_ACTIVE) {
            window->input_flags &= (u8)~RAW_MOUSE_ACTIVE;
            raw_mouse_off();
        }
    }
}

void window_close(Window *window, bool already_destroying) {
    if (!window_is_open(window)) return;
    window->flags &= (u16)~WINDOW_OPEN;
    if (window->gl_context) os_delete_gl_context(window);
    if (window->flags & WINDOW_FRAMEBUFFER) os_destroy_framebuffer(window);
    backend_release_window(window, already_destroying);
    if (window->input_flags & RAW_MOUSE_ACTIVE) {
        window->input_flags &= (u8)~RAW_MOUSE_ACTIVE;
        raw_mouse_off();
    }
    wheel_forget(window);
    window_forget_fullscreen(window);
    remove_from_list(window);
    WindowEvent event = event_for(window, EVENT_CLOSED);
    window_deliver(&event);
}

bool window_pointer_moved(Window *window, Vec2i screen) {
    if (!window) return false;
    WindowEvent event = event_for(window, EVENT_POINTER);
    event.pointer.position = screen;
    bool entered = !(window->input_flags & POINTER_INSIDE);
    if (entered) {
        window->input_flags |= POINTER_INSIDE;
        event.pointer.pointer_flags = 1;
    }
    window_deliver(&event);
    return entered;
}

void window_pointer_left(Window *window, Vec2i screen) {
    if (!window) return;
    window->input_flags &= (u8)~POINTER_INSIDE;
    WindowEvent event = event_for(window, EVENT_POINTER);
    event.pointer.position = screen;
    event.pointer.pointer_flags = 2;
    window_deliver(&event);
}

void window_mouse_button(Window *window, u16 button, bool down, Vec2i client, Vec2i screen, u32 time,
                         DoubleClickLimits limits) {
    if (!window || button < BUTTON_MOUSE_LEFT || button > BUTTON_MOUSE_RIGHT) return;
    bool twice = down && double_click_test(&last_clicks[button - BUTTON_MOUSE_LEFT], client.x, client.y, time,
                                           limits.time, limits.width, limits.height);
    WindowEvent event = event_for(window, EVENT_MOUSE_BUTTON);
    event.mouse_button = {down ? ACTION_DOWN : ACTION_UP, button, screen.x, screen.y, (u8)(twice ? 1 : 0)};
    window_deliver(&event);
}

void window_key(Window *window, u32 key, u8 action) {
    // Virtual-key codes stop at 255; anything larger is not a key.
    if (!window || key > 255) return;
    WindowEvent event = event_for(window, EVENT_KEY);
    event.key.action = action;
    event.key.key = (u16)key;
    window_deliver(&event);
}

void window_char(Window *window, u32 code) {
    if (!window || code == 8) return;
    WindowEvent event = event_for(window, EVENT_TEXT);
    event.text.code = code == 13 ? 10 : code;
    window_deliver(&event);
}

void window_wheel(Window *window, i32 amount, Vec2i screen) {
    if (!window) return;
    // Fine wheels and touchpads send parts of a notch: one step per whole
    // notch gathered in one direction.
    i32 steps = wheel_take_steps(window, amount);
    for (i32 i = 0; i < steps || i < -steps; i++) {
        WindowEvent event = event_for(window, EVENT_WHEEL);
        event.wheel.position = screen;
        event.wheel.delta = steps > 0 ? 1 : -1;
        window_deliver(&event);
    }
}

void window_moved(Window *window, i32 x, i32 y) {
    if (!window_is_open(window)) return;
    backend_read_geometry(window);
    WindowEvent event = event_for(window, EVENT_MOVED);
    event.moved.x = x;
    event.moved.y = y;
    window_deliver(&event);
}

void window_resized(Window *window, i32 width, i32 height) {
    if (!window_is_open(window)) return;
    backend_read_geometry(window);
    if (window->flags & WINDOW_FRAMEBUFFER) os_resize_framebuffer(window);
    WindowEvent event = event_for(window, EVENT_RESIZED);
    event.resized.width = width;
    event.resized.height = height;
    window_deliver(&event);
}

void window_focus(Window *window, bool gained) {
    if (!window) return;
    bool open = window_is_open(window);
    if (gained) {
        window->flags |= WINDOW_FOCUSED;
        if (open && (window->input_flags & RAW_MOUSE_WANTED)) raw_mouse_on(window);
    } else {
        window->flags &= (u16)~WINDOW_FOCUSED;
        if (open && (window->input_flags & RAW_MOUSE_ACTIVE)) {
            window->input_flags &= (u8)~RAW_MOUSE_ACTIVE;
            raw_mouse_off();
        }
    }
    WindowEvent event = event_for(window, EVENT_FOCUS);
    event.focus.gained = gained ? 1 : 0;
    window_deliver(&event);
}

void window_drop(Window *window, Vec2i client, const Str *paths, u32 count) {
    if (!window) return;
    u64 size = 1;
    for (u32 i = 0; i < count; i++) size += paths[i].len + 1;
    char *list = (char *)os_alloc(size);
    if (!list) return;
    u64 used = 0;
    for (u32 i = 0; i < count; i++) {
        for (u64 b = 0; b < paths[i].len; b++) list[used++] = paths[i].data[b] == '\\' ? '/' : paths[i].data[b];
        list[used++] = 0;
    }
    list[used] = 0;
    WindowEvent event = event_for(window, EVENT_DROP);
    event.drop.position = client;
    event.drop.paths = list;
    event.drop.count = count;
    window_deliver(&event);
    os_free(list);
}
