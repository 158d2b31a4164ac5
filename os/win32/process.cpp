#include <windows.h>
#include <string.h>

#include "os/log.h"
#include "os/memory.h"
#include "os/process.h"

static_assert(sizeof(ProcessSecurity) == sizeof(SECURITY_ATTRIBUTES), "");
static_assert(offsetof(ProcessSecurity, descriptor) == offsetof(SECURITY_ATTRIBUTES, lpSecurityDescriptor), "");
static_assert(offsetof(ProcessSecurity, inherit_handles) == offsetof(SECURITY_ATTRIBUTES, bInheritHandle), "");
static_assert(sizeof(ProcessStartup) == sizeof(STARTUPINFOW), "");
static_assert(offsetof(ProcessStartup, flags) == offsetof(STARTUPINFOW, dwFlags), "");
static_assert(offsetof(ProcessStartup, show_window) == offsetof(STARTUPINFOW, wShowWindow), "");
static_assert(offsetof(ProcessStartup, std_input) == offsetof(STARTUPINFOW, hStdInput), "");
static_assert(offsetof(ProcessStartup, std_error) == offsetof(STARTUPINFOW, hStdError), "");
static_assert(sizeof(ProcessInfo) == sizeof(PROCESS_INFORMATION), "");
static_assert(offsetof(ProcessInfo, thread_id) == offsetof(PROCESS_INFORMATION, dwThreadId), "");
static_assert(PROCESS_STILL_ACTIVE == STILL_ACTIVE, "");
static_assert(PROCESS_USE_STD_HANDLES == STARTF_USESTDHANDLES, "");
static_assert(PROCESS_NORMAL_PRIORITY == NORMAL_PRIORITY_CLASS && PROCESS_NO_WINDOW == CREATE_NO_WINDOW, "");

// UTF-8 to NUL-terminated UTF-16 on the heap; null on failure.
static wchar_t *utf16_from_utf8(Str text) {
    if (text.len > 0x7fffffff) return nullptr;
    int units = text.len ? MultiByteToWideChar(CP_UTF8, 0, text.data, (int)text.len, nullptr, 0) : 0;
    if (text.len && units <= 0) return nullptr;
    wchar_t *out = (wchar_t *)os_alloc(((u64)units + 1) * sizeof(wchar_t));
    if (!out) return nullptr;
    if (units) MultiByteToWideChar(CP_UTF8, 0, text.data, (int)text.len, out, units);
    out[units] = 0;
    return out;
}

static void close_handle(void **handle) {
    if (*handle) CloseHandle(*handle);
    *handle = nullptr;
}

static u32 creation_flags_for(bool show_window) {
    return NORMAL_PRIORITY_CLASS | (show_window ? 0 : CREATE_NO_WINDOW);
}

// Both pipes with inheritable handles, then the parent's own ends made
// private.  On failure nothing stays open.
static u32 create_pipes(Process *p) {
    p->security.length = sizeof(SECURITY_ATTRIBUTES);
    p->security.descriptor = nullptr;
    p->security.inherit_handles = TRUE;
    SECURITY_ATTRIBUTES sa;
    memcpy(&sa, &p->security, sizeof(sa));
    u32 result = PROCESS_STARTED;
    if (!CreatePipe(&p->stdout_read, &p->child_stdout, &sa, 0)) {
        p->stdout_read = p->child_stdout = nullptr;
        return PROCESS_ERROR_OUTPUT_PIPE;
    }
    if (!SetHandleInformation(p->stdout_read, HANDLE_FLAG_INHERIT, 0)) {
        result = PROCESS_ERROR_OUTPUT_PRIVATE;
    } else if (!CreatePipe(&p->child_stdin, &p->stdin_write, &sa, 0)) {
        p->child_stdin = p->stdin_write = nullptr;
        result = PROCESS_ERROR_INPUT_PIPE;
    } else if (!SetHandleInformation(p->stdin_write, HANDLE_FLAG_INHERIT, 0)) {
        result = PROCESS_ERROR_INPUT_PRIVATE;
    }
    if (result != PROCESS_STARTED) {
        close_handle(&p->stdout_read);
        close_handle(&p->child_stdout);
        close_handle(&p->child_stdin);
        close_handle(&p->stdin_write);
    }
    return result;
}

