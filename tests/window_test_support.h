// Shared by the tests that drive real windows on any display backend: an
// event recorder, window set-up with the start-up events pumped away, and the
// injector each backend's test folder provides (tests/win32/ posts window
// messages, tests/sdl/ pushes onto SDL's event queue), so that one set of
// tests checks the event rules on every backend.
#pragma once

#include <doctest/doctest.h>

#include <string.h>

#include <string>
#include <vector>

#include "os/window.h"

struct CapturedEvent {
    WindowEvent event;
    std::string drop_paths;  // the whole list, NULs included
};

inline std::vector<CapturedEvent> recorded_events;

inline void record_event(WindowEvent *event) {
    CapturedEvent r = {*event, {}};
    if (event->kind == EVENT_DROP) {
        const char *p = event->drop.paths;
        size_t n = 0;
        // count paths, each NUL-terminated, then one more NUL.
        for (u32 i = 0; i < event->drop.count; i++) n += strlen(p + n) + 1;
        r.drop_paths.assign(p, n + 1);
    }
    recorded_events.push_back(r);
}

inline std::vector<WindowEvent> events_of_kind(u8 kind) {
    std::vector<WindowEvent> out;
    for (const CapturedEvent &r : recorded_events)
        if (r.event.kind == kind) out.push_back(r.event);
    return out;
}

// ---- Per backend --------------------------------------------------------------
// Each delivers what the window system sends for the action; os_pump_messages
// then hands it to the rules.  Positions are client coordinates.
void inject_key(Window *window, u32 vk, u8 action);
void inject_char(Window *window, u32 code);
// amount in 120ths of a notch.
void inject_wheel(Window *window, i32 amount, i32 x, i32 y);
void inject_mouse_button(Window *window, u16 button, bool down, i32 x, i32 y);
void inject_pointer_move(Window *window, i32 x, i32 y);
void inject_pointer_leave(Window *window);
void inject_focus(Window *window, bool gained);
void inject_close(Window *window);
void inject_drop(Window *window, const std::vector<std::string> &paths, i32 x, i32 y);
// Where the backend reads the pointer for an event injected at client (x, y),
// in screen coordinates.
Vec2i injected_pointer_screen(Window *window, i32 x, i32 y);
// Keeps the system's own pointer from sending enter and leave by itself
// while a test injects them.
void hold_pointer_inside(Window *window);
void test_sleep_ms(int ms);
// The window's pixel at client (x, y) as 0xRRGGBB, as the system shows it.
u32 test_window_pixel(Window *window, i32 x, i32 y);
// Whether the system shows the window.
bool test_window_visible(Window *window);

inline Window *open_test_window(i32 width, i32 height, u16 flags) {
    os_set_event_callback(record_event);
    Window *window = os_create_window(width, height, STR("window test"), flags);
    REQUIRE(window != nullptr);
    os_pump_messages();
    recorded_events.clear();
    return window;
}

inline void close_test_window(Window *window) {
    if (window->flags & WINDOW_OPEN) inject_close(window);
    os_pump_messages();
    recorded_events.clear();
}

// Pumps until the predicate holds or about two seconds have passed.
template <typename F> bool pump_until(F done) {
    for (int i = 0; i < 200; i++) {
        os_pump_messages();
        if (done()) return true;
        test_sleep_ms(10);
    }
    return false;
}
