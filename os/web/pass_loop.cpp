// A page's passes: the browser calls one per animation frame (a hidden tab
// gets none, and the frame clock's long-frame rules take the gap), or, for a
// check without a window, as many as fit in a slice of time before the page
// gets its turn again.
#include <emscripten.h>

#include "os/pass_loop.h"

// A slice short enough that the page stays responsive while a check runs.
#define UNPACED_SLICE_MS 25.0

static struct {
    PassFunction pass;
    PassesDone done;
    void *user;
    bool paced;
} passes;

static void finish(void) {
    emscripten_cancel_main_loop();
    if (passes.done) passes.done(passes.user);
}

static void on_frame(void) {
    if (!passes.pass) return;
    if (passes.paced) {
        if (!passes.pass(passes.user)) finish();
        return;
    }
    double start = emscripten_get_now();
    while (emscripten_get_now() - start < UNPACED_SLICE_MS) {
        if (!passes.pass(passes.user)) {
            finish();
            return;
        }
    }
}

void os_run_passes(PassFunction pass, PassesDone done, void *user, bool paced) {
    passes.pass = pass;
    passes.done = done;
    passes.user = user;
    passes.paced = paced;
    // 0: the browser's animation frames; else a timer that runs with the
    // page hidden too.
    emscripten_set_main_loop(on_frame, paced ? 0 : 1000, false);
}

bool os_passes_follow_display(void) { return true; }

// The page stays responsive with its last frame shown; the log says why.
bool os_halt_passes(void) {
    emscripten_cancel_main_loop();
    passes.pass = nullptr;
    return true;
}
