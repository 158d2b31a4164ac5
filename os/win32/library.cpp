#include <windows.h>
#include <string.h>

#include "os/library.h"
#include "os/memory.h"

// UTF-8 to NUL-terminated UTF-16 on the heap; null on failure.
static wchar_t *utf16_from_utf8(Str text) {
    if (text.len > 0x7fffffff) return nullptr;
    int units = text.len ? MultiByteToWideChar(CP_UTF8, 0, text.data, (int)text.len, nullptr, 0) : 0;
    if (text.len && units <= 0) return nullptr;
    wchar_t *out = (wchar_t *)os_alloc(((u64)units + 1) * sizeof(wchar_t));
    if (!out) return nullptr;
    if (units) MultiByteToWideChar(CP_UTF8, 0, text.data, (int)text.len, out, units);
    out[units] = 0;
    return out;
}

Library os_load_library(Str path) {
    Library library = {nullptr, 0};
    wchar_t *wide = utf16_from_utf8(path);
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
