// Which bytes of a locked piece of the output ring are new, and mixing them.
#include "sound/mixer.h"

u32 audio_region_new_start(u32 written_end, u32 offset, u32 length, u32 ring_size) {
    if (written_end < offset) {
        // A piece far ahead of written_end was filled before the ring wrapped.
        return offset > ring_size / 2 ? length : 0;
    }
    // written_end late in the ring with the piece early in it is left over
    // from before the wrap.
    if (written_end > 3 * (ring_size / 4) && offset < ring_size / 4) return 0;
    if ((u64)written_end >= (u64)offset + length) return length;
    return written_end - offset;
}

void audio_mix_region(u32 offset, u32 length, void *memory) {
    u32 start = audio_region_new_start(audio_state.written_end, offset, length, audio_state.ring_size);
    if (start >= length) return;
    audio_state.written_end = offset + length;
    audio_mix((u8 *)memory + start, length - start);
}
