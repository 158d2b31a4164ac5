// The platform layer's window and context, set up the way start-up does it.
#include "os/memory.h"
#include "os/window.h"
#include "render/graphics_init.h"
#include "render/lib_opengl_loader.h"
#include "tests/stdout_capture.h"
#include "tests/windowed/render_gl_window.h"

static Window *window;
static int version;
static std::string start_log;

Window *render_test_gl_window(void) {
    static bool tried;
    if (tried) {
        // Other tests point the slots elsewhere; load them again for this context.
        if (version > 0) version = load_gl_functions();
        return version > 0 ? window : nullptr;
    }
    tried = true;
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    window = os_create_window(320, 240, STR("render test"), WINDOW_HIDDEN | WINDOW_OPENGL);
    if (!window) return nullptr;
    capture_stdout_begin();
    version = init_graphics(window);
    start_log = capture_stdout_end();
    // Let the window settle (shown, activated) as the frame loop's first pump would.
    os_pump_messages();
    return version > 0 ? window : nullptr;
}

int render_test_gl_version(void) { return version; }

const std::string &render_test_gl_start_log(void) { return start_log; }
