// Start-up and the machine's facts in a page.  The program's files lie at the
// root of the page's file system, so the program itself is /fathomer there;
// its arguments are the ones the page hands to main (Module.arguments).
#include <emscripten.h>
#include <string.h>
#include <unistd.h>

#include "os/clock.h"
#include "os/memory.h"
#include "os/path_text.h"
#include "os/system.h"

#define WEB_PROGRAM_NAME "fathomer"

void os_init(void) {
    // os_get_ticks counts nanoseconds of the monotonic clock.
    os_counter_frequency = 1000000000u;
}

i32 os_get_cpu_count(void) {
    int n = EM_ASM_INT(return (navigator && navigator.hardwareConcurrency) | 0;);
    return n > 0 ? n : 1;
}

// Browsers tell at most a rough figure in gigabytes, and some none.
u64 os_get_installed_memory(void) {
    double gib = EM_ASM_DOUBLE(return (navigator && navigator.deviceMemory) || 0;);
    return (u64)(gib * 1073741824.0);
}

// The arguments after the program's name, NUL-separated as /proc/self/cmdline
// lists them.
EM_JS(int, web_arguments_length, (void), {
    var args = Module['arguments'] || [];
    var n = 0;
    for (var i = 0; i < args.length; i++) n += lengthBytesUTF8(String(args[i])) + 1;
    return n;
});

EM_JS(void, web_arguments_copy, (char *out), {
    var args = Module['arguments'] || [];
    for (var i = 0; i < args.length; i++) {
        var text = String(args[i]);
        var size = lengthBytesUTF8(text) + 1;
        stringToUTF8(text, out, size);
        out += size;
    }
});

Str os_get_command_line(void) {
    static Str line;
    if (line.data) return line;
    u64 name = sizeof(WEB_PROGRAM_NAME);
    u64 len = name + (u64)web_arguments_length();
    char *args = (char *)os_alloc(len);
    if (!args) return line;
    memcpy(args, WEB_PROGRAM_NAME, name);
    web_arguments_copy(args + name);
    line = os_command_line_from_arguments(args, len);
    os_free(args);
    return line;
}

Str os_get_exe_path(void) { return STR("/" WEB_PROGRAM_NAME); }

Str os_get_current_directory(void) {
    static Str dir;
    if (dir.data) return dir;
    char buffer[4096];
    if (getcwd(buffer, sizeof(buffer))) dir = os_path_as_directory(buffer, strlen(buffer));
    return dir;
}

// The page's one thread.
u32 os_get_thread_id(void) { return 1; }
