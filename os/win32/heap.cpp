#include <windows.h>

#include "os/memory.h"

void *os_alloc(u64 size) { return HeapAlloc(GetProcessHeap(), 0, (SIZE_T)size); }
void *os_alloc_zeroed(u64 size) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (SIZE_T)size); }
void *os_realloc(void *ptr, u64 size) { return HeapReAlloc(GetProcessHeap(), 0, ptr, (SIZE_T)size); }
int os_free(void *ptr) { return HeapFree(GetProcessHeap(), 0, ptr) ? 1 : 0; }
u64 os_alloc_size(void *ptr) { return (u64)HeapSize(GetProcessHeap(), 0, ptr); }
