// Shared by the Windows tests that drive real windows: an event recorder and
// window set-up with the start-up messages already pumped away.
#pragma once

#include <windows.h>

#include <doctest/doctest.h>

#include <string.h>

#include <string>
#include <vector>

#include "os/window.h"

struct RecordedEvent {
    WindowEvent event;
    std::string drop_paths;  // the whole list, NULs included
};

inline std::vector<RecordedEvent> recorded_events;

inline void record_event(WindowEvent *event) {
    RecordedEvent r = {*event, {}};
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
    for (const RecordedEvent &r : recorded_events)
        if (r.event.kind == kind) out.push_back(r.event);
    return out;
}

inline HWND hwnd_of(Window *window) { return (HWND)window->hwnd; }

inline Window *open_test_window(i32 width, i32 height, u16 flags) {
    os_set_event_callback(record_event);
    Window *window = os_create_window(width, height, STR("window test"), flags);
    REQUIRE(window != nullptr);
    os_pump_messages();
    recorded_events.clear();
    return window;
}

inline void close_test_window(Window *window) {
    if (window->flags & WINDOW_OPEN) SendMessageW(hwnd_of(window), WM_CLOSE, 0, 0);
    os_pump_messages();
    recorded_events.clear();
}

// Pumps until the predicate holds or about two seconds have passed.
template <typename F> bool pump_until(F done) {
    for (int i = 0; i < 200; i++) {
        os_pump_messages();
        if (done()) return true;
        Sleep(10);
    }
    return false;
}
