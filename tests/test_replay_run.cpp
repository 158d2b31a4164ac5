// The game program itself replaying recordings with --replay FILE --fast: a
// scripted game recorded here replays without a differing frame, a changed
// one names the frame where it parts, and every bad file ends with code 2.
#include <doctest/doctest.h>

#include <string.h>

#include <filesystem>
#include <string>

#include "game/data_checksum.h"
#include "game/keys.h"
#include "game/recording_writer.h"
#include "os/backend.h"
#include "os/gamepad.h"
#include "game_harness.h"
#include "game_scripts.h"
#include "os/files.h"
#include "os/process.h"
#include "tests/file_test_support.h"

static std::string output;

static void collect(Str piece) { output.append(piece.data, piece.len); }

#if defined(_WIN32)
static const char GAME[] = "fathomer.exe";
#else
static const char GAME[] = "fathomer";
#endif

static std::string exe_dir(void) {
    Str dir = os_get_exe_dir();
    return std::string(dir.data, dir.len);
}

// The game built beside the tests (or a copy of it in game_dir, with the data
// there), with these arguments.
static u32 run_game_with(const std::string &arguments, const std::string &game_dir = exe_dir()) {
    std::string command = "\"" + game_dir + GAME + "\" " + arguments;
    output.clear();
    return os_run_process(S(command), collect, false);
}

static u32 replay(const std::string &file, const char *extra = " --fast", const std::string &game_dir = exe_dir()) {
    return run_game_with("--replay \"" + file + "\"" + extra, game_dir);
}

static bool said(const char *text) { return output.find(text) != std::string::npos; }

// A scripted game recorded through the harness, as the game writes it.
static std::string record_script(const std::string &path, GameScript script) {
    RecordingWriter writer = {};
    REQUIRE(recording_writer_open(&writer, S(path), "scripted", check_game_data(os_get_exe_dir()).checksum, 6) == 0);
    harness_recorder = &writer;
    run_game_script(script);
    harness_recorder = nullptr;
    recording_writer_end(&writer);
    REQUIRE_FALSE(writer.failed);
    return read_raw(path);
}

// The offset of frame `index`'s step in a recording written with events only
// in frames that the caller knows; found by walking the records.
static u64 step_offset(const std::string &bytes, u64 index) {
    u64 at = RECORDING_HEADER_SIZE, frame = 0;
    while (at + sizeof(RecordHead) <= bytes.size()) {
        RecordHead head;
        memcpy(&head, bytes.data() + at, sizeof(head));
        if (head.kind == RECORD_FRAME && frame++ == index) return at + sizeof(RecordHead);
        at += sizeof(RecordHead) + head.body_size + RECORD_CHECK_SIZE;
    }
    return 0;
}

// Rewrites a record's check after its body was changed on purpose.
static void reseal(std::string *bytes, u64 body_at) {
    RecordHead head;
    memcpy(&head, bytes->data() + body_at - sizeof(head), sizeof(head));
    u64 start = body_at - sizeof(head);
    u32 check = recording_check(RECORDING_CHECK_START, bytes->data() + start, sizeof(head) + head.body_size);
    memcpy(&(*bytes)[body_at + head.body_size], &check, sizeof(check));
}

TEST_CASE("a recorded scripted game replays with no differing frame, and a changed step is found") {
    std::string dir = scratch_dir("replay_run");
    std::string path = dir + "collisions.rec";
    std::string bytes = record_script(path, SCRIPT_COLLISIONS);

    CHECK(replay(path) == 0);
    INFO(output);
    CHECK(said("Replaying "));
    CHECK(said("recorded by build scripted"));
    CHECK(said("No frame differs"));
    CHECK_FALSE(said("cut short"));

    // Frame 700 one millisecond longer: the game parts there, and the hash
    // after frame 701 (every sixth) is the first that differs.
    std::string changed = bytes;
    u64 at = step_offset(changed, 700);
    REQUIRE(at != 0);
    u64 step;
    memcpy(&step, &changed[at], sizeof(step));
    step++;
    memcpy(&changed[at], &step, sizeof(step));
    reseal(&changed, at);
    write_raw(dir + "changed.rec", changed);
    CHECK(replay(dir + "changed.rec") == 3);
    CHECK(said("First differing frame: 701 "));
}