// Creates the child with the pipes as its standard handles.
static bool create_child(Process *p, Str command, bool show_window) {
    memset(&p->startup, 0, sizeof(p->startup));
    p->startup.size = sizeof(STARTUPINFOW);
    p->startup.flags = STARTF_USESTDHANDLES;
    p->startup.std_input = p->child_stdin;
    p->startup.std_output = p->child_stdout;
    p->startup.std_error = p->child_stdout;
    p->creation_flags = creation_flags_for(show_window);
    memset(&p->process_info, 0, sizeof(p->process_info));
    wchar_t *command_line = utf16_from_utf8(command);
    if (!command_line) return false;
    STARTUPINFOW startup;
    memcpy(&startup, &p->startup, sizeof(startup));
    PROCESS_INFORMATION info;
    memset(&info, 0, sizeof(info));
    BOOL ok = CreateProcessW(nullptr, command_line, nullptr, nullptr, TRUE, p->creation_flags, nullptr, nullptr,
                             &startup, &info);
    os_free(command_line);
    if (!ok) return false;
    memcpy(&p->process_info, &info, sizeof(info));
    return true;
}

static void close_all(Process *p) {
    close_handle(&p->process_info.process);
    close_handle(&p->process_info.thread);
    close_handle(&p->child_stdin);
    close_handle(&p->child_stdout);
    close_handle(&p->stdin_write);
    close_handle(&p->stdout_read);
}

// Started and asked for its exit code at once; it is not waited for.
static u32 run_without_output(Str command, bool show_window) {
    wchar_t *command_line = utf16_from_utf8(command);
    if (!command_line) return 1;
    STARTUPINFOW startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info;
    memset(&info, 0, sizeof(info));
    BOOL ok = CreateProcessW(nullptr, command_line, nullptr, nullptr, FALSE, creation_flags_for(show_window), nullptr,
                             nullptr, &startup, &info);
    os_free(command_line);
    if (!ok) return 1;
    DWORD code = 1;
    if (!GetExitCodeProcess(info.hProcess, &code)) code = 1;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

u32 os_run_process(Str command, ProcessOutputCallback callback, bool show_window) {
    if (!callback) return run_without_output(command, show_window);
    Process p;
    memset(&p, 0, sizeof(p));
    u32 result = create_pipes(&p);
    if (result != PROCESS_STARTED) return result;
    if (!create_child(&p, command, show_window)) {
        close_all(&p);
        return PROCESS_ERROR_START;
    }
    // Without the child's ends here the output pipe ends when the child's
    // output closes, and a child reading its input sees the end of it.
    close_handle(&p.child_stdin);
    close_handle(&p.child_stdout);
    close_handle(&p.stdin_write);

    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(p.stdout_read, buffer, sizeof(buffer), &got, nullptr) || got == 0) break;
        callback(Str{got, buffer});
    }
    // The pipe can end a moment before the exit code is set.
    WaitForSingleObject(p.process_info.process, INFINITE);
    DWORD code;
    if (!GetExitCodeProcess(p.process_info.process, &code)) {
        os_printf("%i\n", 3110);
        code = PROCESS_ERROR_EXIT_CODE;
    }
    close_all(&p);
    return code;
}

u32 os_start_process(Process *process, Str command, bool show_window) {
    memset(process, 0, sizeof(*process));
    u32 result = create_pipes(process);
    if (result != PROCESS_STARTED) return result;
    if (!create_child(process, command, show_window)) {
        close_all(process);
        return PROCESS_ERROR_START;
    }
    return PROCESS_STARTED;
}

i64 os_write_process_input(Process *process, u32 count, const void *bytes) {
    DWORD written = 0;
    if (!WriteFile(process->stdin_write, bytes, count, &written, nullptr)) return -1;
    return written;
}

i64 os_read_process_output(Process *process, u32 max, void *buffer) {
    DWORD waiting = 0;
    if (!PeekNamedPipe(process->stdout_read, nullptr, 0, nullptr, &waiting, nullptr)) return -1;
    if (waiting == 0) return 0;
    DWORD got = 0;
    if (!ReadFile(process->stdout_read, buffer, waiting < max ? waiting : max, &got, nullptr)) return -1;
    return got;
}

bool os_is_process_running(Process *process) {
    return process->process_info.thread && WaitForSingleObject(process->process_info.thread, 0) == WAIT_TIMEOUT;
}

bool os_wait_process_idle(Process *process) {
    return process->process_info.process && WaitForInputIdle(process->process_info.process, 5000) == 0;
}

void os_close_process(Process *process) {
    if (os_is_process_running(process)) TerminateProcess(process->process_info.process, 0);
    close_all(process);
}
