// Entry point: start-up, then the frame loop until the window closes.  The
// only options record a game or replay one, through the frame step's hooks.
#include "game/frame_step.h"
#include "game/launch_options.h"
#include "game/record_replay.h"
#include "game/startup.h"
#include "os/log.h"
#include "os/system.h"

static int session_exit_code;

static void end_session(void) { session_exit_code = session_close(); }

int main(int argc, char **) {
    // Without arguments nothing else is looked at.
    if (argc <= 1) return run_game();
    LaunchOptions options;
    const char *error = nullptr;
    if (!parse_launch_options(os_get_command_line(), &options, &error)) {
        log_printf("fathomer: %s\n%s", error, LAUNCH_USAGE);
        return 2;
    }
    FrameHooks hooks;
    int rc = session_open(&options, &hooks);
    if (rc) return rc;
    if (options.fast) {
        headless_init();
        frame_loop(&hooks, nullptr, end_session);
    } else {
        rc = main_init(hooks.events);
        if (rc) return rc;
        frame_loop(&hooks, main_window, end_session);
    }
    // In a page the session is still running here; its report comes at its end.
    return session_exit_code;
}
