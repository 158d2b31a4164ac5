#include "game/recording_reader.h"

#include <string.h>

#include "os/window.h"

// The largest client size a window can plausibly report.
#define VIEW_LIMIT 65536

static u8 fail(RecordingReader *reader, u8 error, u64 offset) {
    reader->error = error;
    reader->error_offset = offset;
    return error;
}

static bool header_valid(const RecordingHeader *h) {
    if (recording_check(RECORDING_CHECK_START, h, offsetof(RecordingHeader, header_check)) != h->header_check)
        return false;
    if (h->header_size != RECORDING_HEADER_SIZE || h->hash_interval == 0) return false;
    // Printable text up to the first NUL, nothing but NULs after it.
    bool ended = false;
    for (u32 i = 0; i < RECORDING_BUILD_SIZE; i++) {
        u8 c = (u8)h->build[i];
        if (c == 0) ended = true;
        else if (ended || c < 0x20 || c > 0x7E) return false;
    }
    return ended;
}

u8 recording_open(RecordingReader *reader, const void *data, u64 size) {
    *reader = RecordingReader{};
    reader->data = (const u8 *)data;
    reader->size = data ? size : 0;
    if (reader->size < sizeof(RECORDING_MAGIC)) {
        // A start of the magic that stops early is a cut file; anything else is not ours.
        bool prefix = reader->size == 0 || memcmp(reader->data, RECORDING_MAGIC, reader->size) == 0;
        return fail(reader, prefix ? RECORDING_TRUNCATED : RECORDING_NOT_A_RECORDING, 0);
    }
    if (memcmp(reader->data, RECORDING_MAGIC, sizeof(RECORDING_MAGIC)) != 0)
        return fail(reader, RECORDING_NOT_A_RECORDING, 0);
    // The version is looked at before the rest, whose layout a newer version may change.
    u32 version = 0;
    if (reader->size < 12) return fail(reader, RECORDING_TRUNCATED, reader->size);
    memcpy(&version, reader->data + 8, sizeof(version));
    if (version > RECORDING_FORMAT_VERSION) return fail(reader, RECORDING_FUTURE_VERSION, 8);
    if (version == 0) return fail(reader, RECORDING_CORRUPT, 8);
    if (reader->size < RECORDING_HEADER_SIZE) return fail(reader, RECORDING_TRUNCATED, reader->size);
    memcpy(&reader->header, reader->data, sizeof(RecordingHeader));
    if (!header_valid(&reader->header)) return fail(reader, RECORDING_CORRUPT, 0);
    reader->offset = RECORDING_HEADER_SIZE;
    return RECORDING_OK;
}

enum RecordResult { RECORD_READ, RECORD_CUT, RECORD_BAD };

// The record at reader->offset, its check verified; does not move the offset.
static RecordResult peek_record(RecordingReader *reader, RecordHead *head, const u8 **body) {
    u64 left = reader->size - reader->offset;
    if (left < sizeof(RecordHead)) return RECORD_CUT;
    memcpy(head, reader->data + reader->offset, sizeof(RecordHead));
    if (head->kind < RECORD_FRAME || head->kind > RECORD_END) return RECORD_BAD;
    if (record_head(head->kind, head->body_size).head_check != head->head_check) return RECORD_BAD;
    u64 whole = (u64)sizeof(RecordHead) + head->body_size + RECORD_CHECK_SIZE;
    if (left < whole) return RECORD_CUT;
    u32 stored;
    memcpy(&stored, reader->data + reader->offset + whole - RECORD_CHECK_SIZE, sizeof(stored));
    if (recording_check(RECORDING_CHECK_START, reader->data + reader->offset, whole - RECORD_CHECK_SIZE) != stored)
        return RECORD_BAD;
    *body = reader->data + reader->offset + sizeof(RecordHead);
    return RECORD_READ;
}

static u64 record_size(const RecordHead *head) {
    return (u64)sizeof(RecordHead) + head->body_size + RECORD_CHECK_SIZE;
}

// Any value the backend delivered replays as it came (the input handler
// guards its table); fields a kind does not carry must be zero.
static bool event_valid(const RecordedEvent *e, u32 version) {
    if (e->reserved0 || e->reserved1) return false;
    switch (e->kind) {
    // Pads came with format 2; detail is the pad.
    case EVENT_GAMEPAD_BUTTON: return version >= 2 && e->x == 0 && e->y == 0 && e->value == 0;
    case EVENT_GAMEPAD_AXIS: return version >= 2 && e->action == 0 && e->value == 0;
    case EVENT_POINTER: return e->action == 0 && e->button == 0 && e->value == 0;
    case EVENT_WHEEL: return e->action == 0 && e->button == 0 && e->detail == 0;
    case EVENT_KEY: return e->detail == 0 && e->x == 0 && e->y == 0 && e->value == 0;
    case EVENT_MOUSE_BUTTON: return e->value == 0;
    default: return false;
    }
}

