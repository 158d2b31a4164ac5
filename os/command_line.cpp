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

static bool needs_quotes(Str text) {
    if (text.len == 0) return true;
    for (u64 i = 0; i < text.len; i++)
        if (text.data[i] == ' ' || text.data[i] == '\t' || text.data[i] == '"') return true;
    return false;
}

u64 os_quote_argument(Str arg, char *out) {
    if (!needs_quotes(arg)) {
        memcpy(out, arg.data, arg.len);
        return arg.len;
    }
    u64 n = 0, slashes = 0;
    out[n++] = '"';
    for (u64 i = 0; i < arg.len; i++) {
        char c = arg.data[i];
        if (c == '"') {
            // The backslashes before it are doubled and one more escapes it.
            for (u64 k = 0; k <= slashes; k++) out[n++] = '\\';
        }
        slashes = c == '\\' ? slashes + 1 : 0;
        out[n++] = c;
    }
    // Those before the closing quote are doubled as well.
    for (u64 k = 0; k < slashes; k++) out[n++] = '\\';
    out[n++] = '"';
    return n;
}

// The program's name is read by a rule of its own, where quotes only group and
// backslashes are path separators: it is quoted whole, and a quote in it
// (which only a POSIX name can hold) closes and opens again, so the name still
// ends where it should.
static u64 quote_program_name(Str name, char *out) {
    if (!needs_quotes(name)) {
        memcpy(out, name.data, name.len);
        return name.len;
    }
    u64 n = 0;
    out[n++] = '"';
    for (u64 i = 0; i < name.len; i++) {
        if (name.data[i] == '"') out[n++] = '"';
        out[n++] = name.data[i];
    }
    out[n++] = '"';
    return n;
}

Str os_command_line_from_arguments(const char *args, u64 len) {
    // Every argument at most doubles and gains two quotes and a separator.
    char *line = (char *)os_alloc(3 * len + 3);
    if (!line) return Str{0, nullptr};
    u64 n = 0, start = 0;
    for (u64 i = 0; i <= len; i++) {
        if (i < len && args[i] != 0) continue;
        if (i == len && start == len) break;  // the last argument had its NUL
        Str arg = {i - start, args + start};
        if (start > 0) line[n++] = ' ';
        n += start == 0 ? quote_program_name(arg, line + n) : os_quote_argument(arg, line + n);
        start = i + 1;
    }
    line[n] = 0;
    return Str{n, line};
}
