// Writes a small recording for the fuzzer's corpus.  Usage: make_seed FILE END(0 or 1)
#include <stdlib.h>
#include <string.h>

#include "game/recording_writer.h"

int main(int argc, char **argv) {
    if (argc != 3) return 2;
    RecordingWriter w = {};
    if (recording_writer_open(&w, Str{strlen(argv[1]), argv[1]}, "seed", 7, 2) != 0) return 1;
    for (u32 i = 0; i < 3; i++) {
        WindowEvent key = {};
        key.kind = EVENT_KEY;
        key.key = {ACTION_DOWN, (u16)(0x41 + i)};
        WindowEvent pointer = {};
        pointer.kind = EVENT_POINTER;
        pointer.pointer.position = Vec2i{(i32)i * 10, 5};
        RecordedEvent events[2] = {recorded_event_from(&key), recorded_event_from(&pointer)};
        FrameBody body = {16 + i, 1280, 800, i == 0 ? 1u : 0u, 2};
        recording_writer_frame(&w, &body, events);
        recording_writer_hash(&w, 0xABCDEF00u + i);
    }
    if (atoi(argv[2])) recording_writer_end(&w);
    else recording_writer_release(&w);
    return w.failed ? 1 : 0;
}
