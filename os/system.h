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
    void *handle;
};

// Reads the counter frequency, makes the process DPI-aware and asks for a
// 1 ms timer resolution so that sleeps last about what they ask.
void os_init(void);
i32 os_get_cpu_count(void);
u64 os_get_installed_memory(void);
Str os_get_command_line(void);
Str os_get_exe_name(void);
Str os_get_current_directory(void);
u32 os_get_thread_id(void);
// Enumerates the monitors into the process-wide list and reports it.
void os_get_monitors(i32 *count, Monitor **first);
Monitor *os_get_default_monitor(void);
