// The recording file: what a played game consumed, frame by frame, so that a
// replay can feed the same steps and events through the same path.
//
// Little-endian throughout.  A 64-byte header, then records: a head (kind,
// body size and a check of those two), the body and a u32 check (FNV-1a 32
// over head and body).  The head's own check tells a damaged size from a file
// that stops inside its last record.  Records are appended whole, one write per frame, so a file cut short
// by a crash ends in at most one partial record.
#pragma once

#include <stddef.h>

#include <bit>

#include "os/types.h"

// 2: pad buttons and axes among the events.
#define RECORDING_FORMAT_VERSION 2
#define RECORDING_HEADER_SIZE 64
#define RECORDING_BUILD_SIZE 32
// Ten state hashes a second at 60 frames per second.
#define RECORDING_HASH_INTERVAL 6
// A frame's event list is bounded by its body size (u32); a frame delivering
// this many events has gone wrong already.
#define RECORDING_MAX_EVENTS 1000000

enum : u8 {
    RECORD_FRAME = 1,  // what the frame consumed; written before the game runs it
    RECORD_HASH = 2,   // the game state after a frame
    RECORD_END = 3,    // the game was closed: nothing follows
};

// Records are copied to and from the file as they lie in memory.
static_assert(std::endian::native == std::endian::little, "recordings are little-endian");

#pragma pack(push, 1)
struct RecordingHeader {
    u8 magic[8];  // "FATHOMRP"
    u32 format_version;
    u32 header_size;
    char build[RECORDING_BUILD_SIZE];  // printable text, NUL-padded
    u64 data_checksum;                 // of the game data files (game/data_checksum.h)
    u32 hash_interval;                 // a RECORD_HASH after every this many frames
    u32 header_check;                  // FNV-1a 32 over the bytes before it
};

struct RecordHead {
    u8 kind;
    u32 body_size;
    u16 head_check;  // low 16 bits of FNV-1a 32 over kind and body_size
};

// Followed by event_count RecordedEvents; the first early_event_count of them
// arrived before the frame's input reset (during start-up, for one).
struct FrameBody {
    u64 step_ms;  // total_ms advance; delta_ms is its low 32 bits
    i32 view_width;
    i32 view_height;
    u32 early_event_count;
    u32 event_count;
};

// One event handed to the input handler, whichever kind.
struct RecordedEvent {
    u8 kind;    // EVENT_POINTER, EVENT_MOUSE_BUTTON, EVENT_WHEEL, EVENT_KEY, EVENT_GAMEPAD_BUTTON or _AXIS
    u8 action;  // ACTION_* for buttons and keys
    u8 detail;  // pointer flags, double click, or the pad
    u8 reserved0;
    u16 button;  // key code, mouse button index or the pad's input table index
    u16 reserved1;
    i32 x;      // pointer, button or wheel position; a pad axis's value
    i32 y;
    i32 value;  // wheel delta
};

struct HashBody {
    u64 frame;  // index from 0 of the frame just played
    u64 state_hash;
};

struct EndBody {
    u64 frame_count;
};
#pragma pack(pop)

static_assert(sizeof(RecordingHeader) == RECORDING_HEADER_SIZE, "header is 64 bytes");
static_assert(offsetof(RecordingHeader, format_version) == 8, "");
static_assert(offsetof(RecordingHeader, header_size) == 12, "");
static_assert(offsetof(RecordingHeader, build) == 16, "");
static_assert(offsetof(RecordingHeader, data_checksum) == 48, "");
static_assert(offsetof(RecordingHeader, hash_interval) == 56, "");
static_assert(offsetof(RecordingHeader, header_check) == 60, "");
static_assert(sizeof(RecordHead) == 7, "");
static_assert(offsetof(RecordHead, body_size) == 1, "");
static_assert(offsetof(RecordHead, head_check) == 5, "");
static_assert(sizeof(FrameBody) == 24, "");
static_assert(offsetof(FrameBody, view_width) == 8, "");
static_assert(offsetof(FrameBody, view_height) == 12, "");
static_assert(offsetof(FrameBody, early_event_count) == 16, "");
static_assert(offsetof(FrameBody, event_count) == 20, "");
static_assert(sizeof(RecordedEvent) == 20, "");
static_assert(offsetof(RecordedEvent, button) == 4, "");
static_assert(offsetof(RecordedEvent, x) == 8, "");
static_assert(offsetof(RecordedEvent, y) == 12, "");
static_assert(offsetof(RecordedEvent, value) == 16, "");
static_assert(sizeof(HashBody) == 16, "");
static_assert(sizeof(EndBody) == 8, "");
#define RECORD_CHECK_SIZE 4

extern const u8 RECORDING_MAGIC[8];

// FNV-1a, 32 bits, continued from check (start with RECORDING_CHECK_START).
#define RECORDING_CHECK_START 0x811C9DC5u
u32 recording_check(u32 check, const void *data, u64 size);
// The head of a record of that kind and body size, its check filled in.
RecordHead record_head(u8 kind, u32 body_size);
