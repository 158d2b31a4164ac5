#include <windows.h>
#include <string.h>

#include "os/library.h"
#include "os/memory.h"
#include "os/win32/utf16.h"

Library os_load_library(Str path) {
    Library library = {nullptr, 0};
    wchar_t *wide = os_utf16_from_utf8_alloc(path);
    if (!wide) return library;
    library.handle = LoadLibraryW(wide);
    library.loaded = library.handle ? 1 : 0;
    os_free(wide);
    return library;
}

void os_free_library(Library *library) {
    if (library->loaded) FreeLibrary((HMODULE)library->handle);
    library->handle = nullptr;
    library->loaded = 0;
}

void *os_get_library_symbol(Library *library, Str name) {
    if (!library->loaded) return nullptr;
    // The system wants a NUL-terminated name; the Str need not have one.
    char small[256];
    char *copy = name.len < sizeof(small) ? small : (char *)os_alloc(name.len + 1);
    if (!copy) return nullptr;
    if (name.len) memcpy(copy, name.data, name.len);
    copy[name.len] = 0;
    void *symbol = (void *)GetProcAddress((HMODULE)library->handle, copy);
    if (copy != small) os_free(copy);
    return symbol;
}
