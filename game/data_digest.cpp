#include "game/data_digest.h"

#include <string.h>

const char *const GAME_DATA_FILES[GAME_DATA_FILE_COUNT] = {
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

u64 data_digest_start(void) { return 0xCBF29CE484222325ull; }

u64 data_digest_file(u64 digest, const char *name, const u8 *bytes, u64 size) {
    // The name with its terminating zero, so that names cannot run together.
    digest = mix_bytes(digest, (const u8 *)name, strlen(name) + 1);
    u64 length = bytes ? size : ~0ull;
    digest = mix_bytes(digest, (const u8 *)&length, sizeof(length));
    if (bytes) digest = mix_bytes(digest, bytes, size);
    return digest;
}
