#include <string.h>

#include "os/memory.h"
#include "os/system.h"

Str os_command_line_from_text(const char *text, u64 len) {
    while (len > 0 && text[len - 1] == ' ') len--;
    char *out = (char *)os_alloc(len + 1);
    if (!out) return Str{0, nullptr};
    if (len) memcpy(out, text, len);
    out[len] = 0;
    return Str{len, out};
}