TEST_CASE("the game refuses bad recordings with code 2 and says why, and a cut one replays its whole frames") {
    std::string dir = scratch_dir("replay_bad");
    std::string bytes = record_script(dir + "good.rec", SCRIPT_TITLE_INTRO_SKIP);

    CHECK(replay(dir + "missing.rec") == 2);
    CHECK(said("the file cannot be read"));

    write_raw(dir + "header.rec", bytes.substr(0, 40));
    CHECK(replay(dir + "header.rec") == 2);
    CHECK(said("cut short before its first whole frame"));

    write_raw(dir + "other.rec", "RIFF\x24\x00\x00\x00WAVEfmt ");
    CHECK(replay(dir + "other.rec") == 2);
    CHECK(said("not a Fathomer recording"));

    std::string newer = bytes;
    newer[8] = RECORDING_FORMAT_VERSION + 1;
    write_raw(dir + "newer.rec", newer);
    CHECK(replay(dir + "newer.rec") == 2);
    CHECK(said("newer version of Fathomer (recording format 3, this one reads 2)"));

    std::string corrupt = bytes;
    corrupt[bytes.size() / 2] ^= 0x10;
    write_raw(dir + "corrupt.rec", corrupt);
    CHECK(replay(dir + "corrupt.rec") == 2);
    CHECK(said("it is corrupt (at byte "));

    // The same game said to come from other data.
    std::string other = bytes;
    other[48] ^= 1;
    u32 check = recording_check(RECORDING_CHECK_START, other.data(), offsetof(RecordingHeader, header_check));
    memcpy(&other[60], &check, sizeof(check));
    write_raw(dir + "data.rec", other);
    CHECK(replay(dir + "data.rec") == 2);
    CHECK(said("recorded with different game data"));

    // Killed while writing frame 40: frames 0 to 39 replay.
    std::string cut = bytes.substr(0, step_offset(bytes, 40) + 3);
    write_raw(dir + "cut.rec", cut);
    CHECK(replay(dir + "cut.rec") == 0);
    INFO(output);
    CHECK(said("cut short"));
    CHECK(said("Replayed 40 frames ("));
    CHECK(said("No frame differs"));

    CHECK(replay(dir + "good.rec", " --fast --fast") == 2);
    CHECK(said("--fast is given twice"));
    CHECK(said("Usage: "));

    // Nowhere to record to: refused before anything opens.  (No blanks in
    // the name: this system's command line is the arguments joined by blanks.)
    CHECK(run_game_with("--record \"" + dir + "no_such_folder/a.rec\"") == 2);
    CHECK(said("Cannot record to "));
    CHECK_FALSE(said("START"));
}

static std::string final_hash(void) {
    size_t at = output.find("final hash ");
    return at == std::string::npos ? std::string() : output.substr(at, 27);
}

TEST_CASE("a recording replays against the web build's data to the same final hash, and not once it is changed") {
    std::string dir = scratch_dir("replay_web_data");
    record_script(dir + "stages.rec", SCRIPT_STAGES_UP_AND_DOWN);
    REQUIRE(replay(dir + "stages.rec") == 0);
    std::string desktop_hash = final_hash();
    REQUIRE(!desktop_hash.empty());

    // The game copied into the web data, which is then beside it.
    std::string game_dir = dir + "web/";
    std::filesystem::copy(fs_path(exe_dir() + "../web_data"), fs_path(game_dir),
                          std::filesystem::copy_options::recursive);
    REQUIRE(std::filesystem::exists(fs_path(game_dir + "audio/music0.ogg")));
    REQUIRE_FALSE(std::filesystem::exists(fs_path(game_dir + "audio/music0.wav")));
    std::filesystem::copy_file(fs_path(exe_dir() + GAME), fs_path(game_dir + GAME));
    CHECK(replay(dir + "stages.rec", " --fast", game_dir) == 0);
    INFO(output);
    CHECK(said("No frame differs"));
    CHECK(final_hash() == desktop_hash);

    std::string ogg = read_raw(game_dir + "audio/music3.ogg");
    ogg[ogg.size() / 2] ^= 1;
    write_raw(game_dir + "audio/music3.ogg", ogg);
    CHECK(replay(dir + "stages.rec", " --fast", game_dir) == 2);
    CHECK(said("recorded with different game data"));
    CHECK(said("carries a manifest (data_manifest.txt) that does not describe its files"));
}

