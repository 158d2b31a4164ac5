#include <string.h>

#include "os/memory.h"
#include "os/path_text.h"

void os_path_forward_slashes(char *text, u64 len) {
    for (u64 i = 0; i < len; i++)
        if (text[i] == '\\') text[i] = '/';
}

// A heap copy of len bytes with room for spare more and a NUL.
static char *copy_with_room(const char *text, u64 len, u64 spare) {
    char *out = (char *)os_alloc(len + spare + 1);
    if (!out) return nullptr;
    if (len) memcpy(out, text, len);
    out[len] = 0;
    return out;
}

Str os_path_as_directory(const char *text, u64 len) {
    char *out = copy_with_room(text, len, 1);
    if (!out) return Str{0, nullptr};
    os_path_forward_slashes(out, len);
    if (len == 0 || out[len - 1] != '/') out[len++] = '/';
    out[len] = 0;
    return Str{len, out};
}

static u64 after_last_separator(const char *text, u64 len) {
    u64 cut = 0;
    for (u64 i = 0; i < len; i++)
        if (text[i] == '/' || text[i] == '\\') cut = i + 1;
    return cut;
}

Str os_path_directory_part(const char *text, u64 len) {
    u64 cut = after_last_separator(text, len);
    if (cut == 0) cut = len;
    char *out = copy_with_room(text, cut, 0);
    if (!out) return Str{0, nullptr};
    os_path_forward_slashes(out, cut);
    return Str{cut, out};
}

Str os_path_name_part(const char *text, u64 len) {
    u64 cut = after_last_separator(text, len);
    char *out = copy_with_room(text + cut, len - cut, 0);
    if (!out) return Str{0, nullptr};
    return Str{len - cut, out};
}
