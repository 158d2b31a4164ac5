// Start-up of the platform layer and questions about the machine.
#pragma once

#include "os/types.h"

enum : u8 { MONITOR_PRIMARY = 0x01 };

struct Monitor {
    u8 flags;
    struct { i32 x, y; } rect_pos;
    struct { i32 width, height; } rect_size;
    struct { i32 x, y; } position;
    struct { i32 width, height; } resolution;
    i32 refresh_rate;  // 60 when the system reports 0 or 1
    Str name;
    void *handle;  // null only in the fallback record of os_get_default_monitor
    // The part of the monitor that windows may take: rect less the taskbars
    // and panels (the whole rect where the system keeps none).
    struct { i32 x, y; } work_pos;
    struct { i32 width, height; } work_size;
};

// Reads the counter frequency, makes the process DPI-aware and asks for a
// 1 ms timer resolution so that sleeps last about what they ask.  Later calls
// do nothing.
void os_init(void);
i32 os_get_cpu_count(void);
u64 os_get_installed_memory(void);

// The cached strings below are computed on the first call and returned again
// (same pointer) afterwards; they are NUL-terminated and live until exit.

// The whole command line, the program's own path first, trailing spaces
// dropped, written by the Windows rules on both systems (see
// os_command_line_from_arguments), so that every argument splits back whole.
Str os_get_command_line(void);
// The executable's full path with "/" separators.
Str os_get_exe_path(void);
// The executable's file name without its directory.
Str os_get_exe_name(void);
// The current directory at the first call, with "/" separators and a final "/".
Str os_get_current_directory(void);
u32 os_get_thread_id(void);

// Enumerates the monitors into the process-wide list and reports it (either
// out pointer may be null).  Every call enumerates afresh and replaces the
// list, so records and names from an earlier call must not be kept.  A system
// without a display reports 0 monitors and a null first.
void os_get_monitors(i32 *count, Monitor **first);
// The first listed monitor, enumerating first if nothing was listed yet.
// Never null: without any monitor it is a fallback record (primary, 1920x1080
// at 60 Hz, name "default", null handle) so frame pacing and centring still work.
Monitor *os_get_default_monitor(void);

// The command-line text as os_get_command_line keeps it: trailing spaces
// dropped, copied to the heap with a NUL behind it.
Str os_command_line_from_text(const char *text, u64 len);
// Writes one argument so that Windows programs' start-up code reads it back
// unchanged: as it is, unless it is empty or holds a space, a tab or a double
// quote; then in double quotes, each quote escaped by a backslash and the
// backslashes before a quote or before the closing quote doubled.  out has
// room for 2 * arg.len + 2 bytes; returns the bytes written.
u64 os_quote_argument(Str arg, char *out);
// A command line from NUL-separated arguments, the program's name first (as
// /proc/self/cmdline lists them): each written by os_quote_argument, the name
// by the rule for names (quoted whole when it must be), joined by spaces, on
// the heap with a NUL behind it.
Str os_command_line_from_arguments(const char *args, u64 len);
