// The recording file: what the writer puts down the reader gives back, and
// every kind of damaged file gets a result code, never a read past its end.
#include <doctest/doctest.h>

#include <string.h>

#include <string>
#include <vector>

#include "game/recording_reader.h"
#include "game/recording_writer.h"
#include "tests/file_test_support.h"

static RecordedEvent key_event(u8 action, u16 key) {
    WindowEvent w = {};
    w.kind = EVENT_KEY;
    w.key.action = action;
    w.key.key = key;
    return recorded_event_from(&w);
}

static RecordedEvent pointer_event(i32 x, i32 y, u8 flags) {
    WindowEvent w = {};
    w.kind = EVENT_POINTER;
    w.pointer.position = Vec2i{x, y};
    w.pointer.pointer_flags = flags;
    return recorded_event_from(&w);
}

static RecordedEvent button_event(u8 action, u16 button, i32 x, i32 y, u8 twice) {
    WindowEvent w = {};
    w.kind = EVENT_MOUSE_BUTTON;
    w.mouse_button = {action, button, x, y, twice};
    return recorded_event_from(&w);
}

static RecordedEvent wheel_event(i32 x, i32 y, i32 delta) {
    WindowEvent w = {};
    w.kind = EVENT_WHEEL;
    w.wheel.position = Vec2i{x, y};
    w.wheel.delta = delta;
    return recorded_event_from(&w);
}

struct SampleFrame {
    u64 step;
    i32 width, height;
    u32 early;
    std::vector<RecordedEvent> events;
};

// Five frames with every kind of event, a resize, early events and a step
// whose low 32 bits wrap.
static std::vector<SampleFrame> sample_frames(void) {
    return {
        {812, 1280, 800, 2, {pointer_event(400, 300, 1), key_event(ACTION_DOWN, 0x58), key_event(ACTION_UP, 0x58)}},
        {16, 1280, 800, 0, {}},
        {17, 1024, 768, 0, {button_event(ACTION_DOWN, BUTTON_MOUSE_LEFT, -5, 7, 1), wheel_event(10, 20, -1)}},
        {0x100000010ull, 1024, 768, 0, {key_event(ACTION_REPEAT, 0xBB)}},
        {16, 0, 0, 1, {button_event(ACTION_UP, BUTTON_MOUSE_RIGHT, 3, 4, 0)}},
    };
}

static u64 sample_hash(u64 frame) { return 0x1234567890ABCDEFull ^ (frame * 0x9E3779B97F4A7C15ull); }

// The sample written with hashes every 2 frames; ended or left as after a crash.
static std::string write_sample(const std::string &path, bool end, u32 interval = 2) {
    RecordingWriter w = {};
    REQUIRE(recording_writer_open(&w, S(path), "abc1234 test", 0xFEEDull, interval) == 0);
    std::vector<SampleFrame> frames = sample_frames();
    for (u64 i = 0; i < frames.size(); i++) {
        const SampleFrame &f = frames[i];
        FrameBody b = {f.step, f.width, f.height, f.early, (u32)f.events.size()};
        recording_writer_frame(&w, &b, f.events.data());
        recording_writer_hash(&w, sample_hash(i));
    }
    if (end) recording_writer_end(&w);
    else recording_writer_release(&w);
    CHECK_FALSE(w.failed);
    return read_raw(path);
}

struct ReadResult {
    u8 open;
    u8 error;
    bool ended, cut_short;
    std::vector<RecordedFrame> frames;
};

static ReadResult read_all(const std::string &bytes) {
    ReadResult r = {};
    RecordingReader reader;
    r.open = recording_open(&reader, bytes.data(), bytes.size());
    if (r.open) return r;
    RecordedFrame f;
    while (recording_next_frame(&reader, &f)) r.frames.push_back(f);
    r.error = reader.error;
    r.ended = reader.ended;
    r.cut_short = reader.cut_short;
    return r;
}

