// Dynamic libraries loaded at run time.
#pragma once

#include "os/types.h"

struct Library {
    void *handle;
    u8 loaded;  // 1 when the load succeeded
};

// Searched for by the system's default rules.
Library os_load_library(Str path);
// Unloads a loaded library and zeroes the record.
void os_free_library(Library *library);
// Null when the library is not loaded or has no such export.
void *os_get_library_symbol(Library *library, Str name);
