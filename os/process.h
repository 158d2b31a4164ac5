// Child processes with their standard input and output on pipes.
#pragma once

#include "os/types.h"

// Results of os_start_process and the failures of os_run_process.  Exit codes
// of the child share this range with them.
enum : u32 {
    PROCESS_STARTED = 0,
    PROCESS_ERROR_OUTPUT_PIPE = 1,     // also: os_run_process without a callback could not start
    PROCESS_ERROR_OUTPUT_PRIVATE = 2,  // the parent's read end could not be kept from the child
    PROCESS_ERROR_INPUT_PIPE = 3,
    PROCESS_ERROR_INPUT_PRIVATE = 4,
    PROCESS_ERROR_START = 5,
    PROCESS_ERROR_EXIT_CODE = 6,
};

// The exit code of a child that has not ended yet.
#define PROCESS_STILL_ACTIVE 259u

// Creation flags.
enum : u32 {
    PROCESS_NORMAL_PRIORITY = 0x20,
    PROCESS_NO_WINDOW = 0x08000000,  // unless the caller asks for the console window
};

// The system records a child is created with, in the Windows layout.  Handles
// are system handles; the POSIX backend keeps a file descriptor plus one in
// them, so that 0 means no handle on both.
struct ProcessSecurity {
    u32 length;  // 24
    void *descriptor;
    i32 inherit_handles;
};

enum : u32 { PROCESS_USE_STD_HANDLES = 0x100 };

struct ProcessStartup {
    u32 size;  // 104
    char *reserved;
    char *desktop;
    char *title;
    u32 x, y, width, height;
    u32 columns, rows;
    u32 fill_attribute;
    u32 flags;
    u16 show_window;
    u16 reserved2_size;
    u8 *reserved2;
    void *std_input;
    void *std_output;
    void *std_error;
};

struct ProcessInfo {
    void *process;
    void *thread;
    u32 process_id;
    u32 thread_id;
};

#if UINTPTR_MAX > 0xFFFFFFFFu
static_assert(sizeof(ProcessSecurity) == 24, "");
static_assert(sizeof(ProcessStartup) == 104, "");
static_assert(offsetof(ProcessStartup, flags) == 60, "");
static_assert(offsetof(ProcessStartup, std_input) == 80, "");
static_assert(sizeof(ProcessInfo) == 24, "");
#else  // 32-bit pointers (WebAssembly), as the 32-bit Windows layout has them
static_assert(sizeof(ProcessSecurity) == 12, "");
static_assert(sizeof(ProcessStartup) == 68, "");
static_assert(offsetof(ProcessStartup, flags) == 44, "");
static_assert(offsetof(ProcessStartup, std_input) == 56, "");
static_assert(sizeof(ProcessInfo) == 16, "");
#endif

// Filled by os_start_process in the caller's memory.
struct Process {
    void *child_stdin;   // read end of the input pipe
    void *stdin_write;   // the parent writes the child's input here
    void *stdout_read;   // the parent reads the child's output here
    void *child_stdout;  // the child's standard output and standard error
    u32 creation_flags;
    ProcessSecurity security;
    ProcessStartup startup;
    ProcessInfo process_info;
};

// Output of the child, valid only during the call.
typedef void (*ProcessOutputCallback)(Str output);

// The command is the whole command line.  Without a callback the child is only
// started and its exit code asked for at once (PROCESS_STILL_ACTIVE while it
// runs).  With one, its output is handed over in pieces of at most 4096 bytes
// until it ends, and its exit code is returned.
u32 os_run_process(Str command, ProcessOutputCallback callback, bool show_window);
// PROCESS_STARTED or one of the errors.  The caller polls the output and the
// running state, then calls os_close_process.
u32 os_start_process(Process *process, Str command, bool show_window);
// Bytes written, or -1.
i64 os_write_process_input(Process *process, u32 count, const void *bytes);
// Never blocks: bytes read (at most max), 0 when nothing is waiting, -1 on failure.
i64 os_read_process_output(Process *process, u32 max, void *buffer);
bool os_is_process_running(Process *process);
// Waits up to 5000 ms until the child waits for input with none pending.
bool os_wait_process_idle(Process *process);
// Ends a child that still runs (exit code 0) and closes every handle of the
// record, the parent's pipe ends included; the handles are zeroed.
void os_close_process(Process *process);
