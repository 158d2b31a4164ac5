// Child processes over the system's pipes and process calls: the pipe set-up
// with its result codes, the start, the output loop of a run and the close.
#include <string.h>

#include "os/backend.h"
#include "os/log.h"

// Both pipes with the child's ends inheritable and the parent's own ends
// private.  On failure nothing stays open.
static u32 create_pipes(Process *p) {
    if (!backend_create_pipe(p, &p->stdout_read, &p->child_stdout)) return PROCESS_ERROR_OUTPUT_PIPE;
    u32 result = PROCESS_STARTED;
    if (!backend_make_private(p->stdout_read)) result = PROCESS_ERROR_OUTPUT_PRIVATE;
    else if (!backend_create_pipe(p, &p->child_stdin, &p->stdin_write)) result = PROCESS_ERROR_INPUT_PIPE;
    else if (!backend_make_private(p->stdin_write)) result = PROCESS_ERROR_INPUT_PRIVATE;
    if (result != PROCESS_STARTED) {
        backend_close_handle(&p->stdout_read);
        backend_close_handle(&p->child_stdout);
        backend_close_handle(&p->child_stdin);
        backend_close_handle(&p->stdin_write);
    }
    return result;
}

static void close_all(Process *p) {
    backend_release_child(p);
    backend_close_handle(&p->child_stdin);
    backend_close_handle(&p->child_stdout);
    backend_close_handle(&p->stdin_write);
    backend_close_handle(&p->stdout_read);
}

u32 os_start_process(Process *process, Str command, bool show_window) {
    memset(process, 0, sizeof(*process));
    u32 result = create_pipes(process);
    if (result != PROCESS_STARTED) return result;
    if (!backend_create_child(process, command, show_window)) {
        close_all(process);
        return PROCESS_ERROR_START;
    }
    return PROCESS_STARTED;
}

u32 os_run_process(Str command, ProcessOutputCallback callback, bool show_window) {
    if (!callback) return backend_run_detached(command, show_window);
    Process p;
    u32 result = os_start_process(&p, command, show_window);
    if (result != PROCESS_STARTED) return result;
    // Without the child's ends here the output pipe ends when the child's
    // output closes, and a child reading its input sees the end of it.
    backend_close_handle(&p.child_stdin);
    backend_close_handle(&p.child_stdout);
    backend_close_handle(&p.stdin_write);

    char buffer[4096];
    for (;;) {
        i64 got = backend_read_pipe(p.stdout_read, buffer, sizeof(buffer));
        if (got <= 0) break;
        callback(Str{(u64)got, buffer});
    }
    u32 code;
    if (!backend_wait_exit_code(&p, &code)) {
        os_printf("%i\n", 3110);
        code = PROCESS_ERROR_EXIT_CODE;
    }
    close_all(&p);
    return code;
}

void os_close_process(Process *process) {
    if (os_is_process_running(process)) backend_end_child(process);
    close_all(process);
}
