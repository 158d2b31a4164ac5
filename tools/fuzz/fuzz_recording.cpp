// libFuzzer target for the recording reader: each input is a whole file,
// copied into an allocation of exactly its size so that reading a single
// byte past it trips AddressSanitizer.  Every frame handed out must lie
// inside the input, and the whole-file check must agree with reading frame
// by frame.  Each input is read twice: as it is, and with every check
// rewritten to match, so that mutations reach the sizes, events and record
// order behind the checks.
#include <stdlib.h>
#include <string.h>

#include "game/recording_reader.h"

// Rewrites the header's check and each record's two checks, as far as they lie in the file.
static void reseal(u8 *bytes, u64 size) {
    if (size < RECORDING_HEADER_SIZE) return;
    u32 check = recording_check(RECORDING_CHECK_START, bytes, offsetof(RecordingHeader, header_check));
    memcpy(bytes + offsetof(RecordingHeader, header_check), &check, sizeof(check));
    u64 at = RECORDING_HEADER_SIZE;
    while (at + sizeof(RecordHead) <= size) {
        RecordHead head;
        memcpy(&head, bytes + at, sizeof(head));
        head = record_head(head.kind, head.body_size);
        memcpy(bytes + at, &head, sizeof(head));
        u64 body_end = at + sizeof(RecordHead) + head.body_size;
        if (body_end + RECORD_CHECK_SIZE > size) return;
        check = recording_check(RECORDING_CHECK_START, bytes + at, body_end - at);
        memcpy(bytes + body_end, &check, sizeof(check));
        at = body_end + RECORD_CHECK_SIZE;
    }
}

static void read_recording(const uint8_t *data, size_t size, bool resealed) {
    u8 *copy = (u8 *)malloc(size ? size : 1);
    memcpy(copy, data, size);
    if (resealed) reseal(copy, size);
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
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    read_recording(data, size, false);
    read_recording(data, size, true);
    return 0;
}