static void to_next_frame(WindowEvent *event) { harness_event(*event); }

// A game played on pad 2 through the pads' rules: south through the title and
// the opening, the stick steering while waiting, the shoulders while falling.
static void pad_script(void) {
    harness_reset();
    os_set_event_callback(nullptr);
    for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++) gamepad_detached(pad);
    os_set_event_callback(to_next_frame);
    GamepadRaw raw = {};
    auto frames = [&](u16 buttons, i16 x, int count) {
        raw.buttons = buttons;
        raw.left_x = x;
        raw.right_trigger = (u16)(count * 300);  // axis events the game does not read
        for (int i = 0; i < count; i++) {
            gamepad_update(2, &raw);
            harness_frames_60(1);
        }
    };
    u16 south = 1u << GAMEPAD_SOUTH;
    frames(0, 0, 5);
    frames(south, 0, 2);
    frames(0, 0, 30);
    frames(south, 0, 2);
    frames(0, -32768, 40);
    frames(0, 20000, 40);
    frames(south, 0, 1);
    for (int i = 0; i < 4; i++) {
        frames(1u << GAMEPAD_RIGHT_SHOULDER, 0, 3);
        frames(1u << GAMEPAD_LEFT_SHOULDER, -20000, 20);
    }
    // Paused by start while the stick is pushed, then muted, a step quieter
    // and fullscreen asked for: the keys the game took on beside its own.
    frames(1u << GAMEPAD_START, 0, 2);
    frames(0, 20000, 30);
    frames(1u << GAMEPAD_START, 0, 2);
    for (u16 key : {KEY_M, KEY_9, KEY_F11}) {
        harness_key_down(key);
        harness_key_up(key);
        frames(0, -20000, 10);
    }
    frames(0, 0, 60);
    os_set_event_callback(nullptr);
}

static std::string record_pad_script(const std::string &path) {
    RecordingWriter writer = {};
    REQUIRE(recording_writer_open(&writer, S(path), "scripted", game_data_checksum(os_get_exe_dir()), 6) == 0);
    harness_recorder = &writer;
    pad_script();
    harness_recorder = nullptr;
    recording_writer_end(&writer);
    REQUIRE_FALSE(writer.failed);
    return read_raw(path);
}

// The header said to be of another format, its check made right again.
static std::string as_format(std::string bytes, u32 version) {
    memcpy(&bytes[8], &version, sizeof(version));
    u32 check = recording_check(RECORDING_CHECK_START, bytes.data(), offsetof(RecordingHeader, header_check));
    memcpy(&bytes[60], &check, sizeof(check));
    return bytes;
}

TEST_CASE("a game played on a pad, paused, muted and made fullscreen replays frame for frame, and recordings of the first format still replay") {
    std::string dir = scratch_dir("replay_pad");
    std::string pad = record_pad_script(dir + "pad.rec");
    CHECK(pad.find((char)EVENT_GAMEPAD_AXIS) != std::string::npos);
    CHECK(replay(dir + "pad.rec") == 0);
    INFO(output);
    CHECK(said("No frame differs"));
    CHECK_FALSE(said("No frame differs (0 hashes"));
    // The same end on every system, as the goldens.
    CHECK(said("final hash 62A0AFCC5B7C6A6D"));

    // Format 1 had keys only: a keyboard game of it replays, pad events in it are damage.
    write_raw(dir + "keys_v1.rec", as_format(record_script(dir + "keys.rec", SCRIPT_FALL_ALL_KEYS), 1));
    CHECK(replay(dir + "keys_v1.rec") == 0);
    CHECK(said("No frame differs"));
    write_raw(dir + "pad_v1.rec", as_format(pad, 1));
    CHECK(replay(dir + "pad_v1.rec") == 2);
    CHECK(said("it is corrupt (at byte "));
}