TEST_CASE("a written recording reads back frame for frame: header, steps, sizes, events and hashes") {
    std::string dir = scratch_dir("recording_round_trip");
    std::string bytes = write_sample(dir + "a.rec", true);
    RecordingReader reader;
    REQUIRE(recording_open(&reader, bytes.data(), bytes.size()) == RECORDING_OK);
    CHECK(std::string(reader.header.build) == "abc1234 test");
    CHECK(reader.header.data_checksum == 0xFEEDull);
    CHECK(reader.header.hash_interval == 2);
    CHECK(reader.header.format_version == RECORDING_FORMAT_VERSION);

    ReadResult r = read_all(bytes);
    std::vector<SampleFrame> want = sample_frames();
    REQUIRE(r.frames.size() == want.size());
    CHECK(r.ended);
    CHECK_FALSE(r.cut_short);
    CHECK(r.error == RECORDING_OK);
    for (u64 i = 0; i < want.size(); i++) {
        const RecordedFrame &f = r.frames[i];
        CAPTURE(i);
        CHECK(f.index == i);
        CHECK(f.body.step_ms == want[i].step);
        CHECK(f.body.view_width == want[i].width);
        CHECK(f.body.view_height == want[i].height);
        CHECK(f.body.early_event_count == want[i].early);
        REQUIRE(f.body.event_count == want[i].events.size());
        for (u32 k = 0; k < f.body.event_count; k++) {
            RecordedEvent got = recorded_event(&f, k);
            CHECK(memcmp(&got, &want[i].events[k], sizeof(got)) == 0);
        }
        // Every second frame, and the last one at the end.
        bool hashed = i % 2 == 1 || i + 1 == want.size();
        CHECK(f.has_hash == hashed);
        if (hashed) CHECK(f.state_hash == sample_hash(i));
    }
    CHECK(recorded_event(&r.frames[0], 99).kind == 0);

    // Recording again over a longer file leaves none of its tail.
    std::string shorter = dir + "a.rec";
    RecordingWriter w = {};
    REQUIRE(recording_writer_open(&w, S(shorter), "x", 1, 1) == 0);
    recording_writer_end(&w);
    ReadResult empty = read_all(read_raw(shorter));
    CHECK(empty.ended);
    CHECK(empty.frames.empty());
    CHECK(empty.error == RECORDING_OK);
}

TEST_CASE("a recording cut at any byte gives its whole frames, or truncated before the first") {
    std::string full = write_sample(scratch_dir("recording_cut") + "a.rec", false);
    ReadResult whole = read_all(full);
    REQUIRE(whole.frames.size() == 5);
    CHECK(whole.cut_short);
    for (u64 len = 0; len < full.size(); len++) {
        CAPTURE(len);
        std::string cut = full.substr(0, len);
        ReadResult r = read_all(cut);
        if (len < RECORDING_HEADER_SIZE) {
            CHECK(r.open == RECORDING_TRUNCATED);
            continue;
        }
        REQUIRE(r.open == RECORDING_OK);
        CHECK(r.error == RECORDING_OK);
        CHECK(r.cut_short);
        // Never more frames than were whole, and each read one as written.
        REQUIRE(r.frames.size() <= whole.frames.size());
        for (u64 i = 0; i < r.frames.size(); i++) CHECK(r.frames[i].body.step_ms == whole.frames[i].body.step_ms);
        RecordingReader reader;
        recording_open(&reader, cut.data(), cut.size());
        u64 count = 0, at = 0;
        bool cut_short = false;
        u8 all = recording_check_all(&reader, &count, &cut_short, &at);
        CHECK(all == (r.frames.empty() ? RECORDING_TRUNCATED : RECORDING_OK));
        CHECK(count == r.frames.size());
    }
}

// The sample with one byte changed at offset.
static std::string damaged(const std::string &bytes, u64 offset, u8 flip) {
    std::string d = bytes;
    d[offset] = (char)((u8)d[offset] ^ flip);
    return d;
}

static u8 replay_verdict(const std::string &bytes) {
    RecordingReader reader;
    u8 open = recording_open(&reader, bytes.data(), bytes.size());
    if (open) return open;
    u64 count = 0, at = 0;
    bool cut_short = false;
    return recording_check_all(&reader, &count, &cut_short, &at);
}

TEST_CASE("any damaged byte of a recording makes it corrupt, not a shorter or different game") {
    std::string bytes = write_sample(scratch_dir("recording_damage") + "a.rec", true);
    for (u64 at = 0; at < bytes.size(); at++) {
        for (u8 flip : {(u8)0x01, (u8)0x80, (u8)0xFF}) {
            CAPTURE(at);
            CAPTURE((int)flip);
            u8 verdict = replay_verdict(damaged(bytes, at, flip));
            if (at < sizeof(RECORDING_MAGIC)) CHECK(verdict == RECORDING_NOT_A_RECORDING);
            else if (at >= 8 && at < 12 && verdict == RECORDING_FUTURE_VERSION) continue;
            else CHECK(verdict == RECORDING_CORRUPT);
        }
    }
}

