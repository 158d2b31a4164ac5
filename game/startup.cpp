#include "game/startup.h"

#include "game/frame_clock.h"
#include "game/game.h"
#include "game/game_icon.h"
#include "game/game_vars.h"
#include "game/particles.h"
#include "game/record_replay.h"
#include "game/startup_banner.h"
#include "os/audio.h"
#include "os/clock.h"
#include "os/gl_context.h"
#include "os/input.h"
#include "os/memory.h"
#include "os/system.h"
#include "os/window_ops.h"
#include "render/graphics_init.h"
#include "render/load_textures.h"
#include "sound/sound_bank.h"

Window *main_window;

int main_init(void) {
    log_startup_banner();
    game_vars.random_seed = RANDOM_START_SEED;
    arena_create(&temp_arena, 20000000);

    main_window = os_create_window(1280, 800, STR("Fathomer"), WINDOW_HIDDEN | WINDOW_OPENGL);
    if (!main_window) return 1;
    // Set while the window is hidden, so that it never shows the system's icon.
    load_window_icon(main_window, STR("img/icon.png"));
    os_center_window(main_window);
    os_set_event_callback(session_event_callback());
    // The pacing sleep alone sets the frame rate.
    os_set_swap_interval(0);

    // Loads the GL entry points, shows the grey first frame, logs the GPU and
    // sets up the renderer.
    if (init_graphics(main_window) <= 0) return 1;

    // Without a sound device the game runs silently: every audio call is a no-op.
    os_init_audio(main_window);
    os_set_master_volume(0.2f);

    Monitor *monitor = os_get_default_monitor();
    frame_clock_start(&frame_clock, os_get_ticks(), monitor ? monitor->refresh_rate : 0);

    create_particle_list();

    load_textures();
    load_sounds();
    return 0;
}

static bool pointer_over_client(const Window *window) {
    if (!input_state) return false;
    i32 x = input_state->records[BUTTON_MOUSE_POINTER].value.x;
    i32 y = input_state->records[BUTTON_MOUSE_POINTER].value.y;
    return x >= window->client_pos.x && x < window->client_pos.x + window->client_size.width &&
           y >= window->client_pos.y && y < window->client_pos.y + window->client_size.height;
}

bool frame_pass_begin(u64 ticks) {
    frame_clock_update(&frame_clock, ticks);
    if (!session_frame_start()) return false;
    input_begin_frame();
    os_pump_messages();
    return (main_window->flags & WINDOW_OPEN) != 0;
}

void frame_pass_draw(void) {
    // The window class has no cursor of its own.
    if (pointer_over_client(main_window)) os_set_cursor(CURSOR_ARROW);
    session_frame_input();
    camera.view_size.width = (f32)main_window->client_size.width / camera.zoom;
    camera.view_size.height = (f32)main_window->client_size.height / camera.zoom;
    game_frame();
    session_frame_end();
}

void frame_pass_end(void) {
    os_swap_buffers(main_window);
    os_update_audio();
}

bool run_frame_pass(void) {
    if (!frame_pass_begin(os_get_ticks())) return false;
    frame_pass_draw();
    frame_pass_end();
    i64 remaining = session_remaining_us(os_get_ticks());
    if (remaining > 0) os_sleep_microseconds((u64)remaining);
    return true;
}

void run_frame_loop(void) {
    while (run_frame_pass()) {}
    // The window has closed.  The sound device is stopped before the process
    // ends, rather than left playing into the exit, where the system's sound
    // thread could be cut off in the middle of its work.
    os_shutdown_audio();
}

int run_game(void) {
    int rc = main_init();
    if (rc) return rc;
    run_frame_loop();
    return 0;
}
