#include <string.h>

#include "os/memory.h"

// Buffers are sized in 32 bits: growth that would pass 4 GiB fails instead.
static const u64 DYNARRAY_MAX_BYTES = 0xFFFFFFFFull;
static const u64 DYNARRAY_LINEAR_STEP = 0x100000;

DynArray dynarray_create(u64 element_size, u64 initial_capacity) {
    DynArray a = {0, 0, nullptr};
    u64 bytes = element_size * initial_capacity;
    if (bytes == 0 || bytes > DYNARRAY_MAX_BYTES) return a;
    a.items = os_alloc(bytes);
    if (a.items) a.capacity = initial_capacity;
    return a;
}

void *dynarray_push(DynArray *array, u64 element_size, const void *element) {
    if (array->capacity < array->count + 1) {
        u64 capacity = array->capacity ? array->capacity : DYNARRAY_MIN_CAPACITY;
        while (capacity < array->count + 1) {
            if (element_size * capacity < DYNARRAY_LINEAR_STEP) capacity *= 2;
            else capacity += DYNARRAY_LINEAR_STEP;
        }
        u64 bytes = capacity * element_size;
        void *items = nullptr;
        if (bytes <= DYNARRAY_MAX_BYTES)
            items = array->items ? os_realloc(array->items, bytes) : os_alloc(bytes);
        if (!items) {
            // Nothing else can reach the old buffer once the record is cleared.
            if (array->items) os_free(array->items);
            *array = DynArray{0, 0, nullptr};
            return nullptr;
        }
        array->items = items;
        array->capacity = capacity;
    }
    u8 *slot = (u8 *)array->items + array->count * element_size;
    memcpy(slot, element, element_size);
    array->count++;
    return slot;
}
