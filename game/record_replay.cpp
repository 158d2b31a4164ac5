#include "game/record_replay.h"

#include "game/build_text.h"
#include "game/data_checksum.h"
#include "game/data_manifest.h"
#include "game/draw.h"
#include "game/frame_clock.h"
#include "game/frame_step.h"
#include "game/recording_reader.h"
#include "game/recording_writer.h"
#include "game/state_hash.h"
#include "os/clock.h"
#include "os/files.h"
#include "os/input.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/system.h"

#include <string.h>

#define EXIT_BAD_RECORDING 2
#define EXIT_FRAME_DIFFERS 3
// A replayed pass never waits longer than this, whatever step was recorded.
#define REPLAY_LONGEST_WAIT_US 1000000

struct Session {
    u8 mode;
    Str path;

    RecordingWriter writer;
    DynArray events;     // RecordedEvents since the last frame record
    u32 early_events;    // of which arrived before the frame's input reset
    u64 written_total_ms;
    bool events_lost;
    bool announced;

    FileData file;
    RecordingReader reader;
    RecordedFrame frame;
    u64 frame_total;
    u64 replay_total_ms;
    Size2i view;
    u64 frames_played;
    u64 hashes_compared;
    u64 last_hash;
    bool differs;
    u64 differing_frame;
    u64 expected_hash;
    u64 replayed_hash;
};

static Session session;

static void record_input_event(WindowEvent *event) {
    if (event->kind == EVENT_POINTER || event->kind == EVENT_MOUSE_BUTTON || event->kind == EVENT_WHEEL ||
        event->kind == EVENT_KEY || event->kind == EVENT_GAMEPAD_BUTTON || event->kind == EVENT_GAMEPAD_AXIS) {
        RecordedEvent e = recorded_event_from(event);
        if (!dynarray_push(&session.events, sizeof(e), &e)) session.events_lost = true;
    }
    handle_input_event(event);
}

static void ignore_live_event(WindowEvent *) {}

static void feed_event(const RecordedEvent *e) {
    WindowEvent event = {};
    event.kind = e->kind;
    switch (e->kind) {
    case EVENT_POINTER:
        event.pointer.position = Vec2i{e->x, e->y};
        event.pointer.pointer_flags = e->detail;
        break;
    case EVENT_MOUSE_BUTTON: event.mouse_button = {e->action, e->button, e->x, e->y, e->detail}; break;
    case EVENT_WHEEL:
        event.wheel.position = Vec2i{e->x, e->y};
        event.wheel.delta = e->value;
        break;
    case EVENT_GAMEPAD_BUTTON:
    case EVENT_GAMEPAD_AXIS:
        event.gamepad.pad = e->detail;
        event.gamepad.action = e->action;
        event.gamepad.control = e->button;
        event.gamepad.value = Vec2i{e->x, e->y};
        break;
    default:
        event.key.action = e->action;
        event.key.key = e->button;
        break;
    }
    handle_input_event(&event);
}

static void feed_events(u32 from, u32 to) {
    for (u32 i = from; i < to; i++) {
        RecordedEvent e = recorded_event(&session.frame, i);
        feed_event(&e);
    }
}

static bool record_frame_start(void) {
    // Said once start-up has gone well, before the first frame.
    if (!session.announced) log_printf("Recording to %s\n", session.path.data);
    session.announced = true;
    session.early_events = (u32)session.events.count;
    return true;
}

static bool replay_frame_start(void) {
    if (!recording_next_frame(&session.reader, &session.frame)) return false;
    const FrameBody &b = session.frame.body;
    // The clock's own arithmetic: the total moves on by the step, and
    // delta_ms is the step's low 32 bits.
    session.replay_total_ms += b.step_ms;
    frame_clock.total_ms = session.replay_total_ms;
    frame_clock.delta_ms = (i32)b.step_ms;
    feed_events(0, b.early_event_count);
    return true;
}

static void record_frame_input(void) {
    FrameBody b = {};
    b.step_ms = frame_clock.total_ms - session.written_total_ms;
    session.written_total_ms = frame_clock.total_ms;
    b.view_width = game_view_size.width;
    b.view_height = game_view_size.height;
    b.early_event_count = session.early_events;
    b.event_count = (u32)session.events.count;
    recording_writer_frame(&session.writer, &b, (const RecordedEvent *)session.events.items);
    session.events.count = 0;
}

// The game is laid out for the size it was recorded at, whatever the window's.
static void replay_frame_input(void) {
    game_view_size = Size2i{session.frame.body.view_width, session.frame.body.view_height};
    feed_events(session.frame.body.early_event_count, session.frame.body.event_count);
}

static void record_frame_end(void) { recording_writer_hash(&session.writer, game_state_hash()); }

static void replay_frame_end(void) {
    u64 hash = game_state_hash();
    session.last_hash = hash;
    session.frames_played++;
    if (!session.frame.has_hash) return;
    session.hashes_compared++;
    if (hash == session.frame.state_hash || session.differs) return;
    session.differs = true;
    session.differing_frame = session.frame.index;
    session.expected_hash = session.frame.state_hash;
    session.replayed_hash = hash;
}

// A replay in a window keeps the recorded pace: each pass lasts its step.
static i64 replay_remaining_us(u64 now_ticks) {
    u64 step_us = session.frame.body.step_ms * 1000;
    if (session.frame.body.step_ms > REPLAY_LONGEST_WAIT_US / 1000) step_us = REPLAY_LONGEST_WAIT_US;
    u64 elapsed = os_ticks_to_microseconds(now_ticks - frame_clock.frame_start_ticks);
    return (i64)step_us - (i64)elapsed;
}

