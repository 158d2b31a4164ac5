#include "os/backend.h"
#include "os/memory.h"

CursorTable cursor_table;

bool cursor_table_create(CursorTable *table) {
    table->handles = (void **)os_alloc_zeroed(32 * sizeof(void *));
    if (!table->handles) return false;
    table->capacity = 32;
    table->count = CURSOR_SYSTEM_COUNT;
    return true;
}

void cursor_table_ensure(void) {
    if (cursor_table.handles || !cursor_table_create(&cursor_table)) return;
    for (u8 i = 1; i < CURSOR_SYSTEM_COUNT; i++) cursor_table.handles[i] = backend_system_cursor(i);
}

u8 cursor_table_add(CursorTable *table, void *handle) {
    if (!table->handles) return 0;
    if (table->count == table->capacity) {
        if (table->count == 255) return 0;
        // The capacity is a byte: past 128 it stops at 255 instead of doubling.
        u32 capacity = table->capacity >= 128 ? 255u : table->capacity * 2u;
        void **handles = (void **)os_realloc(table->handles, capacity * sizeof(void *));
        if (!handles) return 0;
        for (u32 i = table->capacity; i < capacity; i++) handles[i] = nullptr;
        table->handles = handles;
        table->capacity = (u8)capacity;
    }
    table->handles[table->count] = handle;
    return table->count++;
}
