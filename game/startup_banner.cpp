#include "game/startup_banner.h"
#include "os/files.h"
#include "os/log.h"
#include "os/system.h"

void log_startup_banner(void) {
    os_init();
    i32 cpu_count = os_get_cpu_count();
    u64 memory = os_get_installed_memory();
    Str command_line = os_get_command_line();
    Str current_dir = os_get_current_directory();
    Str exe_dir = os_get_exe_dir();
    Str exe_name = os_get_exe_name();
    log_printf("---------- %s ----------\nPath: (%s)\nDir:  (%s)\nCMD:  (%s)\nMemory: %lli GB\nCPU cores: %i\n",
               exe_name.data, exe_dir.data, current_dir.data, command_line.data, (long long)(memory >> 30), cpu_count);

    i32 monitor_count = 0;
    Monitor *monitors = nullptr;
    os_get_monitors(&monitor_count, &monitors);
    for (i32 i = 0; i < monitor_count; i++) {
        const Monitor *m = &monitors[i];
        log_printf("Monitor %i = %ihz, Size %ix%i, Pos %i %i, Primary: %i, Name (%s)\n", i, m->refresh_rate,
                   m->resolution.width, m->resolution.height, m->position.x, m->position.y,
                   (m->flags & MONITOR_PRIMARY) ? 1 : 0, m->name.data);
    }
    log_printf("---------- START ----------\n");
}
