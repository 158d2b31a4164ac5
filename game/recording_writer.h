// Writing a recording while the game is played.  Each frame's records go to
// the file in one write, before the game runs the frame, so a crash inside it
// still leaves the frame that caused it.
#pragma once

#include "game/recording_format.h"
#include "os/window.h"

struct RecordingWriter {
    Str path;  // NUL-terminated heap copy
    u64 offset;        // bytes in the file
    u64 frame_count;   // frames written
    u32 hash_interval;
    bool failed;       // a write failed: nothing more is written
    u8 *pending;       // records waiting for the next write
    u64 pending_size;
    u64 pending_capacity;
    u64 last_hash;
    bool last_hash_written;
};

// Creates (or empties) the file and writes the header.  0, 1 when the file
// cannot be written.
int recording_writer_open(RecordingWriter *writer, Str path, const char *build, u64 data_checksum,
                          u32 hash_interval);
// Writes a frame record with its events, behind any waiting hash record.
void recording_writer_frame(RecordingWriter *writer, const FrameBody *body, const RecordedEvent *events);
// The game state after the latest frame; kept for the next write on every
// hash_interval-th frame.
void recording_writer_hash(RecordingWriter *writer, u64 state_hash);
// Writes the latest frame's hash if it is not in the file yet, then the end
// record, and releases the writer's memory; it can be opened again afterwards.
void recording_writer_end(RecordingWriter *writer);
// Releases the memory of a writer left without its end; the counts stay.
void recording_writer_release(RecordingWriter *writer);
// The event as it is kept in a recording.
RecordedEvent recorded_event_from(const WindowEvent *event);
