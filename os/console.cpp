#include <stdio.h>
#include <string.h>

#include "os/console.h"

i32 os_read_console_line(i32 size, char *buffer) {
    if (size <= 0) return 0;
    if (!fgets(buffer, size, stdin)) {
        buffer[0] = 0;
        return 0;
    }
    size_t len = strlen(buffer);
    if (len > 0 && buffer[len - 1] == '\n') buffer[--len] = 0;
    return (i32)len;
}
