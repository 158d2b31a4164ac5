#include <malloc.h>
#include <stdlib.h>

#include "os/memory.h"

void *os_alloc(u64 size) { return malloc(size ? size : 1); }
void *os_alloc_zeroed(u64 size) { return calloc(1, size ? size : 1); }
void *os_realloc(void *ptr, u64 size) { return realloc(ptr, size ? size : 1); }
int os_free(void *ptr) {
    free(ptr);
    return 1;
}
u64 os_alloc_size(void *ptr) { return malloc_usable_size(ptr); }
