#include <dlfcn.h>
#include <string.h>

#include "os/library.h"
#include "os/memory.h"

// The system wants NUL-terminated text; a Str need not have it.
static char *terminated_copy(Str text, char *small, u64 small_size) {
    char *copy = text.len < small_size ? small : (char *)os_alloc(text.len + 1);
    if (!copy) return nullptr;
    if (text.len) memcpy(copy, text.data, text.len);
    copy[text.len] = 0;
    return copy;
}

Library os_load_library(Str path) {
    Library library = {nullptr, 0};
    char small[512];
    char *name = terminated_copy(path, small, sizeof(small));
    if (!name) return library;
    library.handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    library.loaded = library.handle ? 1 : 0;
    if (name != small) os_free(name);
    return library;
}

void os_free_library(Library *library) {
    if (library->loaded) dlclose(library->handle);
    library->handle = nullptr;
    library->loaded = 0;
}

void *os_get_library_symbol(Library *library, Str name) {
    if (!library->loaded) return nullptr;
    char small[256];
    char *copy = terminated_copy(name, small, sizeof(small));
    if (!copy) return nullptr;
    void *symbol = dlsym(library->handle, copy);
    if (copy != small) os_free(copy);
    return symbol;
}