TEST_CASE("bad recordings: not one, cut in the header, a newer version, bytes after the end, a frame without events") {
    std::string bytes = write_sample(scratch_dir("recording_bad") + "a.rec", true);
    CHECK(replay_verdict("") == RECORDING_TRUNCATED);
    CHECK(replay_verdict("FATH") == RECORDING_TRUNCATED);
    CHECK(replay_verdict("RIFF....WAVE") == RECORDING_NOT_A_RECORDING);
    CHECK(replay_verdict(bytes.substr(0, 10)) == RECORDING_TRUNCATED);
    CHECK(replay_verdict(bytes.substr(0, RECORDING_HEADER_SIZE - 1)) == RECORDING_TRUNCATED);
    // The header alone, without a frame or an end: nothing to replay.
    CHECK(replay_verdict(bytes.substr(0, RECORDING_HEADER_SIZE)) == RECORDING_TRUNCATED);

    // A newer version is named as such even when the rest is not understood.
    std::string newer = bytes;
    u32 version = RECORDING_FORMAT_VERSION + 1;
    memcpy(&newer[8], &version, sizeof(version));
    CHECK(replay_verdict(newer) == RECORDING_FUTURE_VERSION);
    CHECK(replay_verdict(newer.substr(0, 12)) == RECORDING_FUTURE_VERSION);

    CHECK(replay_verdict(bytes + "x") == RECORDING_CORRUPT);
    CHECK(replay_verdict(bytes + bytes.substr(RECORDING_HEADER_SIZE)) == RECORDING_CORRUPT);

    // Records whose checks are right but whose contents are not.
    auto with_record = [&](u8 kind, const std::string &body) {
        std::string r = bytes.substr(0, RECORDING_HEADER_SIZE);
        RecordHead head = record_head(kind, (u32)body.size());
        std::string record((const char *)&head, sizeof(head));
        record += body;
        u32 check = recording_check(RECORDING_CHECK_START, record.data(), record.size());
        record.append((const char *)&check, sizeof(check));
        return r + record;
    };
    FrameBody b = {16, 1280, 800, 0, 1};
    std::string no_events((const char *)&b, sizeof(b));
    CHECK(replay_verdict(with_record(RECORD_FRAME, no_events)) == RECORDING_CORRUPT);
    b.event_count = 0;
    b.early_event_count = 1;
    CHECK(replay_verdict(with_record(RECORD_FRAME, std::string((const char *)&b, sizeof(b)))) == RECORDING_CORRUPT);
    b.early_event_count = 0;
    b.view_width = -1;
    CHECK(replay_verdict(with_record(RECORD_FRAME, std::string((const char *)&b, sizeof(b)))) == RECORDING_CORRUPT);
    b.view_width = 1280;
    b.event_count = 1;
    RecordedEvent odd = key_event(ACTION_DOWN, 0x41);
    odd.kind = EVENT_TEXT;
    std::string text_event = std::string((const char *)&b, sizeof(b)) + std::string((const char *)&odd, sizeof(odd));
    CHECK(replay_verdict(with_record(RECORD_FRAME, text_event)) == RECORDING_CORRUPT);
    HashBody h = {0, 1};
    CHECK(replay_verdict(with_record(RECORD_HASH, std::string((const char *)&h, sizeof(h)))) == RECORDING_CORRUPT);
    EndBody e = {3};
    CHECK(replay_verdict(with_record(RECORD_END, std::string((const char *)&e, sizeof(e)))) == RECORDING_CORRUPT);
    e.frame_count = 0;
    CHECK(replay_verdict(with_record(RECORD_END, std::string((const char *)&e, sizeof(e)))) == RECORDING_OK);
    CHECK(replay_verdict(with_record(9, "")) == RECORDING_CORRUPT);
}

TEST_CASE("a recording cannot be started where no file can be written") {
    RecordingWriter w = {};
    std::string dir = scratch_dir("recording_unwritable");
    CHECK(recording_writer_open(&w, S(dir + "missing/a.rec"), "x", 1, 1) == 1);
    CHECK(w.failed);
    // A failed writer writes nothing more and says so.
    FrameBody b = {16, 1, 1, 0, 0};
    recording_writer_frame(&w, &b, nullptr);
    recording_writer_end(&w);
    CHECK(w.failed);
}
