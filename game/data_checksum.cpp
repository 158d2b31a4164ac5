#include "game/data_checksum.h"

#include <string.h>

#include "os/files.h"
#include "os/memory.h"

// What start-up loads from beside the executable.
static const char *const GAME_DATA_FILES[] = {
    "img/default.png",   "img/background.png", "img/small.png",       "img/small_bold.png",
    "img/bigger.png",    "img/bigger_bold.png", "audio/music0.wav",   "audio/music1.wav",
    "audio/music2.wav",  "audio/music3.wav",   "audio/music4.wav",    "audio/music5.wav",
    "audio/explode.wav", "audio/bling5.wav",   "audio/laugh1.wav",    "shaders/instanced__vert",
    "shaders/instanced__frag",
};

#define MIX_PRIME 0x100000001B3ull

static u64 mix_bytes(u64 h, const u8 *p, u64 size) {
    // Eight bytes a step: the data is tens of megabytes.
    u64 i = 0;
    for (; i + 8 <= size; i += 8) {
        u64 word;
        memcpy(&word, p + i, sizeof(word));
        h = (h ^ word) * MIX_PRIME;
        h ^= h >> 29;
    }
    for (; i < size; i++) h = (h ^ p[i]) * MIX_PRIME;
    return h;
}

u64 game_data_checksum(Str dir) {
    u64 h = 0xCBF29CE484222325ull;
    for (const char *name : GAME_DATA_FILES) {
        Str file = str_from_cstr(name);
        h = mix_bytes(h, (const u8 *)file.data, file.len + 1);
        u64 path_len = dir.len + file.len;
        char *path = (char *)os_alloc(path_len + 1);
        if (!path) return 0;
        if (dir.len) memcpy(path, dir.data, dir.len);
        memcpy(path + dir.len, file.data, file.len);
        path[path_len] = 0;
        FileData data = os_read_entire_file(Str{path_len, path});
        os_free(path);
        // A missing file and an empty one differ.
        u64 length = data.data ? data.size : ~0ull;
        h = mix_bytes(h, (const u8 *)&length, sizeof(length));
        if (data.data) h = mix_bytes(h, data.data, data.size);
        os_free_file_data(&data);
    }
    return h;
}