static bool frame_valid(const RecordHead *head, const u8 *body, u32 version, FrameBody *out) {
    if (head->body_size < sizeof(FrameBody)) return false;
    memcpy(out, body, sizeof(FrameBody));
    if (out->event_count > RECORDING_MAX_EVENTS || out->early_event_count > out->event_count) return false;
    if ((u64)head->body_size != sizeof(FrameBody) + (u64)out->event_count * sizeof(RecordedEvent)) return false;
    if (out->view_width < 0 || out->view_width > VIEW_LIMIT || out->view_height < 0 || out->view_height > VIEW_LIMIT)
        return false;
    for (u32 i = 0; i < out->event_count; i++) {
        RecordedEvent e;
        memcpy(&e, body + sizeof(FrameBody) + (u64)i * sizeof(RecordedEvent), sizeof(e));
        if (!event_valid(&e, version)) return false;
    }
    return true;
}

static bool stop_cut(RecordingReader *reader) {
    reader->cut_short = true;
    return false;
}

static bool stop_bad(RecordingReader *reader) {
    fail(reader, RECORDING_CORRUPT, reader->offset);
    return false;
}

bool recording_next_frame(RecordingReader *reader, RecordedFrame *frame) {
    if (reader->ended || reader->cut_short || reader->error || !reader->data) return false;
    RecordHead head;
    const u8 *body = nullptr;
    RecordResult r = peek_record(reader, &head, &body);
    if (r == RECORD_CUT) return stop_cut(reader);
    if (r == RECORD_BAD) return stop_bad(reader);
    if (head.kind == RECORD_END) {
        EndBody end;
        if (head.body_size != sizeof(EndBody)) return stop_bad(reader);
        memcpy(&end, body, sizeof(end));
        if (end.frame_count != reader->frame_count) return stop_bad(reader);
        // Nothing may follow the end.
        if (reader->offset + record_size(&head) != reader->size) {
            reader->offset += record_size(&head);
            return stop_bad(reader);
        }
        reader->offset += record_size(&head);
        reader->ended = true;
        return false;
    }
    // A hash belongs right behind its frame, which took it already.
    if (head.kind != RECORD_FRAME) return stop_bad(reader);
    *frame = RecordedFrame{};
    if (!frame_valid(&head, body, reader->header.format_version, &frame->body)) return stop_bad(reader);
    frame->index = reader->frame_count;
    frame->events = body + sizeof(FrameBody);
    reader->offset += record_size(&head);
    reader->frame_count++;

    // Its hash, unless the file was cut before it was written.
    r = peek_record(reader, &head, &body);
    if (r == RECORD_READ && head.kind == RECORD_HASH && head.body_size == sizeof(HashBody)) {
        HashBody hash;
        memcpy(&hash, body, sizeof(hash));
        if (hash.frame == frame->index) {
            frame->has_hash = true;
            frame->state_hash = hash.state_hash;
            reader->offset += record_size(&head);
        }
    }
    // A bad or cut record after the frame, a wrong hash among them, is met by
    // the next call: this frame is whole.
    return true;
}

u8 recording_check_all(const RecordingReader *reader, u64 *frame_count, bool *cut_short, u64 *error_offset) {
    RecordingReader copy = *reader;
    RecordedFrame frame;
    while (recording_next_frame(&copy, &frame)) {}
    *frame_count = copy.frame_count;
    *cut_short = copy.cut_short;
    *error_offset = copy.error_offset;
    if (copy.error) return copy.error;
    if (copy.cut_short && copy.frame_count == 0) {
        *error_offset = copy.size;
        return RECORDING_TRUNCATED;
    }
    return RECORDING_OK;
}

RecordedEvent recorded_event(const RecordedFrame *frame, u32 index) {
    RecordedEvent e = {};
    if (index < frame->body.event_count) memcpy(&e, frame->events + (u64)index * sizeof(RecordedEvent), sizeof(e));
    return e;
}

const char *recording_error_text(u8 error) {
    switch (error) {
    case RECORDING_OK: return "no error";
    case RECORDING_TRUNCATED: return "the file is cut short before its first whole frame";
    case RECORDING_NOT_A_RECORDING: return "it is not a Fathomer recording";
    case RECORDING_FUTURE_VERSION: return "it was made by a newer version of Fathomer";
    case RECORDING_CORRUPT: return "it is corrupt";
    default: return "unknown error";
    }
}
