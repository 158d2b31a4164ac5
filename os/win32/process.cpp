#include <windows.h>
#include <string.h>

#include "os/backend.h"
#include "os/memory.h"
#include "os/win32/utf16.h"

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

void backend_close_handle(void **handle) {
    if (*handle) CloseHandle(*handle);
    *handle = nullptr;
}

static u32 creation_flags_for(bool show_window) {
    return NORMAL_PRIORITY_CLASS | (show_window ? 0 : CREATE_NO_WINDOW);
}

// Inheritable ends, as the record's security attributes say.
bool backend_create_pipe(Process *p, void **read_end, void **write_end) {
    p->security.length = sizeof(SECURITY_ATTRIBUTES);
    p->security.descriptor = nullptr;
    p->security.inherit_handles = TRUE;
    SECURITY_ATTRIBUTES sa;
    memcpy(&sa, &p->security, sizeof(sa));
    if (CreatePipe(read_end, write_end, &sa, 0)) return true;
    *read_end = *write_end = nullptr;
    return false;
}

bool backend_make_private(void *handle) { return SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0) != 0; }

// Creates the child with the pipes as its standard handles.
bool backend_create_child(Process *p, Str command, bool show_window) {
    memset(&p->startup, 0, sizeof(p->startup));
    p->startup.size = sizeof(STARTUPINFOW);
    p->startup.flags = STARTF_USESTDHANDLES;
    p->startup.std_input = p->child_stdin;
    p->startup.std_output = p->child_stdout;
    p->startup.std_error = p->child_stdout;
    p->creation_flags = creation_flags_for(show_window);
    memset(&p->process_info, 0, sizeof(p->process_info));
    wchar_t *command_line = os_utf16_from_utf8_alloc(command);
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

void backend_release_child(Process *p) {
    backend_close_handle(&p->process_info.process);
    backend_close_handle(&p->process_info.thread);
}

// Started and asked for its exit code at once; it is not waited for.
u32 backend_run_detached(Str command, bool show_window) {
    wchar_t *command_line = os_utf16_from_utf8_alloc(command);
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

i64 backend_read_pipe(void *handle, void *buffer, u32 max) {
    DWORD got = 0;
    if (!ReadFile(handle, buffer, max, &got, nullptr)) return -1;
    return got;
}

bool backend_wait_exit_code(Process *p, u32 *code) {
    // The pipe can end a moment before the exit code is set.
    WaitForSingleObject(p->process_info.process, INFINITE);
    DWORD exit_code;
    if (!GetExitCodeProcess(p->process_info.process, &exit_code)) return false;
    *code = exit_code;
    return true;
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
    return backend_read_pipe(process->stdout_read, buffer, waiting < max ? waiting : max);
}

bool os_is_process_running(Process *process) {
    return process->process_info.thread && WaitForSingleObject(process->process_info.thread, 0) == WAIT_TIMEOUT;
}

bool os_wait_process_idle(Process *process) {
    return process->process_info.process && WaitForInputIdle(process->process_info.process, 5000) == 0;
}

void backend_end_child(Process *process) { TerminateProcess(process->process_info.process, 0); }
