// A page starts no programs: the pipes cannot be made, so every start fails
// at its first step, as the shared rules report it.
#include "os/backend.h"
#include "os/log.h"

bool backend_create_pipe(Process *, void **read_end, void **write_end) {
    os_printf("FAILED backend_create_pipe a page starts no child processes\n");
    *read_end = nullptr;
    *write_end = nullptr;
    return false;
}
bool backend_make_private(void *) { return false; }
void backend_close_handle(void **handle) { *handle = nullptr; }
bool backend_create_child(Process *, Str, bool) { return false; }
i64 backend_read_pipe(void *, void *, u32) { return -1; }
bool backend_wait_exit_code(Process *, u32 *) { return false; }
void backend_end_child(Process *) {}
void backend_release_child(Process *process) { process->process_info.process = nullptr; }

u32 backend_run_detached(Str, bool) {
    os_printf("FAILED backend_run_detached a page starts no child processes\n");
    return PROCESS_ERROR_OUTPUT_PIPE;
}

i64 os_write_process_input(Process *, u32, const void *) { return -1; }
i64 os_read_process_output(Process *, u32, void *) { return -1; }
bool os_is_process_running(Process *) { return false; }
bool os_wait_process_idle(Process *) { return false; }
