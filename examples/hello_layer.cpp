// A small program on the platform layer and the renderer: it opens a window,
// draws a ring of coloured squares that turns, and plays a chord that fades
// from ear to ear.  Closing the window ends it; "--frames N" ends it after N
// frames (the tests run it that way).  It is built against the installed
// layer: see CMakeLists.txt beside it.
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "sound/sounds.h"
#include "os/clock.h"
#include "os/gl_context.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/system.h"
#include "os/window.h"
#include "os/window_ops.h"
#include "render/gl_functions.h"
#include "render/graphics_init.h"
#include "render/renderer.h"

#define SQUARES 12
#define TONE_FRAMES 44100  // one second, looped

// One second of a soft major chord, 16-bit stereo, that loops without a click
// (every partial completes whole cycles in the second).
static i16 *make_chord(void) {
    i16 *samples = (i16 *)malloc(TONE_FRAMES * 2 * sizeof(i16));
    if (!samples) return nullptr;
    const double hz[3] = {220.0, 277.0, 330.0};
    for (u32 i = 0; i < TONE_FRAMES; i++) {
        double t = (double)i / TONE_FRAMES, v = 0;
        for (double f : hz) v += sin(2 * 3.14159265358979 * f * t);
        i16 s = (i16)(v / 3 * 12000);
        samples[2 * i] = s;
        samples[2 * i + 1] = s;
    }
    return samples;
}

static u64 frames_wanted(int argc, char **argv) {
    for (int i = 1; i + 1 < argc; i++)
        if (strcmp(argv[i], "--frames") == 0) return strtoull(argv[i + 1], nullptr, 10);
    return 0;  // until the window is closed
}

int main(int argc, char **argv) {
    os_init();
    // The layer builds paths and per-frame text in the temporary arena.
    arena_create(&temp_arena, 1 << 20);
    u64 frame_limit = frames_wanted(argc, argv);

    Window *window = os_create_window(640, 360, STR("Layer example"), WINDOW_HIDDEN | WINDOW_OPENGL);
    if (!window) {
        log_printf("No window could be opened\n");
        return 1;
    }
    os_center_window(window);
    // Shows the window and sets up the renderer; the shaders come from
    // shaders/ beside the executable.
    if (init_graphics(window) <= 0) {
        log_printf("No usable OpenGL context\n");
        return 1;
    }

    // Without a sound device every audio call below does nothing.
    bool sound = os_init_audio(window) != nullptr;
    os_set_master_volume(0.5f);
    i16 *chord = make_chord();
    SoundHandle tone = chord ? os_create_sound(TONE_FRAMES * 4, chord, 1.0f) : 0;
    free(chord);  // the mixer keeps its own copy
    VoiceHandle voice = os_play_sound(tone, 0.3f, 0.0f, SOUND_LOOP);

    Camera camera = {};
    camera.zoom = 1.0f;
    u64 start = os_get_ticks(), frames = 0;
    while (window->flags & WINDOW_OPEN) {
        os_pump_messages();
        if (!(window->flags & WINDOW_OPEN)) break;
        f64 seconds = (f64)(os_get_ticks() - start) / (f64)os_counter_frequency;

        camera.view_size.width = (f32)window->client_size.width;
        camera.view_size.height = (f32)window->client_size.height;
        begin_frame();
        glUseProgram(renderer.shader.program);
        set_frame_uniforms(&camera, (u64)(seconds * 1000));
        for (int i = 0; i < SQUARES; i++) {
            f64 angle = seconds + i * (2 * 3.14159265358979 / SQUARES);
            SpriteInstance *q = push_instance();
            memset(q, 0, sizeof(*q));
            q->position[0] = (f32)(camera.view_size.width / 2 + cos(angle) * 120);
            q->position[1] = (f32)(camera.view_size.height / 2 + sin(angle) * 120);
            q->size[0] = q->size[1] = 36;
            q->anchor[0] = q->anchor[1] = 0.5f;
            q->rotation = (f32)angle;
            q->fill_color[0] = (u8)(128 + 127 * cos(angle));
            q->fill_color[1] = (u8)(128 + 127 * sin(angle));
            q->fill_color[2] = 200;
            q->fill_color[3] = 255;
        }
        draw_instances();
        os_swap_buffers(window);

        // The chord wanders from one ear to the other.
        Voice *v = os_get_voice(voice);
        if (v) v->pan = (f32)sin(seconds);
        os_update_audio();

        frames++;
        arena_reset(&temp_arena);
        if (frame_limit && frames >= frame_limit) break;
        os_sleep_microseconds(16000);
    }
    log_printf("Drew %llu frames; sound %s\n", (unsigned long long)frames, sound ? "played" : "unavailable");
    // The sound device is stopped before the process ends: left playing into
    // the exit, its thread can be cut off in the middle of its work (a crash
    // at exit under Wine).
    os_shutdown_audio();
    return 0;
}
