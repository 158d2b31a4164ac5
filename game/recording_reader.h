// Reading a recording from memory.  Every length is checked against the bytes
// that are there: bad input gives a result code, never a read past the end.
#pragma once

#include "game/recording_format.h"

enum : u8 {
    RECORDING_OK = 0,
    RECORDING_TRUNCATED = 1,         // ends inside the header or before a whole frame
    RECORDING_NOT_A_RECORDING = 2,   // no magic
    RECORDING_FUTURE_VERSION = 3,    // written by a newer program
    RECORDING_CORRUPT = 4,           // a check, size or value is wrong
};

struct RecordingReader {
    const u8 *data;
    u64 size;
    RecordingHeader header;
    u64 offset;       // of the next record
    u64 frame_count;  // frames handed out so far
    bool ended;       // the end record was read
    bool cut_short;   // the file stops without its end record (a crash or a kill)
    u8 error;         // why reading stopped, RECORDING_OK if it did not
    u64 error_offset;  // where
};

// One frame as recorded.  The events lie unaligned in the file's bytes: read
// them with recorded_event.
struct RecordedFrame {
    u64 index;
    FrameBody body;
    const u8 *events;
    bool has_hash;
    u64 state_hash;  // the game state after this frame, when has_hash
};

// Checks the header.  RECORDING_OK, or the reason (also kept in reader->error).
u8 recording_open(RecordingReader *reader, const void *data, u64 size);
// The next frame with the hash recorded after it, if any.  False at the end:
// reader->ended, reader->cut_short or reader->error says which.
bool recording_next_frame(RecordingReader *reader, RecordedFrame *frame);
// Reads every frame of an opened reader's copy: RECORDING_OK when the
// recording can be replayed; *frame_count and *cut_short describe it.  A
// recording with no whole frame and no end record is RECORDING_TRUNCATED.
u8 recording_check_all(const RecordingReader *reader, u64 *frame_count, bool *cut_short, u64 *error_offset);
RecordedEvent recorded_event(const RecordedFrame *frame, u32 index);
// A sentence for each result code, without a full stop.
const char *recording_error_text(u8 error);
