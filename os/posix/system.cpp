#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "os/clock.h"
#include "os/memory.h"
#include "os/path_text.h"
#include "os/system.h"

void os_init(void) {
    // os_get_ticks counts nanoseconds of the monotonic clock.
    os_counter_frequency = 1000000000u;
}

i32 os_get_cpu_count(void) {
    long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? (i32)n : 1;
}

u64 os_get_installed_memory(void) {
    long pages = sysconf(_SC_PHYS_PAGES);
    long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page_size <= 0) return 0;
    return (u64)pages * (u64)page_size;
}

// The whole of a /proc file, which reports no size of its own; NUL-terminated
// heap text (os_free), null on failure.
static char *read_proc_file(const char *path, u64 *len) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    u64 capacity = 4096, used = 0;
    char *text = (char *)os_alloc(capacity);
    while (text) {
        if (used + 1 == capacity) {
            char *grown = (char *)os_realloc(text, capacity * 2);
            if (!grown) {
                os_free(text);
                text = nullptr;
                break;
            }
            text = grown;
            capacity *= 2;
        }
        ssize_t n = read(fd, text + used, capacity - 1 - used);
        if (n < 0) {
            os_free(text);
            text = nullptr;
        } else if (n == 0) {
            text[used] = 0;
            *len = used;
            break;
        } else {
            used += (u64)n;
        }
    }
    close(fd);
    return text;
}

Str os_get_command_line(void) {
    static Str line;
    if (line.data) return line;
    u64 len = 0;
    char *args = read_proc_file("/proc/self/cmdline", &len);
    if (!args) return line;
    line = os_command_line_from_arguments(args, len);
    os_free(args);
    return line;
}

Str os_get_exe_path(void) {
    static Str path;
    if (path.data) return path;
    for (u64 size = 256; size <= 65536; size *= 2) {
        char *buffer = (char *)os_alloc(size);
        if (!buffer) break;
        ssize_t n = readlink("/proc/self/exe", buffer, size);
        if (n >= 0 && (u64)n < size) {
            buffer[n] = 0;
            path = Str{(u64)n, buffer};
            break;
        }
        os_free(buffer);
        if (n < 0) break;
    }
    return path;
}

Str os_get_current_directory(void) {
    static Str dir;
    if (dir.data) return dir;
    for (u64 size = 256; size <= 65536; size *= 2) {
        char *buffer = (char *)os_alloc(size);
        if (!buffer) break;
        bool got = getcwd(buffer, size) != nullptr;
        bool too_small = !got && errno == ERANGE;
        if (got) dir = os_path_as_directory(buffer, strlen(buffer));
        os_free(buffer);
        if (!too_small) break;
    }
    return dir;
}

u32 os_get_thread_id(void) { return (u32)syscall(SYS_gettid); }
