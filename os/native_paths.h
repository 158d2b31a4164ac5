// Each system's file calls take a NUL-terminated path of their own kind.  These
// run one call on converted copies of the paths and free them again, so that a
// backend's os_ file function is its system call alone.  A path that cannot be
// converted fails the call.
#pragma once

#include "os/memory.h"
#include "os/types.h"

template <typename Char>
bool os_with_native_path(Str path, Char *(*convert)(Str), bool (*call)(const Char *)) {
    Char *native = convert(path);
    if (!native) return false;
    bool ok = call(native);
    os_free(native);
    return ok;
}

template <typename Char>
bool os_with_native_paths(Str source, Str destination, Char *(*convert)(Str),
                          bool (*call)(const Char *, const Char *)) {
    Char *from = convert(source);
    Char *to = convert(destination);
    bool ok = from && to && call(from, to);
    if (from) os_free(from);
    if (to) os_free(to);
    return ok;
}
