#include "game/data_manifest.h"

#include <string.h>

static const char MANIFEST_TITLE[] = "Fathomer game data in another form\n";
static const char MADE_FROM[] = "made from ";
static const char CONTENTS[] = "contents ";

static u32 put(char *out, u32 at, const char *text) {
    u32 n = (u32)strlen(text);
    memcpy(out + at, text, n);
    return at + n;
}

static u32 put_line(char *out, u32 at, const char *label, u64 value) {
    at = put(out, at, label);
    for (int shift = 60; shift >= 0; shift -= 4) out[at++] = "0123456789ABCDEF"[(value >> shift) & 15];
    out[at++] = '\n';
    return at;
}

u32 data_manifest_text(const DataManifest *manifest, char *out) {
    u32 at = put(out, 0, MANIFEST_TITLE);
    at = put_line(out, at, MADE_FROM, manifest->made_from);
    at = put_line(out, at, CONTENTS, manifest->contents);
    return at;
}

// A label, 16 upper-case hexadecimal digits and a line end, at *at.
static bool read_line(const u8 *bytes, u64 size, u64 *at, const char *label, u64 *value) {
    u64 n = strlen(label);
    if (size - *at < n + 17 || memcmp(bytes + *at, label, n) != 0) return false;
    const u8 *p = bytes + *at + n;
    u64 v = 0;
    for (int i = 0; i < 16; i++) {
        u8 c = p[i];
        u8 digit = (c >= '0' && c <= '9') ? (u8)(c - '0') : (c >= 'A' && c <= 'F') ? (u8)(c - 'A' + 10) : 16;
        if (digit == 16) return false;
        v = (v << 4) | digit;
    }
    if (p[16] != '\n') return false;
    *value = v;
    *at += n + 17;
    return true;
}

bool data_manifest_parse(const u8 *bytes, u64 size, DataManifest *manifest) {
    u64 title = sizeof(MANIFEST_TITLE) - 1;
    if (!bytes || size < title || memcmp(bytes, MANIFEST_TITLE, title) != 0) return false;
    u64 at = title;
    DataManifest m = {};
    if (!read_line(bytes, size, &at, MADE_FROM, &m.made_from) || !read_line(bytes, size, &at, CONTENTS, &m.contents))
        return false;
    if (at != size) return false;
    *manifest = m;
    return true;
}