static int open_recording_to_write(FrameHooks *hooks) {
    u64 checksum = check_game_data(os_get_exe_dir()).checksum;
    if (recording_writer_open(&session.writer, session.path, game_build_text(), checksum, RECORDING_HASH_INTERVAL)) {
        log_printf("Cannot record to %s: the file cannot be written\n", session.path.data);
        return EXIT_BAD_RECORDING;
    }
    session.events = dynarray_create(sizeof(RecordedEvent), 64);
    hooks->events = record_input_event;
    hooks->start = record_frame_start;
    hooks->input = record_frame_input;
    hooks->end = record_frame_end;
    return 0;
}

static int recording_result(void) {
    recording_writer_end(&session.writer);
    if (session.writer.failed) {
        log_printf("Recording to %s stopped early: the file could not be written\n", session.path.data);
    } else if (session.events_lost) {
        log_printf("Recording to %s is incomplete: out of memory for its events\n", session.path.data);
    } else {
        log_printf("Recorded %llu frames to %s\n", (unsigned long long)session.writer.frame_count,
                   session.path.data);
    }
    return 0;
}

static int refuse(const char *reason) {
    log_printf("Cannot replay %s: %s\n", session.path.data, reason);
    return EXIT_BAD_RECORDING;
}

// Reads and checks the whole recording before anything is shown.
static int open_recording(void) {
    session.file = os_read_entire_file(session.path);
    if (!session.file.data) return refuse("the file cannot be read");
    u8 error = recording_open(&session.reader, session.file.data, session.file.size);
    if (error == RECORDING_FUTURE_VERSION) {
        u32 version = 0;
        memcpy(&version, session.file.data + 8, sizeof(version));
        log_printf("Cannot replay %s: it was made by a newer version of Fathomer (recording format %u, this one "
                   "reads %u)\n",
                   session.path.data, version, RECORDING_FORMAT_VERSION);
        return EXIT_BAD_RECORDING;
    }
    if (error) return refuse(recording_error_text(error));
    bool cut_short = false;
    u64 at = 0;
    error = recording_check_all(&session.reader, &session.frame_total, &cut_short, &at);
    if (error) {
        log_printf("Cannot replay %s: %s (at byte %llu)\n", session.path.data, recording_error_text(error),
                   (unsigned long long)at);
        return EXIT_BAD_RECORDING;
    }
    GameDataCheck here = check_game_data(os_get_exe_dir());
    if (here.checksum != session.reader.header.data_checksum) {
        log_printf("Cannot replay %s: it was recorded with different game data (data checksum %016llX, here "
                   "%016llX)\n",
                   session.path.data, (unsigned long long)session.reader.header.data_checksum,
                   (unsigned long long)here.checksum);
        if (here.kind == GAME_DATA_MANIFEST_WRONG)
            log_printf("The data here carries a manifest (%s) that does not describe its files\n", DATA_MANIFEST_FILE);
        return EXIT_BAD_RECORDING;
    }
    log_printf("Replaying %s: %llu frames recorded by build %s, replayed by build %s\n", session.path.data,
               (unsigned long long)session.frame_total, session.reader.header.build, game_build_text());
    if (cut_short)
        log_printf("The recording stops without its end (the game was cut short): replaying up to its last whole "
                   "frame\n");
    return 0;
}

static int replay_result(void) {
    if (session.frames_played < session.frame_total)
        log_printf("The window was closed after frame %llu of %llu\n", (unsigned long long)session.frames_played,
                   (unsigned long long)session.frame_total);
    log_printf("Replayed %llu frames (%llu.%03llu s of play), final hash %016llX\n",
               (unsigned long long)session.frames_played, (unsigned long long)(session.replay_total_ms / 1000),
               (unsigned long long)(session.replay_total_ms % 1000), (unsigned long long)session.last_hash);
    if (session.differs) {
        log_printf("First differing frame: %llu (recorded hash %016llX, replayed %016llX)\n",
                   (unsigned long long)session.differing_frame, (unsigned long long)session.expected_hash,
                   (unsigned long long)session.replayed_hash);
        return EXIT_FRAME_DIFFERS;
    }
    log_printf("No frame differs (%llu hashes compared)\n", (unsigned long long)session.hashes_compared);
    return 0;
}

// Without a window the clock stays as the recording sets it, and nothing waits.
static void keep_clock(u64) {}
static i64 no_wait(u64) { return 0; }

static int open_recording_to_replay(bool fast, FrameHooks *hooks) {
    int rc = open_recording();
    if (rc) return rc;
    hooks->events = ignore_live_event;
    hooks->start = replay_frame_start;
    hooks->input = replay_frame_input;
    hooks->end = replay_frame_end;
    hooks->remaining_us = fast ? no_wait : replay_remaining_us;
    if (fast) hooks->clock = keep_clock;
    return 0;
}

int session_open(const LaunchOptions *options, FrameHooks *hooks) {
    session = Session{};
    session.mode = options->mode;
    session.path = options->file;
    *hooks = FrameHooks{};
    if (options->mode == LAUNCH_RECORD) return open_recording_to_write(hooks);
    if (options->mode == LAUNCH_REPLAY) return open_recording_to_replay(options->fast, hooks);
    return 0;
}

int session_close(void) {
    if (session.mode == LAUNCH_RECORD) return recording_result();
    if (session.mode == LAUNCH_REPLAY) return replay_result();
    return 0;
}
