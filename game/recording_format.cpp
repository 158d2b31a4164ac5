#include "game/recording_format.h"

const u8 RECORDING_MAGIC[8] = {'F', 'A', 'T', 'H', 'O', 'M', 'R', 'P'};

u32 recording_check(u32 check, const void *data, u64 size) {
    const u8 *p = (const u8 *)data;
    for (u64 i = 0; i < size; i++) {
        check ^= p[i];
        check *= 0x01000193u;
    }
    return check;
}
