// Block-chained bump allocator and the two string builders that use it.
#include <stdarg.h>
#include <string.h>

#include "os/format.h"
#include "os/memory.h"

Arena temp_arena;

// Block sizes are kept below 4 GiB, like every buffer of the layer.
static const u64 ARENA_MAX_BLOCK = 0xFFFFFFFFull;
static const u64 ARENA_HEADER = 8;
static const u64 ARENA_PRINTF_ROOM = 1024;

static void arena_fail(Arena *arena, u64 size) {
    arena->base = nullptr;
    arena->capacity = size;
    arena->used = 0;
}

void arena_create(Arena *arena, u64 size) {
    memset(arena, 0, sizeof(*arena));
    arena->min_block_size = size;
    ArenaBlock *blocks = (ArenaBlock *)os_alloc(sizeof(ArenaBlock));
    u8 *block = size <= ARENA_MAX_BLOCK ? (u8 *)os_alloc(size) : nullptr;
    if (!blocks || !block) {
        if (blocks) os_free(blocks);
        if (block) os_free(block);
        arena_fail(arena, size);
        return;
    }
    blocks[0] = ArenaBlock{size, 0, block};
    arena->blocks = blocks;
    arena->block_count = 1;
    arena->current = 0;
    arena->capacity = size;
    arena->used = 0;
    arena->base = block;
}

void arena_reset(Arena *arena) {
    if (arena->block_count == 0) return;  // creation failed: nothing to reuse
    arena->blocks[0].used = 0;
    arena->capacity = arena->blocks[0].capacity;
    arena->used = 0;
    arena->base = arena->blocks[0].base;
    arena->current = 0;
}

void arena_grow(Arena *arena, u64 need) {
    u64 size = need > arena->min_block_size ? need : arena->min_block_size;
    // Blocks of earlier frames are reused, in list order, before any new one.
    for (u64 i = arena->current + 1; i < arena->block_count; i++) {
        ArenaBlock *b = &arena->blocks[i];
        if (b->capacity >= size) {
            b->used = 0;
            arena->capacity = b->capacity;
            arena->used = 0;
            arena->base = b->base;
            arena->current = i;
            return;
        }
    }
    u8 *block = size <= ARENA_MAX_BLOCK ? (u8 *)os_alloc(size) : nullptr;
    if (!block) {
        arena_fail(arena, size);
        return;
    }
    // A block list that cannot be extended counts as a failed block allocation.
    u64 list_bytes = (arena->block_count + 1) * sizeof(ArenaBlock);
    ArenaBlock *blocks = arena->blocks ? (ArenaBlock *)os_realloc(arena->blocks, list_bytes)
                                       : (ArenaBlock *)os_alloc(list_bytes);
    if (!blocks) {
        os_free(block);
        arena_fail(arena, size);
        return;
    }
    arena->blocks = blocks;
    blocks[arena->block_count] = ArenaBlock{size, 0, block};
    arena->current = arena->block_count;
    arena->block_count++;
    arena->capacity = size;
    arena->used = 0;
    arena->base = block;
}

void *arena_alloc(Arena *arena, u64 size) {
    if (!arena->base) return nullptr;  // a failed block stays failed until the next reset
    if (arena->capacity < arena->used + size) {
        arena_grow(arena, size);
        if (!arena->base) return nullptr;
    }
    void *p = arena->base + arena->used;
    arena->used += size;
    return p;
}

static void write_header(u8 *at, u64 value) { memcpy(at, &value, sizeof(value)); }

Str arena_concat(Arena *arena, const Str *list) {
    u64 total = 0;
    for (const Str *s = list; s->data; s++) total += s->len;
    u64 reservation = total + ARENA_HEADER + 1;
    u8 *header = (u8 *)arena_alloc(arena, reservation);
    if (!header) return Str{0, nullptr};
    write_header(header, reservation);
    char *text = (char *)header + ARENA_HEADER;
    char *out = text;
    for (const Str *s = list; s->data; s++) {
        if (s->len) memcpy(out, s->data, s->len);
        out += s->len;
    }
    *out = 0;
    return Str{total, text};
}

struct PrintfState {
    Arena *arena;
    u8 *header;
    u64 total;
};

static char *arena_printf_callback(const char *buf, void *user, int len) {
    PrintfState *st = (PrintfState *)user;
    Arena *arena = st->arena;
    st->total += (u64)len;
    arena->used += (u64)len;
    write_header(st->header, st->total);
    if (arena->capacity >= arena->used + ARENA_PRINTF_ROOM) return (char *)arena->base + arena->used;

    // The block runs short: carry the text so far over into a block with room for
    // it and the next chunk, and keep formatting behind the copy.
    const u8 *old_text = st->header + ARENA_HEADER;
    u64 need = st->total + ARENA_HEADER + ARENA_PRINTF_ROOM;
    arena_grow(arena, need);
    if (!arena->base) {
        st->total = 0;
        st->header = nullptr;
        return nullptr;
    }
    u8 *header = arena->base + arena->used;
    memmove(header + ARENA_HEADER, old_text, st->total);
    write_header(header, st->total);
    arena->used += ARENA_HEADER + st->total;
    st->header = header;
    return (char *)arena->base + arena->used;
}

Str arena_printf(Arena *arena, const char *format, ...) {
    if (!arena->base) return Str{0, nullptr};
    if (arena->capacity < arena->used + ARENA_HEADER + ARENA_PRINTF_ROOM) {
        arena_grow(arena, ARENA_HEADER + ARENA_PRINTF_ROOM);
        if (!arena->base) return Str{0, nullptr};
    }
    PrintfState st = {arena, arena->base + arena->used, 0};
    write_header(st.header, ARENA_PRINTF_ROOM);
    arena->used += ARENA_HEADER;
    va_list args;
    va_start(args, format);
    stbsp_vsprintfcb(arena_printf_callback, &st, (char *)arena->base + arena->used, format, args);
    va_end(args);
    if (!st.header) return Str{0, nullptr};
    return Str{st.total, (const char *)st.header + ARENA_HEADER};
}
