// Heap wrappers, the block-chained arena with its string builders, and DynArray.
#pragma once

#include "os/types.h"

// Heap (the process heap): failures return null (0 for os_free) and report nothing.
void *os_alloc(u64 size);
void *os_alloc_zeroed(u64 size);
void *os_realloc(void *ptr, u64 size);  // ptr must not be null
int os_free(void *ptr);
u64 os_alloc_size(void *ptr);

struct ArenaBlock {
    u64 capacity;
    u64 used;
    u8 *base;
};

// capacity, used and base are a working copy of the current block's record.
struct Arena {
    u64 capacity;
    u64 used;
    u8 *base;  // null after a failed block allocation, until the next reset
    ArenaBlock *blocks;
    u64 current;
    u64 block_count;
    u64 min_block_size;
};

void arena_create(Arena *arena, u64 size);
void arena_reset(Arena *arena);
void arena_grow(Arena *arena, u64 need);
// Unaligned bump allocation; null when no block could be had.
void *arena_alloc(Arena *arena, u64 size);
// Concatenates a list of Str ended by an entry whose data is null.  The result
// is followed by a NUL byte that len does not count.
Str arena_concat(Arena *arena, const Str *list);
// Formats with stb_sprintf syntax; the text has no NUL behind it.
Str arena_printf(Arena *arena, const char *format, ...);

// The program's arena for per-frame text and loading-time paths.
extern Arena temp_arena;

struct DynArray {
    u64 count;
    u64 capacity;
    void *items;
};

// Start capacity used when an array whose first allocation failed grows again.
#define DYNARRAY_MIN_CAPACITY 16

DynArray dynarray_create(u64 element_size, u64 initial_capacity);
// Appends a copy of *element; returns its place in the array, or null when
// growing failed (the array is then emptied).
void *dynarray_push(DynArray *array, u64 element_size, const void *element);
