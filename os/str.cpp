#include <string.h>

#include "os/types.h"

Str str_from_cstr(const char *s) {
    if (!s) return Str{0, nullptr};
    return Str{strlen(s), s};
}

bool str_equal(Str a, Str b) {
    if (a.len != b.len) return false;
    return a.len == 0 || memcmp(a.data, b.data, a.len) == 0;
}
