#include "game/startup.h"

#include "game/draw.h"
#include "game/frame_clock.h"
#include "game/frame_step.h"
#include "game/game_icon.h"
#include "game/game_vars.h"
#include "game/particles.h"
#include "game/startup_banner.h"
#include "os/audio.h"
#include "os/clock.h"
#include "os/gl_context.h"
#include "os/input.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/system.h"
#include "os/window_ops.h"
#include "render/graphics_init.h"
#include "render/load_textures.h"
#include "sound/sound_bank.h"

Window *main_window;
bool startup_fits_window = true;

void start_game_state(void) {
    game_vars.random_seed = RANDOM_START_SEED;
    arena_create(&temp_arena, 20000000);
    create_particle_list();
}

void headless_init(void) {
    os_init();
    start_game_state();
    draw_headless = true;
}

int main_init(WindowEventCallback events) {
    log_startup_banner();
    start_game_state();

    main_window = os_create_window(GAME_VIEW_WIDTH, GAME_VIEW_HEIGHT, STR("Fathomer"), WINDOW_HIDDEN | WINDOW_OPENGL);
    if (!main_window) return 1;
    // Set while the window is hidden, so that it never shows the system's icon.
    load_window_icon(main_window, STR("img/icon.png"));
    os_center_window(main_window);
    os_set_event_callback(events ? events : handle_input_event);
    // The pacing sleep alone sets the frame rate.
    os_set_swap_interval(0);

    // Loads the GL entry points, shows the grey first frame, logs the GPU and
    // sets up the renderer.
    if (init_graphics(main_window) <= 0) return 1;
    // Once shown: only then do some systems tell the frame around the client.
    // A system that cut the window to its screen gets it back in shape.
    if (startup_fits_window) os_fit_window(main_window, GAME_VIEW_WIDTH, GAME_VIEW_HEIGHT);

    // Without a sound device the game runs silently: every audio call is a no-op.
    os_init_audio(main_window);
    os_set_master_volume(0.2f);

    Monitor *monitor = os_get_default_monitor();
    frame_clock_start(&frame_clock, os_get_ticks(), monitor ? monitor->refresh_rate : 0);

    u32 images = load_textures();
    load_sounds();
    // The one line that tells the scripts driving the game that start-up is
    // over: the frame loop comes next.
    log_printf("Ready: %u of %u images, %u of %u sounds\n", images, LOAD_TEXTURES_IMAGES, sound_bank_loaded(),
               SOUND_BANK_SOUNDS);
    return 0;
}

int run_game(void) {
    int rc = main_init(nullptr);
    if (rc) return rc;
    FrameHooks played = {};
    frame_loop(&played, main_window, nullptr);
    return 0;
}
