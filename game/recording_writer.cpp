#include "game/recording_writer.h"

#include <string.h>

#include "os/files.h"
#include "os/memory.h"

void recording_writer_release(RecordingWriter *writer) {
    if (writer->pending) os_free(writer->pending);
    if (writer->path.data) os_free((void *)writer->path.data);
    writer->pending = nullptr;
    writer->pending_size = writer->pending_capacity = 0;
    writer->path = Str{0, nullptr};
}

static bool reserve(RecordingWriter *w, u64 more) {
    u64 need = w->pending_size + more;
    if (need <= w->pending_capacity) return true;
    u64 capacity = w->pending_capacity ? w->pending_capacity : 4096;
    while (capacity < need) capacity *= 2;
    u8 *grown = (u8 *)(w->pending ? os_realloc(w->pending, capacity) : os_alloc(capacity));
    if (!grown) return false;
    w->pending = grown;
    w->pending_capacity = capacity;
    return true;
}

// One record at the end of the waiting bytes; the body comes in two parts.
static void append_record(RecordingWriter *w, u8 kind, const void *body, u64 size, const void *tail, u64 tail_size) {
    if (w->failed) return;
    u64 body_size = size + tail_size;
    if (body_size > 0xFFFFFFFFu || !reserve(w, sizeof(RecordHead) + body_size + RECORD_CHECK_SIZE)) {
        w->failed = true;
        return;
    }
    u8 *start = w->pending + w->pending_size;
    RecordHead head = record_head(kind, (u32)body_size);
    memcpy(start, &head, sizeof(head));
    memcpy(start + sizeof(head), body, size);
    if (tail_size) memcpy(start + sizeof(head) + size, tail, tail_size);
    u32 check = recording_check(RECORDING_CHECK_START, start, sizeof(head) + body_size);
    memcpy(start + sizeof(head) + body_size, &check, sizeof(check));
    w->pending_size += sizeof(head) + body_size + RECORD_CHECK_SIZE;
}

static void write_pending(RecordingWriter *w) {
    if (w->failed || w->pending_size == 0) return;
    if (w->pending_size > 0xFFFFFFFFu || os_write_file_at(w->path, w->offset, (u32)w->pending_size, w->pending) != 0) {
        w->failed = true;
        return;
    }
    w->offset += w->pending_size;
    w->pending_size = 0;
}

int recording_writer_open(RecordingWriter *writer, Str path, const char *build, u64 data_checksum,
                          u32 hash_interval) {
    recording_writer_release(writer);
    *writer = RecordingWriter{};
    writer->hash_interval = hash_interval ? hash_interval : 1;
    char *copy = (char *)os_alloc(path.len + 1);
    if (!copy) return 1;
    memcpy(copy, path.data, path.len);
    copy[path.len] = 0;
    writer->path = Str{path.len, copy};

    RecordingHeader h = {};
    memcpy(h.magic, RECORDING_MAGIC, sizeof(h.magic));
    h.format_version = RECORDING_FORMAT_VERSION;
    h.header_size = RECORDING_HEADER_SIZE;
    // Cut to fit with its NUL; anything unprintable becomes '?'.
    for (u32 i = 0; build && build[i] && i < RECORDING_BUILD_SIZE - 1; i++)
        h.build[i] = build[i] >= 0x20 && build[i] <= 0x7E ? build[i] : '?';
    h.data_checksum = data_checksum;
    h.hash_interval = writer->hash_interval;
    h.header_check = recording_check(RECORDING_CHECK_START, &h, offsetof(RecordingHeader, header_check));
    // An older, longer file of that name must not leave its tail behind.
    if (os_write_file(writer->path, sizeof(h), &h) != 0 || os_truncate_file(writer->path, sizeof(h)) != 0) {
        writer->failed = true;
        return 1;
    }
    writer->offset = sizeof(h);
    writer->last_hash_written = true;
    return 0;
}

void recording_writer_frame(RecordingWriter *writer, const FrameBody *body, const RecordedEvent *events) {
    append_record(writer, RECORD_FRAME, body, sizeof(*body), events, (u64)body->event_count * sizeof(RecordedEvent));
    writer->frame_count++;
    writer->last_hash_written = false;
    write_pending(writer);
}

static void append_hash(RecordingWriter *writer) {
    HashBody h = {writer->frame_count - 1, writer->last_hash};
    append_record(writer, RECORD_HASH, &h, sizeof(h), nullptr, 0);
    writer->last_hash_written = true;
}

void recording_writer_hash(RecordingWriter *writer, u64 state_hash) {
    if (writer->frame_count == 0) return;
    writer->last_hash = state_hash;
    if (writer->frame_count % writer->hash_interval == 0) append_hash(writer);
}

void recording_writer_end(RecordingWriter *writer) {
    if (!writer->last_hash_written) append_hash(writer);
    EndBody end = {writer->frame_count};
    append_record(writer, RECORD_END, &end, sizeof(end), nullptr, 0);
    write_pending(writer);
    recording_writer_release(writer);
}

RecordedEvent recorded_event_from(const WindowEvent *event) {
    RecordedEvent e = {};
    e.kind = event->kind;
    switch (event->kind) {
    case EVENT_POINTER:
        e.x = event->pointer.position.x;
        e.y = event->pointer.position.y;
        e.detail = event->pointer.pointer_flags;
        break;
    case EVENT_MOUSE_BUTTON:
        e.action = event->mouse_button.action;
        e.button = event->mouse_button.button;
        e.x = event->mouse_button.x;
        e.y = event->mouse_button.y;
        e.detail = event->mouse_button.double_click;
        break;
    case EVENT_WHEEL:
        e.x = event->wheel.position.x;
        e.y = event->wheel.position.y;
        e.value = event->wheel.delta;
        break;
    case EVENT_KEY:
        e.action = event->key.action;
        e.button = event->key.key;
        break;
    case EVENT_GAMEPAD_BUTTON:
        e.action = event->gamepad.action;
        e.detail = event->gamepad.pad;
        e.button = event->gamepad.control;
        break;
    case EVENT_GAMEPAD_AXIS:
        e.detail = event->gamepad.pad;
        e.button = event->gamepad.control;
        e.x = event->gamepad.value.x;
        e.y = event->gamepad.value.y;
        break;
    default: e.kind = 0; break;
    }
    return e;
}
