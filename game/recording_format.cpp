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

RecordHead record_head(u8 kind, u32 body_size) {
    RecordHead head = {kind, body_size, 0};
    head.head_check = (u16)recording_check(RECORDING_CHECK_START, &head, offsetof(RecordHead, head_check));
    return head;
}
