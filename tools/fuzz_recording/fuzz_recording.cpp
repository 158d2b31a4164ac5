// libFuzzer target for the recording reader: each input is a whole file,
// copied into an allocation of exactly its size so that reading a single
// byte past it trips AddressSanitizer.  Every frame handed out must lie
// inside the input, and the whole-file check must agree with reading frame
// by frame.
#include <stdlib.h>
#include <string.h>

#include "game/recording_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    u8 *copy = (u8 *)malloc(size ? size : 1);
    memcpy(copy, data, size);
    RecordingReader reader;
    if (recording_open(&reader, copy, size) == RECORDING_OK) {
        u64 count = 0, at = 0;
        bool cut_short = false;
        u8 verdict = recording_check_all(&reader, &count, &cut_short, &at);
        RecordedFrame frame;
        u64 frames = 0;
        u64 sum = 0;
        while (recording_next_frame(&reader, &frame)) {
            if (frame.index != frames++) abort();
            const u8 *end = frame.events + (u64)frame.body.event_count * sizeof(RecordedEvent);
            if (frame.events < copy || end > copy + size) abort();
            for (u32 i = 0; i < frame.body.event_count; i++) sum += recorded_event(&frame, i).kind;
        }
        if (frames != count || reader.cut_short != cut_short) abort();
        if ((verdict == RECORDING_CORRUPT) != (reader.error == RECORDING_CORRUPT)) abort();
        if (reader.ended && (reader.cut_short || reader.offset != size)) abort();
        if (sum == 1) abort();  // keeps the reads of the events
    }
    free(copy);
    return 0;
}
