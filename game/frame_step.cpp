#include "game/frame_step.h"

#include "game/draw.h"
#include "game/frame_clock.h"
#include "game/game.h"
#include "game/window_keys.h"
#include "os/audio.h"
#include "os/clock.h"
#include "os/gl_context.h"
#include "os/input.h"
#include "os/pass_loop.h"
#include "os/window_ops.h"

static bool pointer_over_client(const Window *window) {
    if (!input_state) return false;
    i32 x = input_state->records[BUTTON_MOUSE_POINTER].value.x;
    i32 y = input_state->records[BUTTON_MOUSE_POINTER].value.y;
    return x >= window->client_pos.x && x < window->client_pos.x + window->client_size.width &&
           y >= window->client_pos.y && y < window->client_pos.y + window->client_size.height;
}

bool frame_step(const FrameHooks *hooks, Window *window, u64 ticks) {
    if (hooks->clock) hooks->clock(ticks);
    else frame_clock_update(&frame_clock, ticks);
    if (hooks->start && !hooks->start()) return false;
    input_begin_frame();
    if (window) {
        os_pump_messages();
        if (!(window->flags & WINDOW_OPEN)) return false;
        // The window class has no cursor of its own.
        if (pointer_over_client(window)) os_set_cursor(CURSOR_ARROW);
        game_view_size = Size2i{GAME_VIEW_WIDTH, GAME_VIEW_HEIGHT};
        camera.view_size.width = (f32)GAME_VIEW_WIDTH / camera.zoom;
        camera.view_size.height = (f32)GAME_VIEW_HEIGHT / camera.zoom;
    }
    if (hooks->input) hooks->input();
    // After the input hook, so that replayed keys switch the window too.
    if (window) window_keys_frame(window);
    game_frame();
    if (hooks->end) hooks->end();
    if (window) {
        os_swap_buffers(window);
        os_update_audio();
    }
    return true;
}

bool frame_pass(const FrameHooks *hooks, Window *window) {
    if (!frame_step(hooks, window, os_get_ticks())) return false;
    // The browser calls the next pass at the display's next frame.
    if (os_passes_follow_display()) return true;
    u64 now = os_get_ticks();
    i64 remaining = hooks->remaining_us ? hooks->remaining_us(now) : frame_clock_remaining_us(&frame_clock, now);
    if (remaining > 0) os_sleep_microseconds((u64)remaining);
    return true;
}

// What the passes need after frame_loop has returned (in a page it returns first).
static struct {
    FrameHooks hooks;
    Window *window;
    void (*ended)(void);
} loop;

static bool loop_pass(void *) { return frame_pass(&loop.hooks, loop.window); }

static void loop_done(void *) {
    // The window has closed (or a replay ended).  The sound device is stopped
    // before the process ends, rather than left playing into the exit, where
    // the system's sound thread could be cut off in the middle of its work.
    if (loop.window) os_shutdown_audio();
    if (loop.ended) loop.ended();
}

void frame_loop(const FrameHooks *hooks, Window *window, void (*ended)(void)) {
    loop.hooks = *hooks;
    loop.window = window;
    loop.ended = ended;
    os_run_passes(loop_pass, loop_done, nullptr, window != nullptr);
}
