#include <doctest/doctest.h>
#include <string.h>

#include "os/memory.h"

static void free_arena(Arena *a) {
    for (u64 i = 0; i < a->block_count; i++) os_free(a->blocks[i].base);
    os_free(a->blocks);
}

static u64 header_word(const char *text) {
    u64 v;
    memcpy(&v, text - 8, 8);
    return v;
}

TEST_CASE("arena_concat reserves header, text and NUL exactly") {
    Arena a;
    arena_create(&a, 4096);
    Str parts[] = {STR("abc"), STR("de"), Str{0, nullptr}};
    Str s = arena_concat(&a, parts);
    CHECK(s.len == 5);
    CHECK(memcmp(s.data, "abcde", 6) == 0);  // NUL included
    CHECK(header_word(s.data) == 14);
    CHECK(a.used == 14);

    Str none[] = {Str{0, nullptr}};
    Str empty = arena_concat(&a, none);
    CHECK(empty.len == 0);
    REQUIRE(empty.data != nullptr);
    CHECK(empty.data[0] == 0);
    free_arena(&a);
}

TEST_CASE("arena grows into new blocks and reuses them in list order after a reset") {
    Arena a;
    arena_create(&a, 64);
    u8 *first = a.base;
    void *p = arena_alloc(&a, 40);
    CHECK(p == first);
    memset(p, 0x11, 40);
    void *q = arena_alloc(&a, 40);  // does not fit: a second block of the minimum size
    CHECK(a.block_count == 2);
    CHECK(a.current == 1);
    CHECK(a.capacity == 64);
    CHECK(q == a.blocks[1].base);
    CHECK(((u8 *)p)[39] == 0x11);  // the first block's contents stay valid

    void *big = arena_alloc(&a, 200);  // larger than the minimum: exactly its size
    CHECK(a.block_count == 3);
    CHECK(a.blocks[2].capacity == 200);
    CHECK(big == a.blocks[2].base);

    arena_reset(&a);
    CHECK(a.current == 0);
    CHECK(a.used == 0);
    CHECK(arena_alloc(&a, 10) == first);
    // 60 more bytes do not fit block 0: block 1 comes back before anything new.
    CHECK(arena_alloc(&a, 60) == a.blocks[1].base);
    CHECK(a.current == 1);
    // 100 bytes skip block 1 (full) and take block 2, which is large enough.
    CHECK(arena_alloc(&a, 100) == a.blocks[2].base);
    CHECK(a.block_count == 3);
    free_arena(&a);
}

TEST_CASE("arena_printf formats short, chunked and carried-over texts whole") {
    Arena a;
    arena_create(&a, 1 << 16);
    Str s = arena_printf(&a, "%s=%d", "x", 42);
    CHECK(s.len == 4);
    CHECK(memcmp(s.data, "x=42", 4) == 0);
    CHECK(header_word(s.data) == 4);

    Str e = arena_printf(&a, "%s", "");
    CHECK(e.len == 0);
    CHECK(e.data != nullptr);

    // Longer than one 1024-byte chunk.
    char long_text[3001];
    for (int i = 0; i < 3000; i++) long_text[i] = (char)('a' + i % 26);
    long_text[3000] = 0;
    Str l = arena_printf(&a, "<%s>", long_text);
    REQUIRE(l.len == 3002);
    CHECK(l.data[0] == '<');
    CHECK(memcmp(l.data + 1, long_text, 3000) == 0);
    CHECK(l.data[3001] == '>');
    CHECK(header_word(l.data) == 3002);

    // Longer than a whole block: the text is carried over into one contiguous copy.
    Arena small;
    arena_create(&small, 2048);
    arena_alloc(&small, 500);
    Str c = arena_printf(&small, "%s|%s", long_text, long_text);
    REQUIRE(c.len == 6001);
    CHECK(memcmp(c.data, long_text, 3000) == 0);
    CHECK(c.data[3000] == '|');
    CHECK(memcmp(c.data + 3001, long_text, 3000) == 0);
    CHECK(header_word(c.data) == 6001);
    CHECK(small.block_count >= 2);
    free_arena(&small);
    free_arena(&a);
}

TEST_CASE("DynArray growth doubles below 1 MiB and then steps by 1,048,576 elements") {
    DynArray a = dynarray_create(2, 32);
    REQUIRE(a.capacity == 32);
    for (u16 i = 0; i < 33; i++) REQUIRE(dynarray_push(&a, 2, &i));
    CHECK(a.capacity == 64);
    CHECK(a.count == 33);
    CHECK(((u16 *)a.items)[32] == 32);
    os_free(a.items);

    u8 element[64] = {7};
    DynArray b = dynarray_create(64, 16384);  // exactly 1 MiB
    REQUIRE(b.capacity == 16384);
    b.count = 16384;
    u8 *slot = (u8 *)dynarray_push(&b, 64, element);
    REQUIRE(slot);
    CHECK(b.capacity == 16384 + 1048576);
    CHECK(slot == (u8 *)b.items + 16384ull * 64);
    CHECK(slot[0] == 7);
    os_free(b.items);
}

TEST_CASE("a DynArray that cannot grow is emptied, and an empty one can grow again") {
    DynArray a = dynarray_create(1 << 20, 5000);  // would need 5 GiB: refused
    CHECK(a.capacity == 0);
    CHECK(a.items == nullptr);

    // Growth past the 32-bit byte limit fails and clears the record.
    u8 one = 1;
    DynArray c = dynarray_create(1, 1);
    REQUIRE(c.items);
    c.count = 0xFFFFFFFFull;
    c.capacity = 0xFFFFFFFFull;
    CHECK(dynarray_push(&c, 1, &one) == nullptr);
    CHECK(c.count == 0);
    CHECK(c.capacity == 0);
    CHECK(c.items == nullptr);

    DynArray d = {0, 0, nullptr};
    u32 v = 5;
    u32 *p = (u32 *)dynarray_push(&d, 4, &v);
    REQUIRE(p);
    CHECK(*p == 5);
    CHECK(d.capacity == DYNARRAY_MIN_CAPACITY);
    os_free(d.items);
}
