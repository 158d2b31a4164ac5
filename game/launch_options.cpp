#include "game/launch_options.h"

#include <string.h>

#include "os/memory.h"

const char *const LAUNCH_USAGE =
    "Usage: fathomer                         play\n"
    "       fathomer --record FILE           play and record the game into FILE\n"
    "       fathomer --replay FILE           watch a recorded game\n"
    "       fathomer --replay FILE --fast    check a recorded game without a window\n";

#define MAX_ARGS 8

static bool blank(char c) { return c == ' ' || c == '\t'; }

// The argument starting at text[*at], unquoted and unescaped into out (room
// for the whole rest of the line); *at moves past it.
static u64 take_argument(const char *text, u64 len, u64 *at, char *out) {
    u64 n = 0;
    bool quoted = false;
    u64 i = *at;
    while (i < len && (quoted || !blank(text[i]))) {
        if (text[i] == '\\') {
            u64 slashes = 0;
            while (i < len && text[i] == '\\') slashes++, i++;
            if (i < len && text[i] == '"') {
                for (u64 k = 0; k < slashes / 2; k++) out[n++] = '\\';
                if (slashes % 2) out[n++] = '"', i++;
            } else {
                for (u64 k = 0; k < slashes; k++) out[n++] = '\\';
            }
            continue;
        }
        if (text[i] == '"') {
            // "" inside quotes is a quote character.
            if (quoted && i + 1 < len && text[i + 1] == '"') {
                out[n++] = '"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            i++;
            continue;
        }
        out[n++] = text[i++];
    }
    *at = i;
    return n;
}

u32 split_command_line(Str command_line, Str *args, u32 max) {
    const char *text = command_line.data ? command_line.data : "";
    u64 len = command_line.data ? command_line.len : 0;
    // The program's own name: quotes only group, backslashes are path separators.
    u64 i = 0;
    for (bool quoted = false; i < len && (quoted || !blank(text[i])); i++)
        if (text[i] == '"') quoted = !quoted;

    u32 count = 0;
    for (;;) {
        while (i < len && blank(text[i])) i++;
        if (i >= len) return count;
        char *out = (char *)os_alloc(len - i + 1);
        if (!out) return count;
        u64 n = take_argument(text, len, &i, out);
        out[n] = 0;
        if (count < max) args[count] = Str{n, out};
        else os_free(out);
        count++;
    }
}

static bool same(Str s, const char *text) { return s.len == strlen(text) && memcmp(s.data, text, s.len) == 0; }

bool parse_launch_options(Str command_line, LaunchOptions *out, const char **error) {
    *out = LaunchOptions{};
    *error = nullptr;
    Str args[MAX_ARGS] = {};
    u32 count = split_command_line(command_line, args, MAX_ARGS);
    bool ok = true;
    if (count > MAX_ARGS) {
        *error = "too many arguments";
        ok = false;
    }
    for (u32 i = 0; ok && i < count; i++) {
        Str a = args[i];
        if (same(a, "--fast")) {
            if (out->fast) *error = "--fast is given twice";
            out->fast = true;
        } else if (same(a, "--record") || same(a, "--replay")) {
            u8 mode = same(a, "--record") ? LAUNCH_RECORD : LAUNCH_REPLAY;
            if (out->mode != LAUNCH_PLAY) *error = "give either --record or --replay, once";
            else if (i + 1 >= count || args[i + 1].len == 0 || args[i + 1].data[0] == '-') *error = mode == LAUNCH_RECORD ? "--record needs a file name" : "--replay needs a file name";
            else out->mode = mode, out->file = args[++i];
        } else {
            *error = "unknown argument";
        }
        ok = *error == nullptr;
    }
    if (ok && out->fast && out->mode != LAUNCH_REPLAY) {
        *error = "--fast goes with --replay FILE";
        ok = false;
    }
    // The file name stays; the rest is not needed any more.
    for (u32 i = 0; i < count && i < MAX_ARGS; i++)
        if (!(ok && args[i].data == out->file.data)) os_free((void *)args[i].data);
    if (!ok) *out = LaunchOptions{};
    return ok;
}
