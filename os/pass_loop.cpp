// The desktop's passes: a plain loop on the calling thread; each pass does
// its own pacing sleep.
#include "os/pass_loop.h"

void os_run_passes(PassFunction pass, PassesDone done, void *user, bool) {
    while (pass(user)) {}
    if (done) done(user);
}

bool os_passes_follow_display(void) { return false; }

bool os_halt_passes(void) { return false; }
